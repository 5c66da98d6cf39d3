# korvantelo_json: Debian's nlohmann-json3-dev, for the scenario table of
# every build's tests and for the page's build-time writer. The headers are
# looked for outside a cross build's root, and only their folder is shown to
# the compiler (the rest of the build machine's /usr/include is not the
# target's).
include_guard(GLOBAL)
find_path(KORVANTELO_NLOHMANN_JSON nlohmann/json.hpp REQUIRED NO_CMAKE_FIND_ROOT_PATH)
file(COPY "${KORVANTELO_NLOHMANN_JSON}/nlohmann" DESTINATION "${PROJECT_BINARY_DIR}/json_include")
add_library(korvantelo_json INTERFACE)
target_include_directories(korvantelo_json SYSTEM INTERFACE "${PROJECT_BINARY_DIR}/json_include")
