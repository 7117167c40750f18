# Writes the manual page of tonalux-cli from the tool's own help, so that the
# two cannot disagree: the tool's --help gives the name line, the synopsis and
# the description, each command's --help one section of COMMANDS.
#
#   cmake -DTOOL=<tonalux-cli> -DOUT=<file.1> -P ManPage.cmake

function(run_help out_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 ${TOOL} ${ARGN}
                  OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${ARGN} ended with ${status}")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# The text as roff shows it verbatim: backslashes and hyphens escaped, and a
# line starting with a dot or an apostrophe guarded so it is no request.
function(roff_text out_var text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# "tonalux-cli 1.0", then the copyright and licence line.
run_help(version --version)
string(STRIP "${version}" version)
string(FIND "${version}" "\n" cut)
string(SUBSTRING "${version}" 0 ${cut} version_line)
if(cut EQUAL -1)
  set(copyright "")
else()
  math(EXPR cut "${cut} + 1")
  string(SUBSTRING "${version}" ${cut} -1 copyright)
endif()
run_help(help --help)

# "Usage: tonalux-cli COMMAND [ARGUMENTS]", a blank line, the one-line summary.
string(REGEX MATCH "Usage: ([^\n]*)\n\n([^\n]*)\n" _ "${help}")
set(synopsis "${CMAKE_MATCH_1}")
set(summary "${CMAKE_MATCH_2}")
string(REGEX REPLACE "\\.$" "" summary "${summary}")

# The command names: the first word of each line of the list after
# "Commands:", which ends at the next empty line.
string(FIND "${help}" "Commands:\n" at)
string(SUBSTRING "${help}" ${at} -1 list)
string(FIND "${list}" "\n\n" end)
string(SUBSTRING "${list}" 0 ${end} list)
string(REGEX MATCHALL "\n  [a-z-]+" lines "${list}")
set(commands "")
foreach(line ${lines})
  string(STRIP "${line}" name)
  list(APPEND commands ${name})
endforeach()

roff_text(summary_roff "${summary}")
roff_text(synopsis_roff "${synopsis}")
roff_text(help_roff "${help}")
string(REPLACE " " ";" version_words "${version_line}")
list(GET version_words 1 version_number)
set(page ".TH TONALUX\\-CLI 1 \"\" \"tonalux\\-cli ${version_number}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\ntonalux\\-cli \\- ${summary_roff}\n")
string(APPEND page ".SH SYNOPSIS\n.nf\n${synopsis_roff}\n.fi\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${help_roff}.fi\n")
string(APPEND page ".SH COMMANDS\n")
foreach(command ${commands})
  run_help(command_help ${command} --help)
  roff_text(command_roff "${command_help}")
  roff_text(command_name "${command}")
  string(APPEND page ".SS ${command_name}\n.nf\n${command_roff}.fi\n")
endforeach()
if(copyright)
  roff_text(copyright_roff "${copyright}")
  string(APPEND page ".SH COPYRIGHT\n${copyright_roff}\n")
endif()
file(WRITE ${OUT} "${page}")
