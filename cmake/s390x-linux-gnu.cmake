# Toolchain for the Linux build for s390x (64-bit, big-endian) made on Debian: the cross compiler
# of g++-s390x-linux-gnu, the executables run under QEMU's user-mode emulator (qemu-s390x, from
# qemu-user).
#   cmake -S . -B build-s390x -DCMAKE_TOOLCHAIN_FILE=cmake/s390x-linux-gnu.cmake
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(cross_triplet s390x-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

# glibc reads compiled locales only in the byte order of the machine that compiled them: the
# host's locale archive is unreadable to a big-endian program, which then runs in the C locale.
# The build compiles the locales that the tests need into this folder, in the target's byte
# order (tests/CMakeLists.txt).
set(LETTRIX_TARGET_LOCALES ${CMAKE_BINARY_DIR}/locales)

# ctest runs every program under the emulator. The release Lettrix is static; the unit tests are
# not, and -L gives them the target's loader and libraries from the cross compiler's tree. LOCPATH
# sends glibc to the target's locales instead of the archive; it is set for the emulated program
# alone, so that the host's programs, the test runners among them, keep reading their own.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x -L /usr/s390x-linux-gnu
    -E LOCPATH=${LETTRIX_TARGET_LOCALES})
