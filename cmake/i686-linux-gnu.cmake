# Toolchain for the Linux build for 32-bit x86 made on Debian: the cross compiler of
# g++-i686-linux-gnu, the executables run under QEMU's user-mode emulator (qemu-i386, from
# qemu-user).
#   cmake -S . -B build-i386 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux-gnu.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(cross_triplet i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)

# ctest runs every program under the emulator. The release Lettrix is static; the unit tests are
# not, and -L gives them the target's loader and libraries from the cross compiler's tree. The
# loader still reads the host's cache first, which lists the host's own 32-bit libraries when
# it has them (libc6-i386, which clang's runtimes bring): a C library of another build than the
# tree's loader, with which a forked death test spins for ever. The tree's folder comes first.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386 -L /usr/i686-linux-gnu
    -E LD_LIBRARY_PATH=/usr/i686-linux-gnu/lib)
