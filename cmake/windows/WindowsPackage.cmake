# The Windows package: `cmake --build --preset windows --target windows-zip`
# (or `make windows`) packs build/windows/tonalux-cli-<version>-win64.zip with
# the statically linked tool, a short README and the licence, both with
# Windows line ends.
set(TONALUX_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/tonalux-cli-${PROJECT_VERSION}-win64.zip)
add_custom_command(OUTPUT ${TONALUX_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:tonalux-cli> -DVERSION=${PROJECT_VERSION}
          -DSOURCE=${PROJECT_SOURCE_DIR} -DZIP=${TONALUX_WINDOWS_ZIP}
          -P ${CMAKE_CURRENT_LIST_DIR}/PackZip.cmake
  DEPENDS tonalux-cli ${CMAKE_CURRENT_LIST_DIR}/PackZip.cmake ${CMAKE_CURRENT_LIST_DIR}/README.txt
          ${PROJECT_SOURCE_DIR}/LICENSE
  COMMENT "Packing ${TONALUX_WINDOWS_ZIP}")
add_custom_target(windows-zip DEPENDS ${TONALUX_WINDOWS_ZIP})
