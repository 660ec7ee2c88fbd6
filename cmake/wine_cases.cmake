# The whole-run cases again, against the Windows program under Wine: each
# folder under tests/cases is one case, as in the native build.
if(NOT WIN32)
  message(FATAL_ERROR "VELKORAN_WINE_CASES needs the Windows build (the windows preset)")
endif()
find_program(VELKORAN_WINE wine)
if(NOT VELKORAN_WINE)
  message(WARNING "wine was not found: the Wine cases are left out")
  return()
endif()

# A prefix of our own, so no user's Wine setup changes what a case sees;
# no prompt to install .NET or a browser engine, and no diagnostics on
# standard error, where the runner compares the failure report.
set(wine_environment
  WINEPREFIX=${PROJECT_BINARY_DIR}/wine-prefix
  WINEDEBUG=-all
  WINEDLLOVERRIDES=mscoree,mshtml=
  CASE_SYSTEM=windows)

find_program(VELKORAN_WINESERVER wineserver REQUIRED)

# Creating the prefix takes a while and reports on standard error: done
# once, before the first case, not inside one. The server is then kept
# between cases: started afresh for each, it would cost a second a case.
# It must not hold this test's output open, or CTest waits for it.
add_test(NAME wine.start
  COMMAND bash -c [["$1" wineboot --init && "$2" --wait && "$2" --persistent=60 >/dev/null 2>&1]] wine.start
          ${VELKORAN_WINE} ${VELKORAN_WINESERVER})
add_test(NAME wine.stop COMMAND bash -c [["$1" --kill || true]] wine.stop ${VELKORAN_WINESERVER})
set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine)
set_tests_properties(wine.start wine.stop PROPERTIES ENVIRONMENT "${wine_environment}" LABELS wine)

file(GLOB VELKORAN_CASES LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tests/cases/*)
foreach(case_dir IN LISTS VELKORAN_CASES)
  if(IS_DIRECTORY ${case_dir})
    get_filename_component(case ${case_dir} NAME)
    add_test(NAME wine.case.${case}
      COMMAND bash ${PROJECT_SOURCE_DIR}/tests/run_case.sh $<TARGET_FILE:velkoran> ${case_dir} ${VELKORAN_WINE})
    set_tests_properties(wine.case.${case} PROPERTIES
      ENVIRONMENT "${wine_environment}" FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77 TIMEOUT 60
      LABELS wine)
  endif()
endforeach()
