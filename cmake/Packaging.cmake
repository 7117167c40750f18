# The Debian package: `cmake --build <build> --target package` (or `make
# package`) writes tonalux_<version>_<arch>.deb into the build folder. It holds
# what `cmake --install` installs, under /usr; its dependencies are found by
# dpkg-shlibdeps from the programs' shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tonalux)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tonalux & Belvorta")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch converter for Standard MIDI Files of arranger keyboards")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tonalux & Belvorta converts folders of Standard MIDI Files as they are used with\n"
    "arranger keyboards: it removes the keyboard's vocoder system-exclusive\n"
    "messages on request, finds the vocoder channel and writes every song as\n"
    "format 0 or format 1. The window program is tonalux; the command-line tool\n"
    "tonalux-cli also shows, dumps, assembles, transposes and edits single songs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tonalux & Belvorta developers")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugins are loaded at run time, where dpkg-shlibdeps
# cannot see them; without them the window program cannot open its window.
# The toolkit's own translations (qtbase_de.qm, ...) are files it loads too,
# so that its dialogs and buttons speak the desktop's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
include(CPack)
