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

# korvantelo_add_shared_tests()
#
# The tests that every build runs, natively, under Wine and under node alike:
# the number texts (held to the reading vectors of
# tests/data/parse-corpus.txt.gz, whose path it sets in
# KORVANTELO_READING_VECTORS), the formulas, the window model, the view
# plan, the handlers, and the scenario table on the program without a
# display. Each test tree calls it once, for its own build.
function(korvantelo_add_shared_tests)
    set(tests "${PROJECT_SOURCE_DIR}/tests")
    set(vectors "${tests}/data/parse-corpus.txt.gz")
    if(EMSCRIPTEN)
        # No zlib there (emscripten's cache is frozen: no ports): the build
        # decompresses the vectors, and the programs read the host's file
        # through node.
        find_program(KORVANTELO_GZIP gzip REQUIRED)
        set(vectors "${CMAKE_CURRENT_BINARY_DIR}/parse-corpus.txt")
        add_custom_command(OUTPUT "${vectors}"
            COMMAND "${KORVANTELO_GZIP}" -dc "${tests}/data/parse-corpus.txt.gz" > "${vectors}"
            DEPENDS "${tests}/data/parse-corpus.txt.gz"
            COMMENT "Decompressing the reading vectors")
        add_custom_target(korvantelo_reading_vectors_file ALL DEPENDS "${vectors}")
        add_library(korvantelo_reading_vectors STATIC "${tests}/reading_vectors.cpp"
            "${tests}/web/reading_vectors_plain.cpp")
        add_dependencies(korvantelo_reading_vectors korvantelo_reading_vectors_file)
    else()
        find_package(ZLIB REQUIRED)  # Debian's zlib1g-dev, libz-mingw-w64-dev for Windows
        add_library(korvantelo_reading_vectors STATIC "${tests}/reading_vectors.cpp"
            "${tests}/reading_vectors_gzip.cpp")
        target_link_libraries(korvantelo_reading_vectors PRIVATE ZLIB::ZLIB)
    endif()
    target_include_directories(korvantelo_reading_vectors PUBLIC ${PROJECT_SOURCE_DIR})
    set(KORVANTELO_READING_VECTORS "${vectors}" PARENT_SCOPE)
    include("${tests}/support/scenarios.cmake")

    korvantelo_add_test(number_text_test SOURCES "${tests}/number_text_test.cpp"
        LIBRARIES korvantelo_calc korvantelo_reading_vectors)
    target_compile_definitions(number_text_test PRIVATE PARSE_CORPUS="${vectors}")
    korvantelo_add_test(formulas_test SOURCES "${tests}/formulas_test.cpp" LIBRARIES korvantelo_calc)
    foreach(test window_test plan_test handlers_test)
        korvantelo_add_test(${test} SOURCES "${tests}/${test}.cpp" LIBRARIES korvantelo_window)
    endforeach()
    korvantelo_add_test(scenario_model_test SOURCES "${tests}/scenario_model_test.cpp"
        LIBRARIES korvantelo_window korvantelo_scenarios)
endfunction()
