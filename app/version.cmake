# The executable's version record and Windows resources.
#
# Included once by the top-level CMakeLists.txt, after project() and the
# version texts beside it. The record's numbers come from the project's
# VERSION, its texts from KORVANTELO_VERSION_STRINGS (Name=Value, in record
# order), its translation from KORVANTELO_VERSION_LANGUAGE and
# KORVANTELO_VERSION_CODE_PAGE; the remaining fixed facts of an application's
# record are set below. From them this file writes into the build tree
#
#   app/korvantelo.rc   the resource script: version record and window icon
#   app/version.facts   the same facts for our own serializer (app/versioninfo)
#
# and defines
#
#   korvantelo_add_version_record(<executable target>)
#
# which gives a target the record: on Windows the resource script as a
# source, elsewhere the record as a resource compiler makes it, byte for byte,
# in the ELF section named by KORVANTELO_VERSION_SECTION (linked from the
# object library korvantelo_version_record, built by app/versioninfo).
#
# KORVANTELO_ICON_FILE names the window icon (.ico with one 32 x 32 image in
# 16 colours); it defaults to ui/art/korvantelo.ico.
include_guard(GLOBAL)

# The fixed part of an application's record.
set(KORVANTELO_VERSION_FILE_FLAGS_MASK 0x0)
set(KORVANTELO_VERSION_FILE_FLAGS 0x0)
set(KORVANTELO_VERSION_FILE_OS 0x4)        # VOS__WINDOWS32
set(KORVANTELO_VERSION_FILE_TYPE 0x1)      # VFT_APP
set(KORVANTELO_VERSION_FILE_SUBTYPE 0x0)
# Where a Linux executable keeps the record.
set(KORVANTELO_VERSION_SECTION .korvantelo.version)
# The icon image's resource number; its group is number 1.
set(KORVANTELO_ICON_IMAGE_ID 30001)

set(KORVANTELO_RESOURCE_SCRIPT "${PROJECT_BINARY_DIR}/app/korvantelo.rc")
set(KORVANTELO_VERSION_FACTS "${PROJECT_BINARY_DIR}/app/version.facts")

# _korvantelo_hex4(<out> <number>): the number as four upper-case hex digits.
function(_korvantelo_hex4 out number)
    math(EXPR value "${number}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${value}" 2 -1 digits)
    string(LENGTH "${digits}" length)
    if(length GREATER 4)
        message(FATAL_ERROR "Version record: ${number} does not fit in 16 bits")
    endif()
    math(EXPR missing "4 - ${length}")
    string(REPEAT "0" ${missing} zeros)
    string(TOUPPER "${zeros}${digits}" digits)
    set(${out} "${digits}" PARENT_SCOPE)
endfunction()

