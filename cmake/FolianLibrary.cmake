# One library target per folder, each naming its sources and the folders it
# depends on; a folder's headers, its public ones included, are reachable
# only from targets that depend on it, so an include that runs up a layer or
# sideways fails to compile.
#
# Includes keep the folder in their name ("units/length_parser_internal.h").
# Each folder therefore gets an include root of its own in the build tree,
# holding one link named after the folder to the folder's sources; the
# repository root is on no target's include path. Public headers live in
# the folder's include/ ("FolianUtils/length_formatter.h").

# folian_cc_library(NAME <name> [SRCS <file>...] [DEPS <name>...]
#                   [PUBLIC_INCLUDES <dir>...] [LINK <target>...]
#                   [PRIVATE_LINK <target>...] [DEFINES <definition>...])
# makes folian_<name>: an object library of SRCS, or an interface library
# when there are none. DEPS are other folders' names (prefs/common is
# prefs_common); LINK are further targets the folder's headers need,
# PRIVATE_LINK those only its sources need; DEFINES are private.
# PUBLIC_INCLUDES are the folders of its public headers.
function(folian_cc_library)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME"
    "SRCS;DEPS;PUBLIC_INCLUDES;LINK;PRIVATE_LINK;DEFINES")
  set(target folian_${arg_NAME})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  # Outside the folder's own build folder, where the compiler runs: coverage
  # notes then name the headers by full path, which gcov can always open.
  set(root ${PROJECT_BINARY_DIR}/include-roots/${arg_NAME})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)

  set(deps)
  foreach(dep IN LISTS arg_DEPS)
    list(APPEND deps folian_${dep})
  endforeach()
  if(arg_SRCS)
    add_library(${target} OBJECT ${arg_SRCS})
    set(scope PUBLIC)
    target_link_libraries(${target} PRIVATE folian_windows ${arg_PRIVATE_LINK})
    target_compile_definitions(${target} PRIVATE ${arg_DEFINES})
    folian_warnings(${target})
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} $<BUILD_INTERFACE:${root}>)
  set(public)
  foreach(dir IN LISTS arg_PUBLIC_INCLUDES)
    get_filename_component(dir ${dir} ABSOLUTE)
    target_include_directories(${target} ${scope} $<BUILD_INTERFACE:${dir}>)
    list(APPEND public ${dir})
  endforeach()
  set_property(TARGET ${target} PROPERTY FOLIAN_PUBLIC_INCLUDES ${public})
  target_link_libraries(${target} ${scope} ${deps} ${arg_LINK})
  set_property(DIRECTORY PROPERTY FOLIAN_LIBRARY ${arg_NAME})
endfunction()

# folian_use_headers(<target> <name>...): <target> compiles against the
# headers of the named folders without taking their objects, as programs
# linked against one of the combined libraries do.
function(folian_use_headers target)
  foreach(name IN LISTS ARGN)
    set(library folian_${name})
    target_include_directories(${target} PRIVATE
      $<TARGET_PROPERTY:${library},INTERFACE_INCLUDE_DIRECTORIES>)
    target_include_directories(${target} SYSTEM PRIVATE
      $<TARGET_PROPERTY:${library},INTERFACE_SYSTEM_INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE
      $<TARGET_PROPERTY:${library},INTERFACE_COMPILE_DEFINITIONS>)
  endforeach()
endfunction()

# folian_objects_of(<variable> <name>...): the objects of the named folders.
function(folian_objects_of variable)
  set(objects)
  foreach(name IN LISTS ARGN)
    list(APPEND objects $<TARGET_OBJECTS:folian_${name}>)
  endforeach()
  set(${variable} ${objects} PARENT_SCOPE)
endfunction()

# folian_public_includes_of(<variable> <name>...): the folders of the named
# folders' public headers.
function(folian_public_includes_of variable)
  set(dirs)
  foreach(name IN LISTS ARGN)
    get_target_property(public folian_${name} FOLIAN_PUBLIC_INCLUDES)
    list(APPEND dirs ${public})
  endforeach()
  set(${variable} ${dirs} PARENT_SCOPE)
endfunction()

# folian_add_tests(<file>... [DEPS <name>...]): GoogleTest sources of the
# folder's library, compiled against it (and against the folders in DEPS,
# for test support from above) into the one test binary.
function(folian_add_tests)
  if(NOT FOLIAN_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "DEPS")
  get_property(name DIRECTORY PROPERTY FOLIAN_LIBRARY)
  set(target folian_${name}_tests)
  add_library(${target} OBJECT ${arg_UNPARSED_ARGUMENTS})
  set(deps)
  foreach(dep IN LISTS arg_DEPS)
    list(APPEND deps folian_${dep})
  endforeach()
  target_link_libraries(${target} PRIVATE folian_${name} ${deps} folian_windows GTest::gtest)
  target_compile_definitions(${target} PRIVATE FOLIAN_STATIC)
  folian_warnings(${target})
  set_property(GLOBAL APPEND PROPERTY FOLIAN_TEST_LIBRARIES ${target})
endfunction()

# folian_add_fuzzers(<file>...): libFuzzer targets, one program each,
# compiled against the folder's library.
function(folian_add_fuzzers)
  get_property(name DIRECTORY PROPERTY FOLIAN_LIBRARY)
  foreach(source IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY FOLIAN_FUZZ_SOURCES
      "${CMAKE_CURRENT_SOURCE_DIR}/${source}|${name}")
  endforeach()
endfunction()
