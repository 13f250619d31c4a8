# SPDX-License-Identifier: MIT
# Passes when the compiler refuses one line of a source for one reason, whatever its wording:
#   cmake -DBUILD_DIR=dir -DCONTROL=target -DTARGET=target -DSOURCE=file.cpp -DFROM=type
#         -DTO=type -P expect_refusal.cmake
# CONTROL, the source as it stands, must build; TARGET, the same source with the line after its
# `#ifdef SWAPPED` in, must not. Every error must stand on that line, and an error or a note must
# say that the type FROM, quoted as the compiler quotes a type, cannot become TO: so a build that
# fails anywhere else, or on that line for another cause, fails the test too. A note that merely
# shows a candidate's signature holds TO, but never FROM quoted on its own.
foreach(variable IN ITEMS BUILD_DIR CONTROL TARGET SOURCE FROM TO)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "expect_refusal.cmake needs -D${variable}=...")
  endif()
endforeach()

# The line that only the refused build compiles: the one after `#ifdef SWAPPED`.
file(STRINGS ${SOURCE} lines)
set(number 0)
set(refused_line "")
set(after_ifdef FALSE)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(after_ifdef)
    list(APPEND refused_line ${number})
    set(after_ifdef FALSE)
  endif()
  if(line MATCHES "^#ifdef SWAPPED$")
    set(after_ifdef TRUE)
  endif()
endforeach()
list(LENGTH refused_line count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${SOURCE} needs exactly one `#ifdef SWAPPED` and a line after it")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${CONTROL}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SOURCE} does not compile as it stands, so its refusal proves nothing:\n"
                      "${output}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(status EQUAL 0)
  message(FATAL_ERROR "${TARGET} compiled: the compiler accepted line ${refused_line} of "
                      "${SOURCE}")
endif()
# GCC and clang write FILE:LINE:COLUMN: error:, MSVC FILE(LINE[,COLUMN]): error.
get_filename_component(name ${SOURCE} NAME)
string(REPLACE "." "\\." name_pattern "${name}")
# A semicolon in a diagnostic would split CMake's list of them.
string(REPLACE ";" "," scanned "${output}")
string(REGEX MATCHALL "[^\n]*[:)] (fatal )?error[: ][^\n]*" errors "${scanned}")
set(on_line "")
foreach(error IN LISTS errors)
  if(error MATCHES "${name_pattern}(:([0-9]+):|\\(([0-9]+)[,)])")
    set(line "${CMAKE_MATCH_2}${CMAKE_MATCH_3}")
  else()
    set(line "")
  endif()
  if(NOT line STREQUAL refused_line)
    message(FATAL_ERROR "${TARGET} failed, but not on line ${refused_line} of ${name}:\n"
                        "${error}\n\n${output}")
  endif()
  list(APPEND on_line "${error}")
endforeach()
if(NOT on_line)
  message(FATAL_ERROR "${TARGET} failed without a compiler error:\n${output}")
endif()
# GCC quotes with ‘ ’ under a UTF-8 locale, with ' ' otherwise; clang with ' '.
set(quote "(['\"]|‘|’)")
# GCC names FROM first; clang may name TO first ("cannot initialize ... of type TO with ... FROM").
if(NOT output MATCHES "(error|note)[: ][^\n]*${quote}${FROM}${quote}[^\n]*${TO}" AND
   NOT output MATCHES "(error|note)[: ][^\n]*${TO}[^\n]*${quote}${FROM}${quote}")
  message(FATAL_ERROR "${TARGET} was refused on line ${refused_line}, but not for ${FROM} where "
                      "${TO} belongs:\n${output}")
endif()
message(STATUS "refused on line ${refused_line} of ${name}: ${FROM} where ${TO} belongs")
