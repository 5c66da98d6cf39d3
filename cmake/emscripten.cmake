# Builds Korvantelo for WebAssembly with Debian's emscripten package:
#
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake
#
# The tools run through cmake/emscripten/run, which gives them Debian's
# python3 and node modules. Programs built here are JavaScript with a .wasm
# beside it; the tests run them under node.

# em-config, which the platform file below calls while configuring, goes by
# this too.
set(ENV{EMSDK_PYTHON} /usr/bin/python3)

set(KORVANTELO_EMSCRIPTEN_TOOLS "${CMAKE_CURRENT_LIST_DIR}/emscripten")
set(CMAKE_C_COMPILER "${KORVANTELO_EMSCRIPTEN_TOOLS}/emcc")
set(CMAKE_CXX_COMPILER "${KORVANTELO_EMSCRIPTEN_TOOLS}/em++")
set(CMAKE_AR "${KORVANTELO_EMSCRIPTEN_TOOLS}/emar" CACHE FILEPATH "")
set(CMAKE_RANLIB "${KORVANTELO_EMSCRIPTEN_TOOLS}/emranlib" CACHE FILEPATH "")

# Plain node, without the thread flag that emcmake would add: node 20 refuses
# --experimental-wasm-threads, and nothing here uses threads.
find_program(KORVANTELO_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${KORVANTELO_NODE}")

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Sources and header-only libraries of the build machine (GoogleTest's
# sources, fast_float) are looked up outside emscripten's sysroot, with
# NO_CMAKE_FIND_ROOT_PATH; Debian keeps them under /usr, which the platform
# file does not name. Every other search stays within the sysroot.
list(APPEND CMAKE_SYSTEM_PREFIX_PATH /usr)

# em++ compiles C++ exceptions away unless told: every throw would abort, and
# no input error would ever reach the window. Both compiling and linking need
# it. The memory grows as a long text needs it. Link-time optimisation makes
# the page's module a tenth smaller, and the tests run what the page runs.
set(CMAKE_C_FLAGS_INIT "-fexceptions -flto")
set(CMAKE_CXX_FLAGS_INIT "-fexceptions -flto")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions -flto -sALLOW_MEMORY_GROWTH=1")
