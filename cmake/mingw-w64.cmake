# Toolchain for the Windows build made on Debian: 64-bit MinGW-w64 with POSIX threads
# (g++-mingw-w64-x86-64-posix), the executables run under Wine (wine64).
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(cross_triplet x86_64-w64-mingw32)
set(cross_compiler_suffix -posix)  # posix threads: std::thread, std::mutex
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
set(CMAKE_RC_COMPILER ${cross_triplet}-windres)

# libstdc++, libgcc and winpthread linked in: the .exe runs on a bare Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# ctest runs the .exe files under Wine, in a prefix inside the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine)
