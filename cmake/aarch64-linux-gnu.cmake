# Toolchain for the Linux ARM64 build made on Debian: the cross compiler of g++-aarch64-linux-gnu,
# the executables run under QEMU's user-mode emulator (qemu-aarch64, from qemu-user).
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)  # GoogleTest enables C too
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Libraries and packages come from the target's tree only; programs (Python) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs every program under the emulator. The release Lettrix is static; the unit tests are
# not, and -L gives them the target's loader and libraries from the cross compiler's tree.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
