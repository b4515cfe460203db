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
