# Writes, from the installed public headers, what the interface test names:
#   exported_functions.inc  per exported free function, and per out-of-line
#                           constructor, destructor and public or protected
#                           member function of an exported class, a call with
#                           arguments of exactly its declared parameter types
#                           (from a class derived from the member's class,
#                           qualified, so virtual members link too);
#                           kExportedFunctions lists their addresses
#   exported_data.inc       FOLIAN_DATA(qualified name) per constant and
#                           static data member a program outside can reach,
#                           FOLIAN_PROTECTED_DATA(class, name) per protected one
#   cmake -DHEADERS=<include/FolianUtils> -DOUTPUT=<folder> -P exported_names.cmake
file(GLOB headers "${HEADERS}/*.h")
set(functions "")
set(function_names "")
set(data "")
set(index 0)

# A declaration (of a free function when `class` is empty): its call.
function(add_call declaration)
  string(REGEX REPLACE "\\[\\[nodiscard\\]\\]|FOLIAN_API|(virtual|explicit|inline) | (override|noexcept)|;$"
    "" declaration "${declaration}")
  string(REGEX REPLACE " = [^,)]*" "" declaration "${declaration}")
  string(REGEX REPLACE " +" " " declaration "${declaration}")
  if(NOT declaration MATCHES "^ *(static )?(.*[ &*])?(operator[^ (]+|~?[A-Za-z_][A-Za-z0-9_]*)\\((.*)\\)( const)?$")
    message(FATAL_ERROR "${header}: cannot read '${declaration}'")
  endif()
  set(static "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_3}")
  set(parameters "${CMAKE_MATCH_4}")
  set(constness "${CMAKE_MATCH_5}")
  string(REPLACE "," ";" parameter_list "${parameters}")
  set(arguments "")
  foreach(parameter IN LISTS parameter_list)
    if(NOT parameter MATCHES "^ *(.*[ &*])([A-Za-z_][A-Za-z0-9_]*) *$")
      message(FATAL_ERROR "${header}: name every parameter of '${declaration}'")
    endif()
    set(argument ${CMAKE_MATCH_2})
    if(CMAKE_MATCH_1 MATCHES "&&")
      set(argument "std::move(${argument})")
    endif()
    list(APPEND arguments "${argument}")
  endforeach()
  list(JOIN arguments ", " arguments)
  math(EXPR index "${index} + 1")
  set(reach FolianReach${index})
  if(NOT class)
    set(base "")
    set(body "  static void Call(${parameters}) { (void)${name}(${arguments}); }\n")
  elseif(name STREQUAL base)
    string(CONCAT body "  explicit ${reach}(${parameters}) : ${base}(${arguments}) {}\n"
      "  static void Call(${parameters}) { ${reach} made{${arguments}}; }\n")
  elseif(name STREQUAL "~${base}")
    set(body "  static void Call(${reach}* object) { object->${base}::${name}(); }\n")
  elseif(static)
    set(body "  static void Call(${parameters}) { (void)${base}::${name}(${arguments}); }\n")
  else()
    if(NOT parameters STREQUAL "")
      set(parameters ", ${parameters}")
    endif()
    string(CONCAT body "  static void Call(${reach}${constness}& object${parameters}) {\n"
      "    (void)object.${base}::${name}(${arguments});\n  }\n")
  endif()
  if(base)
    set(base " : ${base}")
  endif()
  string(APPEND functions "namespace ${namespace} {\nstruct ${reach}${base} {\n${body}};\n"
    "FolianFunction FolianExported${index}() {\n"
    "  return reinterpret_cast<FolianFunction>(&${reach}::Call);\n}\n}  // namespace ${namespace}\n")
  list(APPEND function_names
    "{&${namespace}::FolianExported${index}, \"${namespace}${class}::${name}\"}")
  set(index ${index} PARENT_SCOPE)
  set(functions "${functions}" PARENT_SCOPE)
  set(function_names "${function_names}" PARENT_SCOPE)
endfunction()

foreach(header IN LISTS headers)
  # Lines without comments, whose unpaired brackets would join list items.
  file(READ "${header}" lines)
  string(REGEX REPLACE "//[^\n]*" "" lines "${lines}")
  string(REPLACE ";" "\\;" lines "${lines}")
  string(REPLACE "\n" ";" lines "${lines}")
  set(class)
  set(declaration)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" code)
    # The headers are formatted: a member starts two spaces in, a body or an
    # enum's values deeper, and the class ends with "};" at the margin.
    if(line MATCHES "^};")
      set(class)
      set(exported)
    elseif(declaration OR (NOT class AND code MATCHES "^(\\[\\[nodiscard\\]\\] )?FOLIAN_API ")
       OR (line MATCHES "^  [^ ].*\\(" AND exported AND NOT access STREQUAL "private"
           AND NOT code MATCHES "^(friend|using|static_assert) "))
      string(APPEND declaration " ${code}")
      # Defaulted, deleted and pure virtual members have no symbol; a pure
      # virtual destructor has one.
      if(code MATCHES ";$" AND NOT declaration MATCHES "= (default|delete);$"
         AND (declaration MATCHES "~" OR NOT declaration MATCHES "= 0;$"))
        add_call("${declaration}")
      endif()
      if(code MATCHES "[;{}]$")
        set(declaration)
      endif()
    elseif(line MATCHES "^namespace ([A-Za-z_:]+) {")
      set(namespace ${CMAKE_MATCH_1})
    elseif(line MATCHES "^(class|struct) ([A-Z_]+_API )?([A-Za-z_][A-Za-z0-9_]*)( [^;]*)?$")
      set(base ${CMAKE_MATCH_3})
      set(class ::${base})
      set(exported "${CMAKE_MATCH_2}")
      set(access public)
    elseif(line MATCHES "^ *(public|protected|private):")
      set(access ${CMAKE_MATCH_1})
    elseif(class AND line MATCHES "^ *static (const |constexpr |inline )*[A-Za-z_:<>*& ]+[ *&]((k|s_)[A-Za-z0-9_]+) *(=|;)")
      if(access STREQUAL "public")
        string(APPEND data "FOLIAN_DATA(${namespace}${class}::${CMAKE_MATCH_2})\n")
      elseif(access STREQUAL "protected")
        string(APPEND data "FOLIAN_PROTECTED_DATA(${namespace}${class}, ${CMAKE_MATCH_2})\n")
      endif()
    elseif(line MATCHES "^inline constexpr [A-Za-z_:]+ (k[A-Za-z0-9_]+) =")
      string(APPEND data "FOLIAN_DATA(${namespace}::${CMAKE_MATCH_1})\n")
    endif()
  endforeach()
endforeach()
if(index EQUAL 0 OR data STREQUAL "")
  message(FATAL_ERROR "no exported function or constant found in ${HEADERS}")
endif()
list(JOIN function_names ",\n    " function_names)
string(APPEND functions "const FolianExport kExportedFunctions[] = {\n    ${function_names}};\n")
file(CONFIGURE OUTPUT "${OUTPUT}/exported_functions.inc" CONTENT "${functions}" @ONLY)
file(CONFIGURE OUTPUT "${OUTPUT}/exported_data.inc" CONTENT "${data}" @ONLY)
