# The Debian package (make package): the installed files of the program with
# the runtime dependencies that dpkg-shlibdeps finds for the executable.
# Included by the top-level CMakeLists.txt after every install() rule.
include_guard(GLOBAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvantelo)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Korvantelo Messtechnik")
set(CPACK_PACKAGE_CONTACT "Korvantelo Messtechnik <korvantelo@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.org/korvantelo")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
# Installed beside the system's Qt, the program finds its libraries without
# the run path that Qt's project set-up gives it for private Qt builds.
set_property(TARGET korvantelo PROPERTY INSTALL_RPATH "")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps, by the names of the release
# the package is built on. The window's texts need the face the layout is
# measured for (or one of its substitutes), whose package each release names
# its own way; the toolkit's German texts and the pictures are compiled in,
# and the X platform plugin comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
execute_process(COMMAND "${PROJECT_SOURCE_DIR}/scripts/release-package" liberation-sans
    OUTPUT_VARIABLE face_package OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${face_package}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The synopsis, then the long description, which CPack indents as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "energy per pulse behind current and voltage transformers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Korvantelo is a small, exact desktop calculator for people who set up
electricity metering. From the pulse rating on a meter's plate (P pulses
per W Wh) and the primaries of its current and voltage transformers it
works out the transformer ratio and the energy per pulse on the primary
side, for the pulse input of a data logger or a billing system. Every
figure is read and written exactly; text that is not a number is rejected.
The program's window is in German.

Deutsch: Energie pro Impuls hinter Strom- und Spannungswandlern berechnen.")

include(CPack)
