# folian_example_lines(<file> <prefix>): the lines of the tool's examples
# file that are neither comments nor blank, as <prefix>_1 ... <prefix>_N and
# the count as <prefix>_count, in the caller's scope. Lines hold ";" and
# brackets, which CMake's lists split or join on, so they travel as
# variables of their own.
function(folian_example_lines file prefix)
  file(READ ${file} examples)
  string(REPLACE ";" "<semicolon>" examples "${examples}")
  string(REPLACE "[" "<open>" examples "${examples}")
  string(REPLACE "]" "<close>" examples "${examples}")
  string(REPLACE "\n" ";" lines "${examples}")
  set(count 0)
  foreach(line IN LISTS lines)
    string(REPLACE "<semicolon>" ";" line "${line}")
    string(REPLACE "<open>" "[" line "${line}")
    string(REPLACE "<close>" "]" line "${line}")
    if(line MATCHES "^#" OR line STREQUAL "")
      continue()
    endif()
    math(EXPR count "${count} + 1")
    set(${prefix}_${count} "${line}" PARENT_SCOPE)
  endforeach()
  set(${prefix}_count ${count} PARENT_SCOPE)
endfunction()
