# Writes a help2man include file with a COMMANDS section: the --help of
# every command the tool lists.
#   cmake -DTOOL=<folianutils> -DOUTPUT=<file.h2m> -P man_commands.cmake
execute_process(COMMAND ${TOOL} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "folianutils --help failed: ${status}")
endif()
# Command lines in the listing start with two blanks and a lower-case name;
# option lines start with "-".
string(REGEX MATCHALL "\n  [a-z][-a-z]*  " names "${help}")
set(text "[COMMANDS]\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${TOOL} ${name} --help OUTPUT_VARIABLE command_help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "folianutils ${name} --help failed: ${status}")
  endif()
  # roff: backslashes are escapes, and a line starting with . or ' a request.
  string(REPLACE "\\" "\\e" command_help "${command_help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" command_help "${command_help}")
  string(APPEND text ".SS ${name}\n.nf\n${command_help}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
