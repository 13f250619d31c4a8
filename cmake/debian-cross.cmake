# What the cross builds made on Debian share, included by each machine's toolchain file after it
# has set CMAKE_SYSTEM_NAME (Linux when it does not), CMAKE_SYSTEM_PROCESSOR and `cross_triplet`
# (the compiler's prefix and tree, i686-linux-gnu), and `cross_compiler_suffix` where Debian's
# compiler names carry one (-posix): Debian's cross compiler, and the target's tree for
# everything but programs.
if(NOT CMAKE_SYSTEM_NAME)
  set(CMAKE_SYSTEM_NAME Linux)
endif()

set(CMAKE_C_COMPILER ${cross_triplet}-gcc${cross_compiler_suffix})  # GoogleTest enables C too
set(CMAKE_CXX_COMPILER ${cross_triplet}-g++${cross_compiler_suffix})

# Libraries and packages come from the target's tree only; programs (Python) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${cross_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
