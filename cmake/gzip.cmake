# Compresses INPUT into OUTPUT as Debian asks: the best compression, and without the file's name
# and time (-n), so that the result depends on the contents alone. Run when installing.
# Inputs: INPUT, OUTPUT.
find_program(GZIP_PROGRAM gzip)
if(NOT GZIP_PROGRAM)
  message(FATAL_ERROR "gzip is needed to install the manual page and the changelog compressed")
endif()
execute_process(COMMAND "${GZIP_PROGRAM}" -9n -c "${INPUT}" OUTPUT_FILE "${OUTPUT}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "${GZIP_PROGRAM} could not compress ${INPUT}")
endif()
