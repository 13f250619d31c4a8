# The stamp script with no compiler to ask, or one that cannot be run, fails, says how to give it
# one and writes no stamp: an empty machine tag and the toolchain " with  " would otherwise reach
# the tool's banner.
#   cmake -DSCRIPT=<quilloncore-stamp.cmake> -DWORK=<folder> -P without_compiler.cmake
set(output ${WORK}/stamp_without_compiler.cpp)
function(expect_refusal)
  file(REMOVE ${output})
  execute_process(COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} ${ARGN} -P ${SCRIPT}
                  RESULT_VARIABLE status ERROR_VARIABLE error)
  string(REGEX REPLACE "[ \n]+" " " error "${error}")  # CMake wraps its messages
  if(status EQUAL 0 OR NOT error MATCHES "-DCXX=" OR EXISTS ${output})
    message(FATAL_ERROR "The stamp script given '${ARGN}' ended with ${status}: ${error}")
  endif()
endfunction()
expect_refusal()
expect_refusal(-DCXX=)
expect_refusal(-DCXX=${WORK}/no-such-compiler)
expect_refusal(-DPROCESSOR=x86_64 -DCOMPILER_ID=GNU)
