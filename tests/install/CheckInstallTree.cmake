# Installs the build into an empty folder and checks that the tree holds
# exactly the expected files: the programs run, the icons are PNG images of
# the size their folder names, and the desktop entry validates.
#
#   cmake -DBUILD_DIR=<build> -DPREFIX=<folder> -DEXPECTED=<a|b|...> -DVERSION=<v>
#         -DWITH_APP=ON|OFF -DVALIDATE=<desktop-file-validate> -P CheckInstallTree.cmake

function(fail text)
  message(FATAL_ERROR "${text}")
endfunction()

file(REMOVE_RECURSE ${PREFIX})
file(MAKE_DIRECTORY ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  fail("cmake --install failed:\n${output}")
endif()

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT found)
string(REPLACE "|" ";" expected "${EXPECTED}")
list(SORT expected)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " found_lines "${found}")
  string(REPLACE ";" "\n  " expected_lines "${expected}")
  fail("the install tree holds\n  ${found_lines}\nbut should hold\n  ${expected_lines}")
endif()

# The installed tool runs from its new place and names the project's version.
execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${PREFIX}/bin/tonalux-cli --version
                RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output MATCHES "^tonalux-cli ${VERSION}\nCopyright .*, MIT licence\n$")
  fail("installed tonalux-cli --version gave '${output}' (status ${status})")
endif()

# Each manual page is compressed roff with the program's name and version in
# its title line.
function(check_man_page page title_pattern)
  execute_process(COMMAND ${GZIP} -dc ${PREFIX}/share/man/man1/${page}.1.gz
                  RESULT_VARIABLE status OUTPUT_VARIABLE text)
  string(REGEX MATCH "^[^\n]*" title "${text}")
  if(NOT status EQUAL 0 OR NOT title MATCHES "${title_pattern}")
    fail("the manual page ${page}.1.gz starts with '${title}' (gzip status ${status})")
  endif()
endfunction()
check_man_page(tonalux-cli "^\\.TH TONALUX\\\\-CLI 1 .*tonalux\\\\-cli ${VERSION}")

if(NOT WITH_APP)
  return()
endif()
check_man_page(tonalux "^\\.TH TONALUX 1 .*tonalux ${VERSION}")

execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${PREFIX}/bin/tonalux --version
                RESULT_VARIABLE status OUTPUT_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "tonalux ${VERSION}\n")
  fail("installed tonalux --version gave '${output}' (status ${status})")
endif()

# Each icon is a PNG whose header gives the size of its folder name.
foreach(file ${found})
  if(file MATCHES "^share/icons/hicolor/([0-9]+)x([0-9]+)/apps/tonalux\\.png$")
    set(size ${CMAKE_MATCH_1})
    file(READ ${PREFIX}/${file} head LIMIT 24 HEX)
    string(SUBSTRING "${head}" 0 16 signature)
    string(SUBSTRING "${head}" 32 8 width_hex)
    string(SUBSTRING "${head}" 40 8 height_hex)
    math(EXPR width "0x${width_hex}")
    math(EXPR height "0x${height_hex}")
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
      fail("${file} is no PNG of ${size} x ${size} pixels (signature ${signature}, ${width} x ${height})")
    endif()
  endif()
endforeach()

execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/tonalux.desktop
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "")
  fail("the installed desktop entry does not validate:\n${output}")
endif()
file(STRINGS ${PREFIX}/share/applications/tonalux.desktop icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=tonalux")
  fail("the desktop entry names the icon '${icon_line}'")
endif()
