# korvantelo_scenarios: the scenarios that every front-end's driver runs
# (tests/scenarios.json), read with Debian's nlohmann-json3-dev. Included
# for every build's tests (korvantelo_add_shared_tests).
include_guard(GLOBAL)
include("${PROJECT_SOURCE_DIR}/cmake/json.cmake")
add_library(korvantelo_scenarios STATIC "${CMAKE_CURRENT_LIST_DIR}/scenarios.cpp")
target_include_directories(korvantelo_scenarios PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(korvantelo_scenarios PRIVATE korvantelo_json)
target_compile_definitions(korvantelo_scenarios PUBLIC SCENARIOS="${PROJECT_SOURCE_DIR}/tests/scenarios.json")
