# quilloncore_stamp(<target> [INFO <file>] [DEPENDS <file>...])
# Gives a tool built on QuillonCore its build stamp: the date, the machine's tag and the compiler
# that its banner and build line show, written by quilloncore-stamp.cmake when the tool is built
# and compiled into <target>. A tool without one does not link ("undefined reference to
# core::BuildDate"): it would otherwise show a date that is not its own.
# The stamp is written again when one of the DEPENDS files changes; without DEPENDS, when one of
# the target's own sources does, as they stand when the function is called. INFO also writes the
# values as KEY=VALUE lines, for tests.
function(quilloncore_stamp target)
  cmake_parse_arguments(PARSE_ARGV 1 stamp "" "INFO" "DEPENDS")
  if(NOT stamp_DEPENDS)
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      if(NOT source MATCHES "\\$<")  # generator expressions name no file to depend on yet
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
        list(APPEND stamp_DEPENDS ${source})
      endif()
    endforeach()
  endif()
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/quilloncore-stamp.cmake)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_build_stamp.cpp)
  set(info_option "")
  if(stamp_INFO)
    set(info_option -DINFO=${stamp_INFO})
  endif()
  add_custom_command(OUTPUT ${output} ${stamp_INFO}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} ${info_option}
            -DPROCESSOR=${CMAKE_SYSTEM_PROCESSOR} -DPOINTER_SIZE=${CMAKE_SIZEOF_VOID_P}
            -DCOMPILER_ID=${CMAKE_CXX_COMPILER_ID} -DCOMPILER_VERSION=${CMAKE_CXX_COMPILER_VERSION}
            -P ${script}
    DEPENDS ${stamp_DEPENDS} ${script} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/QuillonCoreMachine.cmake
    COMMENT "Stamping the build of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
