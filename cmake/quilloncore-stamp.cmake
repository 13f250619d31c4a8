# Writes a tool's build stamp: the C++ definitions of core::BuildDate, BuildTimestamp, ArchTag
# and ToolchainText that QuillonCore's banner shows. Run as a script (cmake -P) at build time, so
# that the date is the build's; SOURCE_DATE_EPOCH, when set, fixes it (UTC), for reproducible
# builds.
#   cmake -DOUTPUT=stamp.cpp [-DINFO=build_info.txt] -DCXX=<compiler> -P quilloncore-stamp.cmake
#   cmake -DOUTPUT=stamp.cpp -DPROCESSOR=x86_64 -DPOINTER_SIZE=8 -DCOMPILER_ID=GNU
#         -DCOMPILER_VERSION=12.2.0 -P quilloncore-stamp.cmake
# With CXX the machine and the compiler are asked of that compiler, as a build without CMake
# needs; quilloncore_stamp() passes what CMake knows instead. INFO also gets the four values as
# KEY=VALUE lines (BUILD_DATE, BUILD_TIMESTAMP, ARCH_TAG, TOOLCHAIN_TEXT), for tests. Given
# neither, or a compiler that cannot answer, it fails and writes nothing.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/QuillonCoreMachine.cmake)

if(NOT OUTPUT)
  message(FATAL_ERROR "quilloncore-stamp: give the file to write as -DOUTPUT=<file>")
endif()

if(CXX)
  # The compiler's own predefined macros say what it builds for: pointer size, compiler and
  # version, as CMake reads them; -dumpmachine names the processor first.
  execute_process(COMMAND ${CXX} -dumpmachine OUTPUT_VARIABLE machine
                  OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "quilloncore-stamp: -DCXX=${CXX} -dumpmachine failed (${failed}): give "
                        "a compiler that can be run")
  endif()
  string(REGEX REPLACE "-.*" "" PROCESSOR "${machine}")
  execute_process(COMMAND ${CXX} -x c++ -dM -E - INPUT_FILE /dev/null OUTPUT_VARIABLE macros
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "quilloncore-stamp: ${CXX} cannot list its predefined macros")
  endif()
  string(REGEX MATCH "#define __SIZEOF_POINTER__ ([0-9]+)" match "${macros}")
  set(POINTER_SIZE ${CMAKE_MATCH_1})
  if(macros MATCHES "#define __clang__ ")
    set(COMPILER_ID Clang)
    set(prefix __clang)
    set(parts major minor patchlevel)
  else()
    set(COMPILER_ID GNU)
    set(prefix __GNUC)
    set(parts "" _MINOR _PATCHLEVEL)
  endif()
  set(COMPILER_VERSION "")
  foreach(part IN LISTS parts)
    if(part MATCHES "^[a-z]")
      set(name ${prefix}_${part}__)
    else()
      set(name ${prefix}${part}__)
    endif()
    string(REGEX MATCH "#define ${name} ([0-9]+)" match "${macros}")
    list(APPEND COMPILER_VERSION ${CMAKE_MATCH_1})
  endforeach()
  list(JOIN COMPILER_VERSION . COMPILER_VERSION)
  # A program that runs but is no GCC or clang answers nothing, or nothing of this.
  if(NOT PROCESSOR OR NOT POINTER_SIZE
     OR NOT COMPILER_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "quilloncore-stamp: -DCXX=${CXX} did not say which machine it builds "
                        "for and which compiler it is; give a GCC or clang compiler")
  endif()
endif()
# Without a compiler to ask, the stamp would name no machine and the toolchain " with  ": a
# banner that says nothing true, which no build should ship.
set(missing "")
foreach(name IN ITEMS PROCESSOR POINTER_SIZE COMPILER_ID COMPILER_VERSION)
  if("${${name}}" STREQUAL "")
    list(APPEND missing -D${name})
  endif()
endforeach()
if(missing)
  list(JOIN missing ", " missing)
  message(FATAL_ERROR "quilloncore-stamp: no compiler to ask what the tool is built for: give "
                      "-DCXX=<compiler>, or all four of -DPROCESSOR, -DPOINTER_SIZE, "
                      "-DCOMPILER_ID and -DCOMPILER_VERSION (missing: ${missing})")
endif()

quilloncore_classify_machine("${PROCESSOR}" "${POINTER_SIZE}" arch_tag debian_architecture)
set(compiler_name "${COMPILER_ID}")
if(compiler_name STREQUAL "GNU")
  set(compiler_name "GCC")
endif()
set(toolchain_text " with ${compiler_name} ${COMPILER_VERSION}")
string(TIMESTAMP build_date "%Y/%m/%d" UTC)
string(TIMESTAMP build_timestamp "%Y/%m/%d %H:%M:%S" UTC)

file(WRITE "${OUTPUT}" "// The build stamp of one tool, written when it was built; do not edit.
#include \"core/banner.h\"

namespace core {
const std::string_view BuildDate = \"${build_date}\";
const std::string_view BuildTimestamp = \"${build_timestamp}\";
const std::string_view ArchTag = \"${arch_tag}\";
const std::string_view ToolchainText = \"${toolchain_text}\";
}  // namespace core
")
if(INFO)
  file(WRITE "${INFO}" "BUILD_DATE=${build_date}
BUILD_TIMESTAMP=${build_timestamp}
ARCH_TAG=${arch_tag}
TOOLCHAIN_TEXT=${toolchain_text}
")
endif()
