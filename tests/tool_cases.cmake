# The folianutils test table; tool_test.cmake runs it (the format is
# described there). One case per way through the tool: the library's own
# tests check the values. Cases run in order: the preference cases build on
# each other.

# ---- help, version and every usage error class --------------------------------

# Every help fits 80 columns; asked for with --json, it is help's answer.
tool_case(help ARGS --help WIDTH 80 JSON "command=help"
  OUT_MATCHES "^Formats and reads .*\nUsage: folianutils \\[OPTIONS\\] SUBCOMMAND\n.*\nCommands:\n  Measurements:\n    demo  .*\n    version  .*\nExit status:\n  0  answered")
tool_case(help_command_alone ARGS help OUT_MATCHES "^Formats and reads " JSON "command=help" "ok=ON")
string(REPLACE "." "\\." version "${VERSION}")
tool_case(version_flag ARGS --version JSON "tool_version=${VERSION}" "library_version=26"
  OUT_MATCHES "^folianutils ${version}\nFolianUtils library 26, built for [^\n]+\n$")
set(commands number format-length format-area format-angle format-scale parse-length
  parse-lengths eval-length parse-angle parse-scale length-units demo vcb vcb-demo support-folders
  find-support-file upgrade-version culture help-url png-background prefs-list prefs-get
  prefs-set prefs-import prefs-paths prefs-watch version batch help completion)
tool_case(help_flag_of_command ARGS prefs-set --help WIDTH 80
  OUT_MATCHES "\nUsage: folianutils prefs-set [^\n]*\n.*  --app-version N  ")
foreach(command IN LISTS commands)
  tool_case(help_${command} ARGS help ${command} WIDTH 80 OUT_MATCHES "\nUsage: folianutils ${command} [^\n]*\n.*  -h,--help  ")
  tool_case(usage_json_${command} ARGS ${command} --xyzzy --json STATUS 2
    JSON "command=${command}" "ok=OFF" ERR "^folianutils: unknown option '--xyzzy'\nRun ")
