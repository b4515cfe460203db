# Runs the folianutils tool the way a user or a script does and checks what
# it prints and its exit status.
#   cmake -DTOOL=<folianutils> [-DEMULATOR=<wine>] -DWORK=<folder> -P tool_test.cmake

set(failures 0)

# run(<expected status> <expected output regex> <args...>)
function(run status pattern)
  execute_process(COMMAND ${EMULATOR} ${TOOL} ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r" "" out "${out}")
  if(NOT result EQUAL status OR NOT out MATCHES "${pattern}")
    message(SEND_ERROR "folianutils ${ARGN}\n  status ${result} (want ${status})\n"
      "  output: ${out}\n  want: ${pattern}\n  stderr: ${err}")
  endif()
endfunction()

run(0 "^usage: folianutils" --help)
run(2 "^$")
run(2 "^$" no-such-command)
run(2 "^$" format-length abc)
run(2 "^$" format-length 1 --precision)
run(0 "^FolianUtils 26\n$" version)
run(0 "^5'-6 1/2\"\n$" format-length 66.5 --format architectural --precision 4)
run(0 "^~ 25.41 mm\n$" format-length 1.0005 --units mm)
run(0 "^1.0000 r\n$" format-angle 1)
run(0 "^30.0°\n$" format-angle 0.5235987755982988 --vcb)
run(0 "^~ 1:3.33\n$" format-scale 0.3)
run(0 "^66.5\n$" parse-length "5'-6 1/2\"")
run(1 "^none\n$" parse-length 1/0)
run(0 "^0.02\n$" parse-scale 1:50)
run(1 "^none\n$" parse-scale 1cm:50)
run(0 "^mixed\n$" length-units "10mm, 5cm")
run(0 "\"text\":\"45.00°\"" --json format-angle 0.7853981633974483 --units deg --precision 2)
run(0 "length" vcb 12.5)

file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/requests.txt
  "format-length 66.5 --format architectural --precision 4\n"
  "parse-scale '1\"=4'\\'\n"
  "bogus\n"
  "parse-length \"5' 6\"\n")
execute_process(COMMAND ${EMULATOR} ${TOOL} batch INPUT_FILE ${WORK}/requests.txt
  RESULT_VARIABLE result OUTPUT_VARIABLE out)
string(REPLACE "\r" "" out "${out}")
set(want "5'-6 1/2\"\n0.020833333333333332\nerror: [^\n]*\n66\n")
if(NOT out MATCHES "^${want}$")
  message(SEND_ERROR "batch answered:\n${out}\nwant:\n${want}")
endif()

# Preferences live in the test's own folders (see the test's environment).
run(0 "" prefs-set ToolTestKey 42 --type int)
run(0 "42" prefs-get ToolTestKey)
run(1 "^none\n$" prefs-get NoSuchToolTestKey)
# A save that fails says so and exits 1 (the path printed under Wine is a
# Windows one, so only natively).
if(NOT EMULATOR)
  execute_process(COMMAND ${TOOL} prefs-paths OUTPUT_VARIABLE paths)
  string(REGEX MATCH "public\t([^\n]*)" found "${paths}")
  set(public "${CMAKE_MATCH_1}")
  file(RENAME "${public}" "${public}.kept")
  file(MAKE_DIRECTORY "${public}")
  execute_process(COMMAND ${TOOL} prefs-set ToolTestKey 43 --type int
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 1 OR NOT err MATCHES "^folianutils: .*public.json: cannot read")
    message(SEND_ERROR "prefs-set over a folder: status ${result}, stderr: ${err}")
  endif()
  file(REMOVE_RECURSE "${public}")
  file(RENAME "${public}.kept" "${public}")
endif()
