# cmake -DPROGRAM=... -DEXAMPLES=... -DRUN_DIR=... -P run_demo.cmake
file(REMOVE_RECURSE "${RUN_DIR}")
file(COPY "${EXAMPLES}/" DESTINATION "${RUN_DIR}")
execute_process(COMMAND "${PROGRAM}" WORKING_DIRECTORY "${RUN_DIR}" RESULT_VARIABLE status)
message("\nvelkoran ended with exit status ${status}; its files are in ${RUN_DIR}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the demo run failed")
endif()