# _korvantelo_le(<out> <hex> <offset> <size>): the little-endian unsigned
# number of <size> bytes at byte <offset> of the hex dump <hex>.
function(_korvantelo_le out hex offset size)
    set(value "")
    foreach(i RANGE 1 ${size})
        math(EXPR at "2 * (${offset} + ${size} - ${i})")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        string(APPEND value "${byte}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

# _korvantelo_write_if_changed(<path> <content>): keeps the file's time stamp
# when the content is unchanged, so that nothing rebuilds for nothing.
function(_korvantelo_write_if_changed path content)
    if(EXISTS "${path}")
        file(READ "${path}" old)
        if(old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE "${path}" "${content}")
endfunction()

# _korvantelo_read_icon(<path>): checks that the .ico holds exactly one image
# of 32 x 32 pixels, 4 bits per pixel, 744 bytes (header, 16-colour palette,
# colour and mask bitmaps), and sets in the caller KORVANTELO_RC_ICON_IMAGE
# (the image as resource-script words) and KORVANTELO_RC_ICON_GROUP_ENTRY.
function(_korvantelo_read_icon path)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "Window icon ${path} not found (KORVANTELO_ICON_FILE)")
    endif()
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR file_size "${digits} / 2")
    set(image_size 744)
    if(file_size LESS 22)
        message(FATAL_ERROR "Window icon ${path}: ${file_size} bytes is too short for an icon")
    endif()
    _korvantelo_le(offset "${hex}" 18 4)
    math(EXPR image_end "${offset} + ${image_size}")
    if(NOT image_end EQUAL file_size)
        message(FATAL_ERROR "Window icon ${path}: the image does not end the file "
                            "(image at ${offset}, ${file_size} bytes in all)")
    endif()
    # Field, offset, size in bytes, required value: directory, entry, image header.
    foreach(check IN ITEMS
            "reserved 0 2 0" "resource-type 2 2 1" "image-count 4 2 1"
            "width 6 1 32" "height 7 1 32" "colours 8 1 16" "entry-reserved 9 1 0"
            "image-bytes 14 4 ${image_size}"
            "header-size ${offset}+0 4 40" "bitmap-width ${offset}+4 4 32"
            "bitmap-height ${offset}+8 4 64" "planes ${offset}+12 2 1"
            "bits-per-pixel ${offset}+14 2 4")
        string(REPLACE " " ";" check "${check}")
        list(GET check 0 field)
        list(GET check 1 at)
        list(GET check 2 size)
        list(GET check 3 wanted)
        math(EXPR at "${at}")
        _korvantelo_le(value "${hex}" ${at} ${size})
        if(NOT value EQUAL wanted)
            message(FATAL_ERROR "Window icon ${path}: ${field} is ${value}, must be ${wanted}")
        endif()
    endforeach()

    # The image as 16-bit little-endian words, twelve to a line.
    math(EXPR start "2 * ${offset}")
    string(SUBSTRING "${hex}" ${start} -1 image)
    set(lines "")
    math(EXPR last "2 * ${image_size} - 1")
    foreach(line_start RANGE 0 ${last} 48)
        string(SUBSTRING "${image}" ${line_start} 48 line)
        string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " line "${line}")
        string(APPEND lines "    ${line}\n")
    endforeach()
    string(REGEX REPLACE ", \n$" "" lines "${lines}")
    string(REPLACE " \n" "\n" lines "${lines}")
    set(KORVANTELO_RC_ICON_IMAGE "${lines}" PARENT_SCOPE)
    set(KORVANTELO_RC_ICON_GROUP_ENTRY
        "0x2020, 0x0010, 1, 4, ${image_size}L, ${KORVANTELO_ICON_IMAGE_ID}" PARENT_SCOPE)
endfunction()

# The window icon.
if(NOT DEFINED KORVANTELO_ICON_FILE)
    set(KORVANTELO_ICON_FILE "${PROJECT_SOURCE_DIR}/ui/art/korvantelo.ico")
endif()

