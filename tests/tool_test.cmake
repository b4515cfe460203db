# Runs the folianutils tool as users and scripts do, case by case from the
# table in tool_cases.cmake, and checks standard output, standard error and
# the exit status of each.
#   cmake -DTOOL=<folianutils> [-DEMULATOR=<wine>] -DWORK=<folder>
#         [-DPROFILE=<folder>] [-DONLY=<regex of case names>] -P tool_test.cmake
# PROFILE: a fresh home and XDG folders for the run (not under Wine, whose
# profile is the Wine prefix).
#
# A case:
#   tool_case(<name> ARGS <arguments...>
#     [STATUS <regex, 0 by default>]
#     [OUT <exact standard output> | OUT_MATCHES <regex>]
#     [ERR <regex; standard error must be empty by default>]
#     [INPUT <standard input text>] [INPUT_FILE <file>]
#     [JSON <[line:]path=value>...]   every output line must then be a JSON
#                                      object; path is dot-separated, value
#                                      as CMake reads it (true is ON, null is
#                                      <null>). Without --json in ARGS the
#                                      case runs twice: as given, for OUT,
#                                      and with --json added, for JSON
#     [STDOUT_FILE <file>]             standard output goes to the file
#     [PIPE_HEAD]                      standard output goes through head -n 1
#     [NATIVE])                        not under an emulator
# Cases named Linux_* need a Linux host (/dev/full, head).
#
# Every JSON answer the cases see is checked against the tool's JSON Schema
# (tool/answers.schema.json, with python3-jsonschema); natively, every
# command must have been seen answering and failing.
#
# Completion: completion_case(<partial command line> <offers, sorted>...)
# drives the tool's bash completion as bash would at the end of the line.
#
# The man page's examples (tool/folianutils.examples) run in sh, each
# giving the answer shown.
cmake_minimum_required(VERSION 3.20)

# Counts a case; a failed one (`failed` not empty) reports the rest.
function(count_case failed)
  set_property(GLOBAL APPEND PROPERTY tool_test_ran x)
  if(failed)
    set_property(GLOBAL APPEND PROPERTY tool_test_failed x)
    message(SEND_ERROR ${ARGN})
  endif()
endfunction()
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
# A PNG that declares the background 0 128 255.
configure_file(${CMAKE_CURRENT_LIST_DIR}/../fuzz/corpus/png_background/rgb8 ${WORK}/background.png
  COPYONLY)
file(WRITE ${WORK}/answers.jsonl "")
set(tool_dir ${CMAKE_CURRENT_LIST_DIR}/../tool)
if(EXISTS /dev/full AND CMAKE_HOST_UNIX)
  set(linux_host TRUE)
else()
  set(linux_host FALSE)
endif()

if(EMULATOR)
  # One Wine server for every case: starting one per case costs seconds.
  # Its services are started here with no pipe of ours as their output, so
  # they hold no case's output open. A new Wine prefix is set up, with
  # messages, by its first program.
  get_filename_component(wine_dir ${EMULATOR} DIRECTORY)
  find_program(WINESERVER NAMES wineserver64 wineserver HINTS ${wine_dir} NO_DEFAULT_PATH)
  if(WINESERVER)
    execute_process(COMMAND ${WINESERVER} -p10 INPUT_FILE /dev/null OUTPUT_FILE /dev/null
      ERROR_FILE /dev/null)
  endif()
  execute_process(COMMAND ${EMULATOR} ${TOOL} version INPUT_FILE /dev/null OUTPUT_FILE /dev/null
    ERROR_FILE /dev/null)
endif()

# A usage error: the message and the hint to --help, on standard error.
set(usage "^folianutils: [^\n]+\nRun 'folianutils( [a-z-]+)? --help' for more information\\.\n$")

