# Compresses INPUT into OUTPUT as Debian asks: the best compression, and without the file's name
# and time (-n), so that the result depends on the contents alone.
# Inputs: GZIP, INPUT, OUTPUT.
execute_process(COMMAND "${GZIP}" -9n -c "${INPUT}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "${GZIP} could not compress ${INPUT}")
endif()
