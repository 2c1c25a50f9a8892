# Writes the manual page tessaline(1) from the program's own help, so the page and `--help`
# never drift apart. Run at build time:
#   cmake -DTOOL=<tessaline> -DOUT=<tessaline.1> -P TessalineManPage.cmake
cmake_minimum_required(VERSION 3.25)

function(tool_output var)
  execute_process(COMMAND "${TOOL}" ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${ARGN} failed (${status})")
  endif()
  # roff: a backslash is written \e, and a line must not start with a control character.
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REGEX REPLACE "\n$" "" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

tool_output(version --version)
string(REGEX REPLACE "^tessaline " "" version "${version}")
tool_output(usage --help)
# Each command's own help becomes a section of its own.
set(command_sections "")
foreach(command render ir plot info)
  execute_process(COMMAND "${TOOL}" ${command} --help OUTPUT_VARIABLE probe RESULT_VARIABLE status)
  if(status EQUAL 0 AND probe MATCHES "usage")
    tool_output(command_usage ${command} --help)
    string(TOUPPER "${command}" title)
    string(APPEND command_sections ".SH ${title}\n.nf\n${command_usage}\n.fi\n")
  endif()
endforeach()
# The bundle's default location belongs to the installed program, not to the build tree it ran in.
string(REGEX REPLACE "The bundle defaults to [^\n]*"
       "Without --bundle, the bundle is looked for next to the program, then in ../lib/vst3\nrelative to the program's folder (/usr/lib/vst3/Tessaline.vst3 when installed in /usr/bin)."
       usage "${usage}")

file(WRITE "${OUT}" ".TH TESSALINE 1 \"\" \"tessaline ${version}\" \"User Commands\"
.SH NAME
tessaline \\- render audio through the Tessaline room reverb and inspect the plug-in
.SH SYNOPSIS
.B tessaline
[\\fB\\-\\-bundle\\fR \\fIPATH\\fR] \\fIcommand\\fR [\\fIargs\\fR]
.SH DESCRIPTION
.nf
${usage}
.fi
${command_sections}.SH FILES
.TP
.I /usr/lib/vst3/Tessaline.vst3
the plug-in bundle
.TP
.I /usr/share/vst3/presets/Quorvane/Tessaline
the factory presets as .vstpreset files
.TP
.I DIR/rooms.jsonl
written by \\fBrender \\-\\-vary\\fR beside its outputs: one JSON object per output that
run wrote (input, output, preset, set, mix, seed), which \\fBrender \\-\\-list\\fR reads back;
a later render into the folder without \\-\\-vary drops the lines of the outputs it replaces
.TP
.I /usr/share/bash-completion/completions/tessaline
bash completion of the commands, options, parameter titles and presets
.SH EXAMPLES
.nf
Every take of a folder, two at a time:
  tessaline render takes/*.wav \\-o out/ \\-\\-jobs 2
A corpus through a thousand rooms, each drawn from seed 7 and recorded in out/rooms.jsonl:
  tessaline render corpus/*.wav \\-o out/ \\-\\-seed 7 \\-\\-vary Position=L90,Center,R90 \\-\\-vary \\(dqAbs L\\-R=2:9\\(dq
The same room at any file rate:
  tessaline render speech16k.wav wet.wav \\-\\-room\\-rate 48000
A job list split over two machines that share the folders, with GNU parallel (each
host first changes into the shared folder, since a list's relative names are taken from the
working directory):
  split \\-n l/2 jobs.txt part.
  parallel \\-S host1,host2 \\(aqcd /shared/project && tessaline render \\-\\-list {}\\(aq ::: part.*
.fi
")