function(check_json name line_text checks)
  foreach(check IN LISTS checks)
    string(REGEX MATCH "^(([0-9]+):)?([^=]+)=(.*)$" matched "${check}")
    math(EXPR index "0${CMAKE_MATCH_2}")
    set(want "${CMAKE_MATCH_4}")
    string(REPLACE "." ";" path "${CMAKE_MATCH_3}")
    list(LENGTH line_text lines)
    if(index GREATER_EQUAL lines)
      message(SEND_ERROR "${name}: no output line ${index} for ${check}")
      continue()
    endif()
    list(GET line_text ${index} json)
    string(JSON type ERROR_VARIABLE error TYPE "${json}" ${path})
    set(got "<null>")
    if(NOT type STREQUAL "NULL")
      string(JSON got ERROR_VARIABLE error GET "${json}" ${path})
    endif()
    if(error)
      message(SEND_ERROR "${name}: ${check}: ${error}\n  line: ${json}")
    elseif(NOT got STREQUAL want)
      message(SEND_ERROR "${name}: ${check}: got '${got}'\n  line: ${json}")
    endif()
  endforeach()
endfunction()

function(tool_case name)
  cmake_parse_arguments(PARSE_ARGV 1 C "PIPE_HEAD;NATIVE"
    "STATUS;OUT;OUT_MATCHES;ERR;INPUT;INPUT_FILE;STDOUT_FILE" "ARGS;JSON")
  if((DEFINED ONLY AND NOT name MATCHES "${ONLY}") OR (C_NATIVE AND EMULATOR)
     OR (name MATCHES "^Linux_" AND NOT linux_host))
    return()
  endif()
  if(NOT DEFINED C_STATUS)
    set(C_STATUS 0)
  endif()
  if(NOT DEFINED C_ERR)
    set(C_ERR "^$")
  endif()
  set(input INPUT_FILE ${WORK}/empty.txt)
  if(DEFINED C_INPUT)
    file(WRITE ${WORK}/${name}.in "${C_INPUT}")
    set(input INPUT_FILE ${WORK}/${name}.in)
  elseif(DEFINED C_INPUT_FILE)
    set(input INPUT_FILE ${C_INPUT_FILE})
  endif()
  set(output OUTPUT_VARIABLE out)
  if(C_STDOUT_FILE)
    set(output OUTPUT_FILE ${C_STDOUT_FILE})
  endif()
  if(C_PIPE_HEAD)
    set(pipe COMMAND head -n 1)
  endif()
  # JSON checks on a plain case: the same command again with --json.
  set(passes plain)
  if(DEFINED C_JSON AND NOT "--json" IN_LIST C_ARGS)
    list(APPEND passes json)
  endif()
  foreach(pass IN LISTS passes)
    set(args ${C_ARGS})
    if(pass STREQUAL "json")
      list(APPEND args --json)
    endif()
    set(out "")
    execute_process(COMMAND ${EMULATOR} ${TOOL} ${args} ${pipe} ${input} ${output}
      ERROR_VARIABLE err RESULTS_VARIABLE statuses WORKING_DIRECTORY ${WORK})
    list(GET statuses 0 status)
    # Windows writes text with CR LF.
    string(REPLACE "\r" "" out "${out}")
    string(REPLACE "\r" "" err "${err}")
    set(problems "")
    if(NOT status MATCHES "^(${C_STATUS})$")
      string(APPEND problems "  status ${status}, want ${C_STATUS}\n")
    endif()
    if(NOT err MATCHES "${C_ERR}")
      string(APPEND problems "  stderr does not match ${C_ERR}\n")
    endif()
    if(pass STREQUAL "plain")
      if(DEFINED C_OUT AND NOT out STREQUAL C_OUT)
        string(APPEND problems "  stdout differs, want:\n${C_OUT}\n")
      endif()
      if(DEFINED C_OUT_MATCHES AND NOT out MATCHES "${C_OUT_MATCHES}")
        string(APPEND problems "  stdout does not match ${C_OUT_MATCHES}\n")
      endif()
    endif()
    if("--json" IN_LIST args)
      # Every answer line is one JSON object.
      string(REGEX REPLACE "\n$" "" lines "${out}")
      string(REPLACE ";" "\\;" lines "${lines}")
      string(REPLACE "\n" ";" lines "${lines}")
      foreach(line IN LISTS lines)
        string(JSON type ERROR_VARIABLE error TYPE "${line}")
        if(error OR NOT type STREQUAL "OBJECT")
          string(APPEND problems "  not a JSON object: ${line}\n")
        endif()
      endforeach()
      file(APPEND ${WORK}/answers.jsonl "${out}")
      check_json(${name} "${lines}" "${C_JSON}")
    endif()
    count_case("${problems}" "FAILED ${name}: folianutils ${args}\n${problems}"
      "  status: ${status}\n  stdout:\n${out}\n  stderr:\n${err}")
  endforeach()
