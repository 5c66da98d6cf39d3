# cmake -DSITE=<folder> -DZIP=<file> -DFILES=<file;…> -P site.cmake
#
# Writes the static site: the FILES side by side in SITE, the service
# worker's cache named after their contents and listing them all, and a ZIP
# of the site in one folder, Korvantelo/.
file(REMOVE_RECURSE "${SITE}")
file(MAKE_DIRECTORY "${SITE}")
set(listed "\"./\"")
set(digests "")
foreach(path IN LISTS FILES)
    get_filename_component(name "${path}" NAME)
    if(name STREQUAL "service-worker.js")
        set(worker "${path}")
        continue()
    endif()
    file(COPY "${path}" DESTINATION "${SITE}")
    file(SHA256 "${path}" digest)
    string(APPEND digests "${name} ${digest}\n")
    string(APPEND listed ", \"${name}\"")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING "${version}" 0 16 SITE_VERSION)
set(SITE_FILES "${listed}")
configure_file("${worker}" "${SITE}/service-worker.js" @ONLY)

get_filename_component(zip_dir "${ZIP}" DIRECTORY)
set(staging "${zip_dir}/zip")
file(REMOVE_RECURSE "${staging}")
file(MAKE_DIRECTORY "${staging}")
file(COPY "${SITE}/" DESTINATION "${staging}/Korvantelo")
file(REMOVE "${ZIP}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${ZIP}" --format=zip Korvantelo
    WORKING_DIRECTORY "${staging}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot write ${ZIP}")
endif()
