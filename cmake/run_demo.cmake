# cmake -DPROGRAM=... -DEXAMPLES=... -DRUN_DIR=... -P run_demo.cmake
#
# Runs velkoran on a copy of the example data. `cmake --workflow` gives its
# steps no standard input, so the program is given the terminal to read the
# RETURN from; with no terminal (a script, CI) the RETURN is given for it.
file(REMOVE_RECURSE "${RUN_DIR}")
file(COPY "${EXAMPLES}/" DESTINATION "${RUN_DIR}")
execute_process(COMMAND sh -c "exec </dev/tty" RESULT_VARIABLE no_terminal OUTPUT_QUIET ERROR_QUIET)
if(no_terminal)
  file(WRITE "${RUN_DIR}/.return" "\n")
  set(console "${RUN_DIR}/.return")
else()
  set(console /dev/tty)
endif()
execute_process(COMMAND "${PROGRAM}" WORKING_DIRECTORY "${RUN_DIR}" INPUT_FILE "${console}"
                RESULT_VARIABLE status)
file(REMOVE "${RUN_DIR}/.return")
message("\nvelkoran ended with exit status ${status}. In ${RUN_DIR}:\n"
        "  campaign_me.csv and campaign_cin.csv  the two tables\n"
        "  prtotocol.dat                         one protocol line per measurement")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the demo run failed")
endif()
