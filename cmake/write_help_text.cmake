# Runs the built program for its extended help and keeps standard output as a text file.
# Inputs: PROGRAM, EMULATOR (a list, empty for a native build), OUTPUT.
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --h2
                OUTPUT_FILE ${OUTPUT}.tmp
                ERROR_QUIET
                RESULT_VARIABLE status)
# Help always ends the run with 255; anything else means the program did not show it.
if(NOT status EQUAL 255)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "${PROGRAM} --h2 ended with ${status} instead of 255")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
