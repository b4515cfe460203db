# Runs the folianutils tool as users and scripts do, case by case from the
# table in tool_cases.cmake, checking exit status, standard output and error.
#   cmake -DTOOL=<folianutils> [-DEMULATOR=<wine>] -DWORK=<folder> -DVERSION=<--version's>
#         [-DPROFILE=<fresh home and XDG folders; not under Wine>]
#         [-DONLY=<regex of case names>] -P tool_test.cmake
#   tool_case(<name> ARGS <arguments...> [STATUS <regex, 0 by default>]
#     [OUT <exact standard output> | OUT_MATCHES <regex>]
#     [ERR <regex; empty by default>] [INPUT <text>] [WIDTH <most columns of output>]
#     [JSON <[line:]path=value>...]  fields of the answer; path dot-separated, value
#                                    as CMake reads it (true is ON, null <null>);
#                                    without --json in ARGS the case runs again with it
#     [STDOUT_FILE <file> | PIPE_HEAD] [TIMEOUT <seconds>])
# Linux_* cases need /dev/full and head. Every JSON answer is checked against
# tool/answers.schema.json; natively, every command must be seen answering and
# failing. completion_case(<partial line> <sorted offers>...) drives the bash
# completion; the man page's examples run in sh, giving the answers shown.
cmake_minimum_required(VERSION 3.20)

string(ASCII 255 FF)  # a byte that never occurs in UTF-8
file(MAKE_DIRECTORY ${WORK})
if(DEFINED PROFILE)
  file(REMOVE_RECURSE ${PROFILE})
  set(ENV{HOME} ${PROFILE})
  set(ENV{XDG_CONFIG_HOME} ${PROFILE}/config)
  set(ENV{XDG_DATA_HOME} ${PROFILE}/local)
  set(ENV{XDG_DATA_DIRS} ${PROFILE}/shared)
endif()
file(WRITE ${WORK}/empty.txt "")
file(WRITE ${WORK}/answers.jsonl "")
# A PNG that declares the background 0 128 255.
file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/png_background/rgb8 ${WORK}/background.png)
set(tool_dir ${CMAKE_CURRENT_LIST_DIR}/../tool)

