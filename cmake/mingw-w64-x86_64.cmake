# Cross-builds Korvantelo for 64-bit Windows with Debian's MinGW-w64 toolchain
# (packages g++-mingw-w64-x86-64 and binutils-mingw-w64-x86-64):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# The posix thread model of the compiler, because its C++ library has
# std::thread and std::mutex; everything is linked statically, so that the
# program needs no DLL of the toolchain beside it. Tests run under Wine
# (see tests/win32/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KORVANTELO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KORVANTELO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVANTELO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVANTELO_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVANTELO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libstdc++, libgcc or winpthread DLL: the C and C++ run-time of the
# toolchain go into each executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Programs built here run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tests/win32/wine-run")