endfunction()

# The script bash completion runs, and a driver that splits a partial line
# into COMP_WORDS as bash does ("--opt=value" is "--opt", "=", "value").
if(linux_host)
  execute_process(COMMAND ${EMULATOR} ${TOOL} completion OUTPUT_VARIABLE script
    RESULT_VARIABLE status INPUT_FILE /dev/null)
  string(REPLACE "\r" "" script "${script}")
  file(WRITE ${WORK}/completion.bash "${script}")
  file(WRITE ${WORK}/complete.sh [=[
set -f
source "$1"
words=()
for word in $2; do
  if [[ $word == --*=* ]]; then
    words+=("${word%%=*}" "=")
    [[ -n ${word#*=} ]] && words+=("${word#*=}")
  else
    words+=("$word")
  fi
done
[[ $2 == *" " ]] && words+=("")
COMP_WORDS=("${words[@]}")
COMP_CWORD=$((${#words[@]} - 1))
COMPREPLY=()
_folianutils
printf '%s
' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '
' ' '
]=])
endif()

function(completion_case line)
  if(DEFINED ONLY AND NOT "completion ${line}" MATCHES "${ONLY}")
    return()
  endif()
  if(NOT linux_host)
    return()
  endif()
  string(JOIN " " want ${ARGN})
  execute_process(COMMAND bash ${WORK}/complete.sh ${WORK}/completion.bash "${line}"
    OUTPUT_VARIABLE got ERROR_VARIABLE err RESULT_VARIABLE status WORKING_DIRECTORY ${WORK})
  string(STRIP "${got}" got)
  set(failed OFF)
  if(NOT status EQUAL 0 OR NOT got STREQUAL want OR NOT err STREQUAL "")
    set(failed ON)
  endif()
  count_case(${failed} "FAILED completion of '${line}':\n  got '${got}'\n  want '${want}'\n${err}")
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/tool_cases.cmake)

# The man page's examples: "$ command line" and the lines it prints.
if(linux_host AND (NOT DEFINED ONLY OR "examples" MATCHES "${ONLY}"))
  include(${tool_dir}/examples.cmake)
  folian_example_lines(${tool_dir}/folianutils.examples example)
  set(count 0)
  foreach(i RANGE 1 ${example_count})
    set(line "${example_${i}}")
    if(line MATCHES "^\\$ (.*)$")
      math(EXPR count "${count} + 1")
      set(command_${count} "${CMAKE_MATCH_1}")
      set(shown_${count} "")
    else()
      string(APPEND shown_${count} "${line}\n")
    endif()
  endforeach()
  foreach(n RANGE 1 ${count})
    execute_process(COMMAND sh -c "folianutils() { ${EMULATOR} '${TOOL}' \"$@\"; }\n${command_${n}}"
      OUTPUT_VARIABLE printed ERROR_VARIABLE err WORKING_DIRECTORY ${WORK})
    string(REPLACE "\r" "" printed "${printed}")
    set(failed OFF)
    if(NOT printed STREQUAL shown_${n})
      set(failed ON)
    endif()
    count_case(${failed} "FAILED example: ${command_${n}}\n  printed:\n${printed}\n  shown:\n${shown_${n}}")
  endforeach()
endif()

# Every JSON answer seen, against the schema.
if(NOT DEFINED ONLY)
  set(coverage --every-command)
  if(EMULATOR)
    set(coverage "")
  endif()
  execute_process(COMMAND python3 ${tool_dir}/check_answers.py ${tool_dir}/answers.schema.json
    ${WORK}/answers.jsonl ${coverage} OUTPUT_VARIABLE report ERROR_VARIABLE report
    RESULT_VARIABLE status)
  count_case("${status}" "FAILED the JSON answers against tool/answers.schema.json:\n${report}")
endif()
if(EMULATOR AND WINESERVER)
  execute_process(COMMAND ${WINESERVER} -k INPUT_FILE /dev/null OUTPUT_FILE /dev/null
    ERROR_FILE /dev/null)
endif()
get_property(ran GLOBAL PROPERTY tool_test_ran)
get_property(failed GLOBAL PROPERTY tool_test_failed)
list(LENGTH ran ran)
list(LENGTH failed failed)
message(STATUS "${ran} cases run, ${failed} failed")