# The resource script and the facts file. Only the variables set above
# outlive this block.
block()
    foreach(part MAJOR MINOR PATCH TWEAK)
        set(value "${korvantelo_VERSION_${part}}")
        if(value STREQUAL "")
            set(value 0)
        endif()
        if(NOT value MATCHES "^[0-9]+$" OR value GREATER 65535)
            message(FATAL_ERROR "Version record: version part ${part} '${value}' must be 0 to 65535")
        endif()
        list(APPEND version_parts ${value})
    endforeach()
    list(JOIN version_parts "." version_dotted)
    list(JOIN version_parts "," KORVANTELO_RC_FILE_VERSION)
    set(KORVANTELO_RC_PRODUCT_VERSION "${KORVANTELO_RC_FILE_VERSION}")

    if(NOT KORVANTELO_VERSION_STRINGS)
        message(FATAL_ERROR "Version record: KORVANTELO_VERSION_STRINGS is not set")
    endif()
    set(KORVANTELO_RC_STRING_VALUES "")
    set(facts_strings "")
    set(names "")
    foreach(field IN LISTS KORVANTELO_VERSION_STRINGS)
        if(NOT field MATCHES "^([A-Za-z][A-Za-z0-9]*)=(.*)$")
            message(FATAL_ERROR "Version record: '${field}' is not Name=Value")
        endif()
        set(name "${CMAKE_MATCH_1}")
        set(value "${CMAKE_MATCH_2}")
        # Quotes, backslashes and control characters would need escapes that
        # resource compilers do not agree on.
        if(value MATCHES "[\"\\\\\n\r\t]")
            message(FATAL_ERROR "Version record: ${name} holds a quote, backslash or control character")
        endif()
        if(name IN_LIST names)
            message(FATAL_ERROR "Version record: ${name} is given twice")
        endif()
        list(APPEND names "${name}")
        string(APPEND KORVANTELO_RC_STRING_VALUES "            VALUE \"${name}\", \"${value}\"\n")
        string(APPEND facts_strings "string ${name}=${value}\n")
    endforeach()
    string(REGEX REPLACE "\n$" "" KORVANTELO_RC_STRING_VALUES "${KORVANTELO_RC_STRING_VALUES}")

    _korvantelo_hex4(language_hex "${KORVANTELO_VERSION_LANGUAGE}")
    _korvantelo_hex4(code_page_hex "${KORVANTELO_VERSION_CODE_PAGE}")
    set(KORVANTELO_RC_STRING_TABLE "${language_hex}${code_page_hex}")
    set(KORVANTELO_RC_CODE_PAGE "0x${code_page_hex}")
    # A language identifier is a primary language (low 10 bits) and a sublanguage.
    math(EXPR KORVANTELO_RC_LANGUAGE_PRIMARY "${KORVANTELO_VERSION_LANGUAGE} & 0x3FF"
         OUTPUT_FORMAT HEXADECIMAL)
    math(EXPR KORVANTELO_RC_LANGUAGE_SUB "${KORVANTELO_VERSION_LANGUAGE} >> 10"
         OUTPUT_FORMAT HEXADECIMAL)

    _korvantelo_read_icon("${KORVANTELO_ICON_FILE}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${KORVANTELO_ICON_FILE}")

    configure_file("${CMAKE_CURRENT_LIST_DIR}/korvantelo.rc.in" "${KORVANTELO_RESOURCE_SCRIPT}" @ONLY)

    string(CONCAT facts
        "# The version record of ${PROJECT_NAME}, written by CMake (app/version.cmake).\n"
        "file-version ${version_dotted}\n"
        "product-version ${version_dotted}\n"
        "file-flags-mask ${KORVANTELO_VERSION_FILE_FLAGS_MASK}\n"
        "file-flags ${KORVANTELO_VERSION_FILE_FLAGS}\n"
        "file-os ${KORVANTELO_VERSION_FILE_OS}\n"
        "file-type ${KORVANTELO_VERSION_FILE_TYPE}\n"
        "file-subtype ${KORVANTELO_VERSION_FILE_SUBTYPE}\n"
        "language 0x${language_hex}\n"
        "code-page 0x${code_page_hex}\n"
        "${facts_strings}")
    _korvantelo_write_if_changed("${KORVANTELO_VERSION_FACTS}" "${facts}")
endblock()

if(WIN32)
    enable_language(RC)
elseif(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
    add_subdirectory("${CMAKE_CURRENT_LIST_DIR}/versioninfo" "${PROJECT_BINARY_DIR}/app/versioninfo")
else()
    message(FATAL_ERROR "Version record: executables here are neither Windows nor ELF files")
endif()

# korvantelo_add_version_record(<target>): gives the executable <target> the
# version record (and on Windows the window icon).
function(korvantelo_add_version_record target)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
        message(FATAL_ERROR "korvantelo_add_version_record: ${target} is not an executable")
    endif()
    if(WIN32)
        target_sources(${target} PRIVATE "${KORVANTELO_RESOURCE_SCRIPT}")
    else()
        target_link_libraries(${target} PRIVATE korvantelo_version_record)
    endif()
endfunction()
