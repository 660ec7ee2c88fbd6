find_package(GTest REQUIRED)
include(GoogleTest)

# Unit tests live beside the code they test.
file(GLOB_RECURSE VELKORAN_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*_test.cpp)
add_executable(velkoran_tests ${VELKORAN_UNIT_TESTS})
target_link_libraries(velkoran_tests PRIVATE velkoran_core GTest::gtest_main)
target_compile_definitions(velkoran_tests PRIVATE VELKORAN_PROGRAM="$<TARGET_FILE:velkoran>")
add_dependencies(velkoran_tests velkoran)
gtest_discover_tests(velkoran_tests DISCOVERY_TIMEOUT 60)

# A layout that does not fit its items must not build, and must say why.
# The first case is a correct one, so a broken harness cannot pass for a
# rejection.
set(layout_cases
  accepted ""
  syntax layout_syntax_error
  kind layout_field_does_not_fit_its_item
  count layout_field_count_differs_from_item_count
  literal_in_input layout_is_not_an_input_layout
  too_long layout_record_is_too_long)
while(layout_cases)
  list(POP_FRONT layout_cases case diagnosis)
  add_test(NAME layout_compile.${case}
    COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -DLAYOUT_CASE_${case}
            -I${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/src/records/layout_compile_check.cpp)
  if(diagnosis)
    set_tests_properties(layout_compile.${case} PROPERTIES PASS_REGULAR_EXPRESSION ${diagnosis})
  endif()
endwhile()

# Whole runs: each folder under tests/cases is one case.
file(GLOB VELKORAN_CASES LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/tests/cases/*)
foreach(case_dir IN LISTS VELKORAN_CASES)
  if(IS_DIRECTORY ${case_dir})
    get_filename_component(case ${case_dir} NAME)
    add_test(NAME case.${case}
      COMMAND bash ${PROJECT_SOURCE_DIR}/tests/run_case.sh $<TARGET_FILE:velkoran> ${case_dir})
    set_tests_properties(case.${case} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endforeach()

# Faults injected into whole runs of the example, each checked against the
# run without them; corrupting every field takes longest, so it is three tests.
foreach(group truncated corrupted.letter corrupted.tab corrupted.point full_disk read_only same_names)
  string(REPLACE "." ";" arguments ${group})
  add_test(NAME fault.${group}
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/fault_injection.sh $<TARGET_FILE:velkoran>
            ${PROJECT_SOURCE_DIR}/examples ${arguments})
  set_tests_properties(fault.${group} PROPERTIES SKIP_RETURN_CODE 77)
endforeach()

# The code follows .clang-format; a change that does not fails here.
find_program(CLANG_FORMAT clang-format)
if(CLANG_FORMAT)
  file(GLOB_RECURSE VELKORAN_SOURCES CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
       ${PROJECT_SOURCE_DIR}/fuzz/*.cpp ${PROJECT_SOURCE_DIR}/fuzz/*.h)
  add_test(NAME format COMMAND ${CLANG_FORMAT} --dry-run -Werror ${VELKORAN_SOURCES})
endif()

include(${CMAKE_CURRENT_LIST_DIR}/install_tests.cmake)
