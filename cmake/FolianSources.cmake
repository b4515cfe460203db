# Each folder names its own sources; the tests and fuzzers it names are
# gathered here for the programs that build them.

# folian_add_tests(<file>...): GoogleTest sources of the one test binary.
function(folian_add_tests)
  foreach(source IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY FOLIAN_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
endfunction()

# folian_add_fuzzers(<file>...): libFuzzer targets, one program each.
function(folian_add_fuzzers)
  foreach(source IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY FOLIAN_FUZZ_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
endfunction()
