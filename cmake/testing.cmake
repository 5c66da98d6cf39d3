# GoogleTest and the one way to register a test program, for the tests of
# every build (tests/, tests/win32, tests/web). Included once by the
# top-level CMakeLists.txt when BUILD_TESTING is on.
include_guard(GLOBAL)
include(GoogleTest)

# GoogleTest from the sources that Debian's googletest package ships, built
# with the compiler and the flags of the build that uses it, natively as
# cross. They are sources, not libraries of the target, so a cross build
# looks for them outside its root. The page's module has no threads.
find_path(KORVANTELO_GOOGLETEST_SOURCE googletest/include/gtest/gtest.h
    PATH_SUFFIXES src/googletest NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(EMSCRIPTEN)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory("${KORVANTELO_GOOGLETEST_SOURCE}" "${PROJECT_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)

# korvantelo_add_test(<name> [SOURCES <file>...] [LIBRARIES <library>...]
#                     [ARGUMENTS <argument>...] [PROPERTIES <property> <value>...]
#                     [OWN_MAIN])
#
# The test program <name>, from SOURCES (<name>.cpp unless given), linked
# with LIBRARIES and GoogleTest's main, or without that main where the
# program or a library brings its own (OWN_MAIN). ARGUMENTS follow
# GoogleTest's options on its command line. Built for this machine, every
# test case is a test of its own; cross-built, the program is one test (a
# start under Wine or node costs more than its cases), which CTest runs
# through the toolchain's CMAKE_CROSSCOMPILING_EMULATOR. Each test has the
# properties of KORVANTELO_TEST_PROPERTIES, the directory's, then PROPERTIES.
function(korvantelo_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg OWN_MAIN "" "SOURCES;LIBRARIES;ARGUMENTS;PROPERTIES")
    if(NOT arg_SOURCES)
        set(arg_SOURCES ${name}.cpp)
    endif()
    add_executable(${name} ${arg_SOURCES})
    if(arg_OWN_MAIN)
        target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest)
    else()
        target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest_main)
    endif()
    set(properties ${KORVANTELO_TEST_PROPERTIES} ${arg_PROPERTIES})
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 ${arg_ARGUMENTS})
        if(properties)
            set_tests_properties(${name} PROPERTIES ${properties})
        endif()
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST EXTRA_ARGS ${arg_ARGUMENTS} PROPERTIES ${properties})
    endif()
endfunction()
