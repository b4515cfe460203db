# folian_header_only(<target> PACKAGE <name> FOLDER <folder> HEADER <file>
#                    [IMPORTED <target>])
# makes <target>, an interface library of a header-only package. Natively
# the package's configuration names it: the IMPORTED target when it has
# one, else the include folders it sets. The MinGW build uses the same
# headers, outside the cross compiler's root, and exposes only <folder>
# through a link in the build tree: all of /usr/include on the include path
# would shadow the MinGW C library's headers.
function(folian_header_only target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PACKAGE;FOLDER;HEADER;IMPORTED" "")
  add_library(${target} INTERFACE)
  if(CMAKE_CROSSCOMPILING)
    find_path(FOLIAN_${arg_PACKAGE}_INCLUDE_DIR ${arg_FOLDER}/${arg_HEADER}
      PATHS /usr/include /usr/local/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${arg_FOLDER}-include)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${FOLIAN_${arg_PACKAGE}_INCLUDE_DIR}/${arg_FOLDER} ${dir}/${arg_FOLDER}
      SYMBOLIC)
    target_include_directories(${target} SYSTEM INTERFACE ${dir})
  else()
    find_package(${arg_PACKAGE} CONFIG REQUIRED)
    if(arg_IMPORTED)
      target_link_libraries(${target} INTERFACE ${arg_IMPORTED})
    else()
      string(TOUPPER ${arg_PACKAGE} prefix)
      target_include_directories(${target} SYSTEM INTERFACE ${${prefix}_INCLUDE_DIRS})
    endif()
  endif()
endfunction()