endforeach()
# Usage errors: the arguments => the message (exit 2, nothing on standard
# output, the hint to --help on standard error).
foreach(row IN ITEMS
    " => missing command"
    "format-lenght 66.5 => unknown command 'format-lenght'; did you mean 'format-length'?"
    "--jsno version => unknown option '--jsno'; did you mean '--json'?"
    "help vbc => unknown command 'vbc'; did you mean 'vcb'?"
    "format-length 66.5 --version 3 => --version is not an option of format-length; 'folianutils --version' alone prints the tool's version"
    "-V format-length 1 => -V is not an option of format-length; 'folianutils -V' alone prints the tool's version"
    "prefs-get draft_mode --version 25 => --version prints the tool's version; the files' application version is --app-version N"
    "parse-length 5 --json=true => --json takes no value"
    "help-url x --open=yes => --open takes no value"
    "format-length 1 3 2 => format-length: unexpected arguments '3' '2'"
    "format-length 1 --precision => --precision: missing value N"
    "format-length 1 -v => unknown option '-v'"
    "format-length => INCHES is required"
    "format-length abc => INCHES: 'abc' is not a number"
    "format-length 1 --format metric => --format: 'metric' is not one of decimal|architectural|engineering|fractional"
    "vcb 1 --ref 3 => --ref: '3' is not X,Y"
    "prefs-set ToolTestUntyped 1 => the type of 'ToolTestUntyped' is not known: give --type"
    "prefs-set draft_mode maybe => a bool is true or false, not 'maybe'"
    "prefs-set k 1.5 --type int => VALUE: '1.5' is not a whole number from -2147483648 to 2147483647")
  string(REGEX MATCH "^(.*) => (.*)$" row "${row}")
  separate_arguments(args UNIX_COMMAND "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "([][.*+?^$(){}|\\])" "\\\\\\1" message "${CMAKE_MATCH_2}")
  tool_case("usage ${CMAKE_MATCH_1}" ARGS ${args} STATUS 2 OUT ""
    ERR "^folianutils: ${message}\nRun 'folianutils( [a-z-]+)? --help' for more information\\.\n$")
endforeach()
tool_case(usage_json_unknown_command ARGS bogus --json STATUS 2
  OUT "{\"ok\":false,\"error\":{\"reason\":\"unknown command 'bogus'\"}}\n" ERR "${usage}")
if(NOT EMULATOR)  # Wine makes UTF-16 of any bytes
  tool_case(Linux_usage_invalid_utf8_argument ARGS parse-length "5${FF}" STATUS 2 OUT ""
    JSON "ok=OFF" "error.reason=an argument is not valid UTF-8"
    ERR "^folianutils: an argument is not valid UTF-8\nRun 'folianutils --help' for more information\\.\n$")
endif()

# ---- the argument forms every command takes ---------------------------------

tool_case(options_anywhere_last_wins ARGS format-length --format=architectural 66.5 --precision 0
  --precision 4 OUT "5'-6 1/2\"\n")
tool_case(double_dash_ends_options ARGS parse-length -- --units STATUS 1 OUT "none\n")
tool_case(negative_number ARGS format-length -5 OUT "-5.00\"\n")
tool_case(command_name_as_text ARGS parse-length version STATUS 1 OUT "none\n")

# ---- every command's answers, plain and JSON, and its "none" ---------------------

tool_case(version ARGS version OUT "FolianUtils 26\n" JSON "version=26")
tool_case(number ARGS number 12.75 OUT "12.75\n" JSON "value=12.75")
tool_case(number_none ARGS number abc STATUS 1 OUT "none\n" JSON "ok=OFF" "value=<null>")
tool_case(format_length ARGS format-length 1.0005 --units mm OUT "~ 25.41 mm\n" JSON "text=~ 25.41 mm")
tool_case(format_length_flags ARGS format-length 1.0005 --units mm --suppress-units --no-approx
  OUT "25.41\n")
tool_case(format_area ARGS format-area 4000 --format architectural --precision 4
  OUT "27.7778 Feet ²\n" JSON "square_inches=4000")
tool_case(format_angle ARGS format-angle 0.7853981633974483 --units deg --precision 2
  OUT "45.00°\n" JSON "text=45.00°")
tool_case(format_angle_vcb ARGS format-angle 0.5235987755982988 --vcb OUT "30.0°\n")
tool_case(format_scale ARGS format-scale 0.02 OUT "1:50\n" JSON "scale=0.02" "text=1:50")
tool_case(format_scale_pair ARGS format-scale 1 2 OUT "1.000, 2.000\n" JSON "a=1" "b=2")
tool_case(parse_length ARGS parse-length "5'-6 1/2\"" OUT "66.5\n" JSON "inches=66.5")
tool_case(parse_length_units ARGS parse-length 25.4 --units mm OUT "1\n")
tool_case(parse_length_none ARGS parse-length "five feet" STATUS 1 OUT "none\n"
  JSON "ok=OFF" "text=five feet" "inches=<null>")
tool_case(parse_lengths ARGS parse-lengths "1,2.5,3" --count 2 OUT "1 2.5\n" JSON "count=2" "inches.1=2.5")
tool_case(parse_lengths_none ARGS parse-lengths abc STATUS 1 OUT "none\n" JSON "ok=OFF" "count=0")
tool_case(eval_length ARGS eval-length "1' + 6\"" --format architectural OUT "18\n"
  JSON "inches=18" "formatted=1'-6\"")
tool_case(eval_length_units ARGS eval-length "2 * 3 mm + 4 mm" --units=mm OUT_MATCHES "^0\\.3937007874015[0-9]*\n$")
tool_case(eval_length_ratio ARGS eval-length "6' / 18\"" --ratio OUT "4\n" JSON "ratio=4")
tool_case(eval_length_none ARGS eval-length "5 + x" STATUS 1 OUT "none\n"
  JSON "ok=OFF" "inches=<null>" "error.reason=unexpected character" "error.position=4"
  ERR "^folianutils eval-length: unexpected character at 4\n$")
tool_case(parse_angle ARGS parse-angle 25% OUT "90\n" JSON "value=90")
tool_case(parse_angle_none ARGS parse-angle abc STATUS 1 OUT "none\n" JSON "ok=OFF")
tool_case(parse_scale ARGS parse-scale 1:50 OUT "0.02\n" JSON "scale=0.02")
tool_case(parse_scale_none ARGS parse-scale 1:0 STATUS 1 OUT "none\n" JSON "ok=OFF" "scale=<null>")
tool_case(length_units ARGS length-units "10mm, 5cm" OUT "mixed\n" JSON "units=mixed")
tool_case(length_units_none ARGS length-units abc STATUS 1 OUT "none\n" JSON "ok=OFF" "units=<null>")
tool_case(demo ARGS demo OUT_MATCHES "^length architectural p0 +66\\.5655 in +5'-7\"\n.*\ntyped scale +1cm:50 +invalid\n$"
  JSON "demo.0.what=length architectural p0" "demo.0.output=5'-7\"")
tool_case(vcb ARGS vcb 12.5 OUT "text=12.5\ntrigger_char=true\ntrigger_text=false\nlength=12.5\nangle=12.5\nunitless=12.5\narray=none\nrows_columns=false\nrows=0\ncolumns=0\npoint_mode=relative\npoint=12.5,0\n")
tool_case(vcb_point_json ARGS vcb "[w3,h4]" --width 10 --height 20 --json
  JSON "point_mode=absolute" "length=<null>" "array=<null>")
tool_case(vcb_array ARGS vcb 5/ OUT_MATCHES "\narray=5 divisions\n" JSON "array.count=5" "array.division=ON")
tool_case(vcb_demo ARGS vcb-demo OUT_MATCHES "^text=5\ntrigger_char=true\n.*\n\ntext=   \n"
  JSON "readings.0.text=5" "readings.2.length=66")
# The all-users folder is the current version's whatever --app-version says.
tool_case(support_folders ARGS support-folders --app-version 25
  OUT_MATCHES "^user \\(version 25\\)\t[^\n]+2025[^\n]*\ninstall \\(always the current version, 26\\)\t[^\n]+2026[^\n]*\ntrelvin\t[^\n]+\n$"
  JSON "user_version=25" "install_version=26" "trelvin=<null>")
tool_case(find_support_file_none ARGS find-support-file no-such-file.txt STATUS 1 OUT "none\n"
  JSON "ok=OFF" "path=<null>")
# support-folders made the folder of version 25 above.
tool_case(upgrade_version ARGS upgrade-version OUT "25\n" JSON "version=25")
tool_case(culture ARGS culture OUT_MATCHES "^culture\t[^\n]+\nlanguage\t[^\n]+\nweb\t[^\n]+\nos-locale\t[^\n]+\n$"
  JSON "os_locale=en-US")
tool_case(help_url_none ARGS help-url no.such.topic STATUS 1 OUT "none\n" JSON "ok=OFF" "url=<null>")
# Natively the per-user support folder is known: a help table there.
if(NOT EMULATOR)
  file(WRITE "${PROFILE}/config/Trelvin/Trelvin 2026/Folian/helpurls.json"
    "{\"topic\": \"https://help.invalid/{VERSION}/topic\"}")
  tool_case(help_url_json ARGS help-url topic --json
    JSON "ok=ON" "url=https://help.invalid/26/topic" "local_file=OFF")
endif()
tool_case(png_background ARGS png-background background.png OUT "0 128 255 255\n"
  JSON "color.blue=255")
# A file that is no PNG has no background; a file that cannot be read is
# a usage error in the system's words.
tool_case(png_background_none ARGS png-background empty.txt STATUS 1 OUT "none\n"
  JSON "color=<null>")
foreach(command IN ITEMS png-background batch)
  tool_case(${command}_missing_file ARGS ${command} x.png STATUS 2 OUT ""
    ERR "^folianutils: x\\.png: No such file or directory\n$")
endforeach()
# A FIFO is refused at once: opening it would wait for a writer. Natively
# only: Wine shows a Windows program a FIFO as an empty file.
if(NOT EMULATOR AND EXISTS /dev/full)
  execute_process(COMMAND mkfifo fifo.png WORKING_DIRECTORY ${WORK} ERROR_QUIET)
  tool_case(Linux_png_background_fifo ARGS png-background fifo.png TIMEOUT 10 STATUS 2 OUT ""
    ERR "^folianutils: fifo\\.png: not a regular file\n$")
endif()

tool_case(prefs_set_int ARGS prefs-set ToolTestKey 42 --type int OUT "ToolTestKey\tint\t42\n"
  JSON "value=42")
tool_case(prefs_get ARGS prefs-get ToolTestKey OUT "ToolTestKey\tint\t42\n"
  JSON "key=ToolTestKey" "type=int" "value=42")
# The per-user support folder holds the public preferences.
tool_case(find_support_file_found_json ARGS find-support-file folian.public.json --json JSON "ok=ON")
tool_case(prefs_set_double ARGS prefs-set --type=double ToolTestDouble 0.1 OUT "ToolTestDouble\tdouble\t0.1\n")
tool_case(prefs_set_string ARGS prefs-set ToolTestText "héllo wörld" --type string
  OUT "ToolTestText\tstring\théllo wörld\n")
tool_case(prefs_set_known_type ARGS prefs-set draft_mode true OUT "draft_mode\tbool\ttrue\n")
tool_case(prefs_list ARGS prefs-list OUT_MATCHES "(^|\n)draft_mode\tbool\ttrue\n"
  JSON "version=26")
tool_case(prefs_get_none ARGS prefs-get NoSuchToolTestKey STATUS 1 OUT "none\n"
  JSON "ok=OFF" "type=<null>" "value=<null>")
tool_case(prefs_get_other_version ARGS prefs-get ToolTestKey --app-version 24 STATUS 1 OUT "none\n")
tool_case(prefs_paths ARGS prefs-paths --app-version 25 OUT_MATCHES "^private\t[^\n]+\npublic\t[^\n]+\n$"
  JSON "version=25")
# A save that fails names the file and the system's error and exits 1; the
# old file stays. Natively only: the path printed under Wine is a Windows one.
if(NOT EMULATOR AND NOT DEFINED ONLY)
  execute_process(COMMAND ${TOOL} prefs-paths OUTPUT_VARIABLE paths)
  string(REGEX MATCH "public\t([^\n]*)" found "${paths}")
  set(public "${CMAKE_MATCH_1}")
  file(RENAME "${public}" "${public}.kept")
  file(MAKE_DIRECTORY "${public}")
  tool_case(prefs_set_failed_save ARGS prefs-set ToolTestKey 43 --type int STATUS 1 OUT ""
    JSON "ok=OFF" "error.reason=cannot save the preferences: ${public}: cannot read the file, so it is left as it is: Is a directory"
    ERR "^folianutils prefs-set: cannot save the preferences: [^\n]*public\\.json: [^\n]+\n$")
  file(REMOVE_RECURSE "${public}")
  file(RENAME "${public}.kept" "${public}")
  tool_case(prefs_get_after_failed_save ARGS prefs-get ToolTestKey OUT "ToolTestKey\tint\t42\n")
endif()
tool_case(prefs_set_earlier_version ARGS prefs-set ToolTestOld 7 --type int --app-version 25 OUT "ToolTestOld\tint\t7\n")
tool_case(prefs_import ARGS prefs-import OUT "imported from 25\n" JSON "imported_from=25")

# No read-only command writes a file, and prefs-paths creates nothing (the
# tree: "folder/" or "file mtime size" a line); the others may make the folders
# the library makes by contract. Version 19 has none yet. Natively only.
set(tree find ${PROFILE} "(" -type d -printf "%p/\\n" ")" -o -printf "%p %T@ %s\\n")
if(DEFINED PROFILE AND (NOT DEFINED ONLY OR "read_only" MATCHES "${ONLY}"))
  foreach(line IN ITEMS "prefs-paths --app-version 19" "prefs-get k --app-version 19" culture
      "prefs-list --app-version 19" "support-folders --app-version 19" "find-support-file x"
      "help-url x" upgrade-version "png-background background.png" demo "batch empty.txt")
    separate_arguments(args UNIX_COMMAND "${line}")
    execute_process(COMMAND ${tree} COMMAND sort OUTPUT_VARIABLE before)
    execute_process(COMMAND ${TOOL} ${args} OUTPUT_QUIET ERROR_QUIET WORKING_DIRECTORY ${WORK})
    execute_process(COMMAND ${tree} COMMAND sort OUTPUT_VARIABLE after)
    if(NOT line MATCHES "^prefs-paths")
      string(REGEX REPLACE "[^\n]*/\n" "" before "${before}")
      string(REGEX REPLACE "[^\n]*/\n" "" after "${after}")
    endif()
    if(NOT before STREQUAL after)
      message(SEND_ERROR "FAILED read_only ${line}:\n  before:\n${before}\n  after:\n${after}")
    endif()
  endforeach()
endif()

set(requests "format-length 66.5 --format architectural --precision 4" "parse-scale '1\"=4'\\'"
  bogus "parse-length 1/0" "format-length 1 --precision 99"
  "format-length --precision=4 --format=architectural 66.5" "--json parse-length 0.1"
  "parse-length 0.1 --json" "format-length --help" batch help "parse-length \"5" ""
  "parse-length 5${FF}" "culture fr" "number 0.1" "eval-length 5+x")
string(REPLACE ";" "\n" requests "${requests}")
# Batch's status: 1 when any request answered "none" or failed, else 0.
tool_case(batch_mixed ARGS batch INPUT "${requests}\n" STATUS 1
  OUT_MATCHES "^5'-6 1/2\"\n0\\.020833333333333332\nerror: unknown command 'bogus'\nnone\nerror: --precision: '99' is not a whole number from 0 to 16\n5'-6 1/2\"\n\\{\"command\":\"parse-length\",\"ok\":true,\"text\":\"0\\.1\",\"inches\":0\\.1\\}\n\\{\"command\":\"parse-length\",\"ok\":true,\"text\":\"0\\.1\",\"inches\":0\\.1\\}\nerror: --help and --version are not answered in batch\nerror: batch cannot run inside batch\nerror: help is not answered in batch\nerror: unterminated \" quote\nerror: empty request\nerror: the request is not valid UTF-8\nculture\t[^\t\n]+\tlanguage\t[^\t\n]+\tweb\t[^\t\n]+\tos-locale\t[^\t\n]+\n0\\.1\nerror: unexpected character at 2\n$")
tool_case(batch_json ARGS --json batch INPUT "${requests}\n" STATUS 1
  JSON "0:inches=66.5" "0:text=5'-6 1/2\"" "2:error.reason=unknown command 'bogus'" "3:ok=OFF"
  "3:inches=<null>" "4:error.reason=--precision: '99' is not a whole number from 0 to 16"
  "8:error.reason=--help and --version are not answered in batch"
  "13:error.reason=the request is not valid UTF-8" "14:web=en" "15:ok=ON")
tool_case(batch_crlf_and_no_final_newline ARGS batch INPUT "parse-length 5\r\nparse-length 6" OUT "5\n6\n")
# batch FILE, and - for standard input; the file above holds two requests.
tool_case(batch_from_file ARGS batch batch_crlf_and_no_final_newline.in OUT "5\n6\n")
tool_case(batch_dash ARGS batch - INPUT "parse-length 7\n" OUT "7\n")
# A word far longer than every name is near none, and is told so at once.
string(REPEAT "x" 8388608 word)
tool_case(batch_long_unknown_word ARGS batch INPUT "${word}\n" TIMEOUT 10 STATUS 1
  OUT "error: unknown command '${word}'\n")

# ---- standard output that fails -------------------------------------------------

tool_case(Linux_dev_full_version ARGS version STDOUT_FILE /dev/full STATUS 1
  ERR "^folianutils: cannot write to standard output: [^\n]+\n$")
string(REPEAT "parse-length 5\n" 100000 many)
tool_case(Linux_closed_pipe_batch ARGS batch INPUT "${many}" PIPE_HEAD STATUS "SIGPIPE|141" OUT "5\n")

# ---- help and completion from the tool's own tables -----------------------------

tool_case(completion_json ARGS completion --json JSON "ok=ON")
completion_case("folianutils format-" format-angle format-area format-length format-scale)
completion_case("folianutils --" --help --json --version)
completion_case("folianutils format-length --" --adaptive --force-fraction --format --help --json
  --no-approx --precision --space --suppress-units --units)
completion_case("folianutils format-length --units " cm ft in m mm pt yd)
completion_case("folianutils format-length --format=" architectural decimal engineering fractional)
completion_case("folianutils format-length --format=e" engineering)
completion_case("folianutils prefs-set k v --type " bool double int string)
completion_case("folianutils format-length --precision ")
completion_case("folianutils help format-l" format-length)
completion_case("folianutils help format-length ")
# File names one each, blanks and all; bash quotes them and marks folders.
file(MAKE_DIRECTORY "${WORK}/two words")
file(WRITE "${WORK}/two words.txt" "")
completion_case("folianutils batch tw" "[-o filenames]" "two words" "two words.txt")
