# The Debian package: `make package` (preset package: the programs, their
# manual pages and the package documents, nothing else) writes
# tonalux_<version>-<release>_<arch>.deb into build/package/. It holds what
# `cmake --install` installs, under /usr; its dependencies are found by
# dpkg-shlibdeps from the programs' shared libraries.
set(TONALUX_MAINTAINER "Tonalux & Belvorta developers <developers@tonalux.example>"
    CACHE STRING "Name and e-mail address of the package's maintainer")
set(TONALUX_DEB_RELEASE 1)
set(TONALUX_DEB_VERSION ${PROJECT_VERSION}-${TONALUX_DEB_RELEASE})
set(TONALUX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tonalux)
set(TONALUX_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package)

# Manual pages and the Debian changelog are installed compressed, without a
# time stamp in the gzip header, so that the same sources give the same package.
find_program(TONALUX_GZIP gzip REQUIRED)
function(tonalux_gzip source)
  add_custom_command(OUTPUT ${source}.gz
    COMMAND ${TONALUX_GZIP} -9nkf ${source}
    DEPENDS ${source}
    COMMENT "Compressing ${source}")
endfunction()

# The Debian changelog and the machine-readable copyright file.
set(MAINTAINER ${TONALUX_MAINTAINER})
set(DEB_VERSION ${TONALUX_DEB_VERSION})
string(TIMESTAMP DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog ${TONALUX_PACKAGE_FILES}/changelog.Debian @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${TONALUX_PACKAGE_FILES}/copyright @ONLY)
tonalux_gzip(${TONALUX_PACKAGE_FILES}/changelog.Debian)
set(package_files ${TONALUX_PACKAGE_FILES}/changelog.Debian.gz)
install(FILES ${TONALUX_PACKAGE_FILES}/changelog.Debian.gz ${TONALUX_PACKAGE_FILES}/copyright
        DESTINATION ${TONALUX_DOC_DIR})

# The manual page of the window program; the tool writes its own (cli/).
if(TARGET tonalux)
  set(VERSION ${PROJECT_VERSION})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/tonalux.1 ${TONALUX_PACKAGE_FILES}/tonalux.1 @ONLY)
  tonalux_gzip(${TONALUX_PACKAGE_FILES}/tonalux.1)
  list(APPEND package_files ${TONALUX_PACKAGE_FILES}/tonalux.1.gz)
  install(FILES ${TONALUX_PACKAGE_FILES}/tonalux.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
add_custom_target(tonalux-package-files ALL DEPENDS ${package_files})

# The project hands its package to its users itself; it is not uploaded to
# Debian, so its first changelog entry closes no "intent to package" bug.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tonalux)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tonalux)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tonalux & Belvorta")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch converter for Standard MIDI Files of arranger keyboards")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Tonalux & Belvorta converts folders of Standard MIDI Files as they are\n"
    "used with arranger keyboards: it removes the keyboard's vocoder\n"
    "system-exclusive messages on request, finds the vocoder channel and writes\n"
    "every song as format 0 or format 1. The window program is tonalux; the\n"
    "command-line tool tonalux-cli also shows, dumps, assembles, transposes and\n"
    "edits single songs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TONALUX_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TONALUX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Folders 0755 and files 0644 (programs 0755), whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The window system plugins are loaded at run time, where dpkg-shlibdeps
# cannot see them; without them the window program cannot open its window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
