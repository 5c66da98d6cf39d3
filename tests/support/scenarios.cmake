# korvantelo_scenarios: the scenarios that every front-end's driver runs
# (tests/scenarios.json), read with Debian's nlohmann-json3-dev. Included
# for every build's tests (korvantelo_add_shared_tests). The JSON headers are looked for
# outside a cross build's root, and only their folder is shown to the
# compiler (the rest of the build machine's /usr/include is not the target's).
include_guard(GLOBAL)
find_path(KORVANTELO_NLOHMANN_JSON nlohmann/json.hpp REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(json_copy "${CMAKE_CURRENT_BINARY_DIR}/json_include")
file(COPY "${KORVANTELO_NLOHMANN_JSON}/nlohmann" DESTINATION "${json_copy}")
add_library(korvantelo_scenarios STATIC "${CMAKE_CURRENT_LIST_DIR}/scenarios.cpp")
target_include_directories(korvantelo_scenarios PUBLIC ${PROJECT_SOURCE_DIR})
target_include_directories(korvantelo_scenarios SYSTEM PRIVATE "${json_copy}")
target_compile_definitions(korvantelo_scenarios PUBLIC SCENARIOS="${PROJECT_SOURCE_DIR}/tests/scenarios.json")
