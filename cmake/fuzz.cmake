# libFuzzer targets, built by the fuzz preset with clang. `ctest --preset fuzz`
# makes seed corpora from the whole-run cases and runs each target briefly;
# the README says how to run them for long.
set(VELKORAN_FUZZ_SECONDS 30 CACHE STRING "Seconds that ctest runs each fuzz target")

function(velkoran_fuzz_target name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE velkoran_core)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

velkoran_fuzz_target(records_fuzzer fuzz/records_fuzzer.cpp)
velkoran_fuzz_target(fields_fuzzer fuzz/fields_fuzzer.cpp)
# Its own platform file comes first, so the linker never takes the
# operating system's one from the library: the product code is unchanged.
velkoran_fuzz_target(program_fuzzer fuzz/program_fuzzer.cpp fuzz/platform_in_memory.cpp)

set(seeds ${PROJECT_BINARY_DIR}/fuzz-seeds)
add_test(NAME fuzz.seeds
  COMMAND bash ${PROJECT_SOURCE_DIR}/fuzz/make_seeds.sh ${PROJECT_SOURCE_DIR}/tests/cases ${seeds})
set_tests_properties(fuzz.seeds PROPERTIES FIXTURES_SETUP fuzz_seeds)
# Longer inputs only slow the records target down: a few records show it all.
set(records_options -max_len=1024)
foreach(target records fields program)
  set(corpus ${PROJECT_BINARY_DIR}/fuzz-corpus/${target})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME fuzz.${target}
    COMMAND ${target}_fuzzer ${${target}_options} -max_total_time=${VELKORAN_FUZZ_SECONDS}
            -print_final_stats=1 ${corpus} ${seeds}/${target})
  set_tests_properties(fuzz.${target} PROPERTIES FIXTURES_REQUIRED fuzz_seeds)
endforeach()
