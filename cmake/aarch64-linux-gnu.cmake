# Toolchain for the Linux ARM64 build made on Debian: the cross compiler of g++-aarch64-linux-gnu,
# the executables run under QEMU's user-mode emulator (qemu-aarch64, from qemu-user).
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(cross_triplet aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

# ctest runs every program under the emulator. The release Lettrix is static; the unit tests are
# not, and -L gives them the target's loader and libraries from the cross compiler's tree.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
