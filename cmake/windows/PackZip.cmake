cmake_minimum_required(VERSION 3.25)
# Packs the Windows zip (run by the windows-zip target):
#   cmake -DEXE=... -DVERSION=... -DSOURCE=<source tree> -DZIP=<out.zip> -P PackZip.cmake
# The zip holds one folder tonalux-cli-<version>-win64 with tonalux-cli.exe,
# README.txt and LICENSE.txt; the texts get Windows line ends.
get_filename_component(out_dir ${ZIP} DIRECTORY)
set(name tonalux-cli-${VERSION}-win64)
set(stage ${out_dir}/zip-stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/${name})
file(COPY ${EXE} DESTINATION ${stage}/${name})

function(copy_with_crlf from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()
copy_with_crlf(${SOURCE}/cmake/windows/README.txt ${stage}/${name}/README.txt)
copy_with_crlf(${SOURCE}/LICENSE ${stage}/${name}/LICENSE.txt)

file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${name}
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not pack ${ZIP}")
endif()
file(REMOVE_RECURSE ${stage})
