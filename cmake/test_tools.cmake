# Decides whether the tests are built: OFF, the default, builds the program alone, whatever is
# installed; ON insists on the tests' tools; AUTO builds the tests when their tools are here, so
# that a machine with only a compiler and CMake still builds, installs and packages the program.
# Sets lettrix_tests, and googletest_source when GoogleTest is to be compiled from its sources.
set(lettrix_tests OFF)
if(NOT LETTRIX_TESTS)  # OFF, or any other false value
  if(NOT LETTRIX_FUZZ)  # whose build runs its corpora as its tests
    message(STATUS "Tests not built: -DLETTRIX_TESTS=ON builds them")
  endif()
  return()
endif()

# Debian's libgtest-dev gives a package; its googletest package alone gives only the sources,
# which suit any target, so a cross build looks for them on the host too.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest's sources, compiled when no GoogleTest package is found")
find_package(GTest CONFIG QUIET)
set(have_gtest ${GTest_FOUND})
if(NOT have_gtest)
  unset(googletest_source CACHE)
  find_path(googletest_source CMakeLists.txt PATHS ${GOOGLETEST_SOURCE_DIR} NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH)
  if(googletest_source)
    set(have_gtest ON)
  endif()
endif()
# The end-to-end suite is written in Python.
find_package(Python3 3.9 QUIET COMPONENTS Interpreter)

set(missing "")
if(NOT have_gtest)
  list(APPEND missing "GoogleTest (apt-get install googletest)")
endif()
if(NOT Python3_FOUND)
  list(APPEND missing "Python 3.9 or later (apt-get install python3)")
endif()
list(JOIN missing " and " missing)
if(missing STREQUAL "")
  set(lettrix_tests ON)
elseif(LETTRIX_TESTS STREQUAL "AUTO")
  message(STATUS "Tests not built: they need ${missing}")
else()
  message(FATAL_ERROR "LETTRIX_TESTS=ON needs ${missing}; or configure with -DLETTRIX_TESTS=OFF")
endif()
