# The executable's version record and window icon, from the resource script
# app/korvantelo.rc.in, the one place that states them but for the version,
# which is project()'s. Included once by the top-level CMakeLists.txt; sets
# the version as the files that name it write it, for them to be configured
# from:
#
#   KORVANTELO_VERSION_NUMBERS  1,0,0,0 for 1.0.0.0: the record's fixed part
#   KORVANTELO_VERSION_TEXT     1.00 for 1.0.0.0, major and minor as two
#                               digits: the record's strings, the read-me,
#                               the manual page
#
# and defines
#
#   korvantelo_add_version_record(<executable target>)
#
# which gives a target the resources: on Windows the script as one of its
# sources; on Linux the version resource, as the resource compiler makes it
# from the script, byte for byte in the ELF section named by
# KORVANTELO_VERSION_SECTION. There the target's property KORVANTELO_RESOURCES
# names the compiled resource file the section was taken from.
include_guard(GLOBAL)

# The record holds four numbers of 16 bits; the text has room for a minor
# number of two digits.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$" OR PROJECT_VERSION_MINOR GREATER 99)
    message(FATAL_ERROR "The version ${PROJECT_VERSION} is not four numbers with a minor one below 100")
endif()
string(REPLACE . , KORVANTELO_VERSION_NUMBERS "${PROJECT_VERSION}")
if(PROJECT_VERSION_MINOR LESS 10)
    set(KORVANTELO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(KORVANTELO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()

set(KORVANTELO_VERSION_SECTION .korvantelo.version)
set(KORVANTELO_RESOURCE_SCRIPT "${PROJECT_BINARY_DIR}/app/korvantelo.rc")
configure_file("${CMAKE_CURRENT_LIST_DIR}/korvantelo.rc.in" "${KORVANTELO_RESOURCE_SCRIPT}" @ONLY)

if(WIN32)
    enable_language(RC)
elseif(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
    # The resource compiler of the Windows build, with a C preprocessor.
    find_program(KORVANTELO_WINDRES x86_64-w64-mingw32-windres REQUIRED)
    find_program(KORVANTELO_RC_PREPROCESSOR cpp REQUIRED)
    block()
        # Nothing here for Qt's code generators.
        set(CMAKE_AUTOMOC OFF)
        set(CMAKE_AUTOUIC OFF)
        add_executable(korvantelo_version_resource "${CMAKE_CURRENT_LIST_DIR}/version_resource.cpp")
        # The object that the record's section is added to, compiled like the
        # program's own so that its ELF notes agree with theirs.
        set(base "${PROJECT_BINARY_DIR}/app/version_record_base.cpp")
        file(CONFIGURE OUTPUT "${base}"
            CONTENT "// The build adds the version record to this object (app/version.cmake).\n")
        add_library(korvantelo_version_record_base OBJECT "${base}")
    endblock()
else()
    message(FATAL_ERROR "Version record: executables here are neither Windows nor ELF files")
endif()

function(korvantelo_add_version_record target)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
        message(FATAL_ERROR "korvantelo_add_version_record: ${target} is not an executable")
    endif()
    set(dir "${CMAKE_CURRENT_BINARY_DIR}")

    # The icon's image for the script: the .ico file without its 22-byte
    # directory, which names the one image that follows (tests/art_test.cpp).
    set(icon "${PROJECT_SOURCE_DIR}/ui/art/korvantelo.ico")
    set(image "${dir}/korvantelo-icon.dib")
    add_custom_command(OUTPUT "${image}"
        COMMAND dd "if=${icon}" "of=${image}" bs=22 skip=1 status=none
        DEPENDS "${icon}"
        VERBATIM)

    if(WIN32)
        target_sources(${target} PRIVATE "${KORVANTELO_RESOURCE_SCRIPT}")
        set_source_files_properties("${KORVANTELO_RESOURCE_SCRIPT}" PROPERTIES
            INCLUDE_DIRECTORIES "${dir}" OBJECT_DEPENDS "${image}")
        return()
    endif()

    set(res "${dir}/korvantelo.res")
    add_custom_command(OUTPUT "${res}"
        COMMAND "${KORVANTELO_WINDRES}" "--preprocessor=${KORVANTELO_RC_PREPROCESSOR}"
                --preprocessor-arg=-DRC_INVOKED -I "${dir}" -O res
                -i "${KORVANTELO_RESOURCE_SCRIPT}" -o "${res}"
        DEPENDS "${KORVANTELO_RESOURCE_SCRIPT}" "${image}"
        COMMENT "Compiling the resource script"
        VERBATIM)

    set(section ${KORVANTELO_VERSION_SECTION})
    set(record "${dir}/version_record")
    set(base $<TARGET_OBJECTS:korvantelo_version_record_base>)
    add_custom_command(OUTPUT "${record}.o"
        COMMAND korvantelo_version_resource "${res}" "${record}.bin"
        # Read-only data, loaded with the program; objcopy sets an
        # added section's alignment only in a second pass.
        COMMAND ${CMAKE_OBJCOPY} --add-section "${section}=${record}.bin"
                --set-section-flags "${section}=alloc,load,readonly,data,contents" "${base}" "${record}.o"
        COMMAND ${CMAKE_OBJCOPY} --set-section-alignment "${section}=4" "${record}.o"
        DEPENDS "${res}" korvantelo_version_resource korvantelo_version_record_base "${base}"
        COMMENT "Putting the version record into section ${section}"
        VERBATIM)
    target_sources(${target} PRIVATE "${record}.o")
    set_target_properties(${target} PROPERTIES KORVANTELO_RESOURCES "${res}")
endfunction()