if(EMULATOR)
  # One Wine server for every case (one each costs seconds), started on
  # /dev/null: a pipe of ours it held open would never end.
  get_filename_component(wine_dir ${EMULATOR} DIRECTORY)
  find_program(WINESERVER NAMES wineserver64 wineserver HINTS ${wine_dir} NO_DEFAULT_PATH)
  set(quiet INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
  if(WINESERVER)
    execute_process(COMMAND ${WINESERVER} -p10 ${quiet})
  endif()
  execute_process(COMMAND ${EMULATOR} ${TOOL} version ${quiet})
endif()

# A usage error: the message and the hint to --help, on standard error.
set(usage "^folianutils: [^\n]+\nRun 'folianutils( [a-z-]+)? --help' for more information\\.\n$")

function(tool_case name)
  cmake_parse_arguments(PARSE_ARGV 1 C "PIPE_HEAD" "STATUS;OUT;OUT_MATCHES;ERR;INPUT;STDOUT_FILE;TIMEOUT;WIDTH"
    "ARGS;JSON")
  if((DEFINED ONLY AND NOT name MATCHES "${ONLY}") OR (name MATCHES "^Linux_" AND NOT EXISTS /dev/full))
    return()
  endif()
  if(NOT DEFINED C_STATUS)
    set(C_STATUS 0)
  endif()
  if(NOT DEFINED C_ERR)
    set(C_ERR "^$")
  endif()
  file(WRITE ${WORK}/${name}.in "${C_INPUT}")
  set(output OUTPUT_VARIABLE out)
  if(C_STDOUT_FILE)
    set(output OUTPUT_FILE ${C_STDOUT_FILE})
  endif()
  if(C_PIPE_HEAD)
    set(pipe COMMAND head -n 1)
  endif()
  if(C_TIMEOUT)
    set(timeout TIMEOUT ${C_TIMEOUT})
  endif()
  string(REPEAT "[^\n]" 0${C_WIDTH} wide)
  foreach(extra IN ITEMS "" --json)
    if(extra AND (NOT DEFINED C_JSON OR "--json" IN_LIST C_ARGS))
      break()
    endif()
    set(args ${C_ARGS} ${extra})
    set(out "")
    execute_process(COMMAND ${EMULATOR} ${TOOL} ${args} ${pipe} INPUT_FILE ${WORK}/${name}.in ${output}
      ERROR_VARIABLE err RESULTS_VARIABLE statuses WORKING_DIRECTORY ${WORK} ${timeout})
    list(GET statuses 0 status)
    string(REPLACE "\r" "" out "${out}")  # Windows writes CR LF
    string(REPLACE "\r" "" err "${err}")
    if(NOT status MATCHES "^(${C_STATUS})$" OR NOT err MATCHES "${C_ERR}" OR (NOT extra
       AND ((C_WIDTH AND out MATCHES "${wide}[^\n]") OR (DEFINED C_OUT AND NOT out STREQUAL C_OUT)
            OR (DEFINED C_OUT_MATCHES AND NOT out MATCHES "${C_OUT_MATCHES}"))))
      message(SEND_ERROR "FAILED ${name}: folianutils ${args}\n  status: ${status}\n"
        "  stdout:\n${out}\n  stderr:\n${err}")
    endif()
    if(NOT "--json" IN_LIST args)
      continue()
    endif()
    file(APPEND ${WORK}/answers.jsonl "${out}")
    string(REGEX REPLACE "\n$" "" lines "${out}")
    string(REPLACE ";" "\\;" lines "${lines}")
    string(REPLACE "\n" ";" lines "${lines}")
    foreach(check IN LISTS C_JSON)
      string(REGEX MATCH "^(([0-9]+):)?([^=]+)=(.*)$" matched "${check}")
      string(REPLACE "." ";" path "${CMAKE_MATCH_3}")
      list(GET lines 0${CMAKE_MATCH_2} json)
      string(JSON type ERROR_VARIABLE error TYPE "${json}" ${path})
      set(got "<null>")
      if(NOT type STREQUAL "NULL")
        string(JSON got ERROR_VARIABLE error GET "${json}" ${path})
      endif()
      if(error OR NOT got STREQUAL "${CMAKE_MATCH_4}")
        message(SEND_ERROR "FAILED ${name}: ${check}: got '${got}'\n  line: ${json}")
      endif()
    endforeach()
  endforeach()
endfunction()

# The script bash completion runs, and a driver that splits a partial line
# into COMP_WORDS as bash does ("--opt=value" is "--opt", "=", "value") and
# prints the offers, after the options the script asks of compopt.
if(EXISTS /dev/full)
  execute_process(COMMAND ${EMULATOR} ${TOOL} completion OUTPUT_FILE ${WORK}/completion.bash
    INPUT_FILE /dev/null)
  file(WRITE ${WORK}/complete.sh [=[
set -f
source <(tr -d '\r' < "$1")
compopt() { printf '[%s]|' "$*"; }
read -ra COMP_WORDS <<< "${2//=/ = }"
[[ $2 == *" " ]] && COMP_WORDS+=("")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMPREPLY=()
_folianutils
printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' '|'
]=])
endif()

function(completion_case line)
  if((DEFINED ONLY AND NOT "completion ${line}" MATCHES "${ONLY}") OR NOT EXISTS /dev/full)
    return()
  endif()
  string(JOIN "|" want ${ARGN})
  execute_process(COMMAND bash ${WORK}/complete.sh ${WORK}/completion.bash "${line}"
    OUTPUT_VARIABLE got ERROR_VARIABLE err RESULT_VARIABLE status WORKING_DIRECTORY ${WORK})
  string(REGEX REPLACE "\\|$" "" got "${got}")
  if(NOT status EQUAL 0 OR NOT got STREQUAL want OR NOT err STREQUAL "")
    message(SEND_ERROR "FAILED completion of '${line}':\n  got '${got}'\n  want '${want}'\n${err}")
  endif()
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/tool_cases.cmake)

# The man page's examples: "$ command line" and the lines it prints.
if(EXISTS /dev/full AND (NOT DEFINED ONLY OR "examples" MATCHES "${ONLY}"))
  include(${tool_dir}/examples.cmake)
  folian_example_lines(${tool_dir}/folianutils.examples example)
  set(script "folianutils() { ${EMULATOR} '${TOOL}' \"$@\"; }\n")
  foreach(i RANGE 1 ${example_count})
    if(example_${i} MATCHES "^\\$ (.*)$")
      string(APPEND script "${CMAKE_MATCH_1}\n")
    else()
      string(APPEND shown "${example_${i}}\n")
    endif()
  endforeach()
  execute_process(COMMAND sh -c "${script}" OUTPUT_VARIABLE printed WORKING_DIRECTORY ${WORK})
  string(REPLACE "\r" "" printed "${printed}")
  if(NOT printed STREQUAL shown)
    message(SEND_ERROR "FAILED the examples:\n${script}\n  printed:\n${printed}\n  shown:\n${shown}")
  endif()
endif()

# Every JSON answer seen, against the schema.
if(NOT DEFINED ONLY)
  if(NOT EMULATOR)
    set(coverage --every-command)
  endif()
  execute_process(COMMAND python3 ${tool_dir}/check_answers.py ${tool_dir}/answers.schema.json
    ${WORK}/answers.jsonl ${coverage} OUTPUT_VARIABLE report ERROR_VARIABLE report
    RESULT_VARIABLE status)
  if(status)
    message(SEND_ERROR "FAILED the JSON answers against tool/answers.schema.json:\n${report}")
  endif()
endif()
if(EMULATOR AND WINESERVER)
  execute_process(COMMAND ${WINESERVER} -k ${quiet})
endif()
