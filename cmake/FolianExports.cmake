# folian_export_only(<target> <version script>): on ELF systems the shared
# library exports what the script names and nothing else, so instantiations
# of standard templates its code happens to use stay inside. Windows DLLs
# export only what is marked for export anyway.
function(folian_export_only target script)
  if(WIN32 OR APPLE)
    return()
  endif()
  target_link_options(${target} PRIVATE -Wl,--version-script=${script})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
endfunction()

# folian_shared_library(<target> <version script> <include folder>...):
# what every shared library of the package has alike: its FolianUtils::
# alias, the exports of the script, Windows names (a DLL without "lib", its
# import library with it), the version, its public headers (the include
# folders, merged into one once installed), and its installation.
function(folian_shared_library target script)
  add_library(FolianUtils::${target} ALIAS ${target})
  folian_export_only(${target} ${script})
  if(WIN32)
    set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  endif()
  set_target_properties(${target} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  foreach(dir IN LISTS ARGN)
    target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${dir}>)
  endforeach()
  target_include_directories(${target} PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  if(FOLIAN_INSTALL)
    install(TARGETS ${target} EXPORT FolianUtilsTargets
      RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
      LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
      ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
    list(TRANSFORM ARGN APPEND / OUTPUT_VARIABLE contents)
    install(DIRECTORY ${contents} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  endif()
endfunction()
