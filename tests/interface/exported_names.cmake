# Writes, from the installed public headers, what the interface test names:
#   exported_functions.inc  a function per exported free function that takes
#                           its address at the declared type, and per
#                           out-of-line constructor, destructor and member
#                           function (public or protected) of an exported
#                           class that calls it with arguments of exactly
#                           its declared parameter types, from a class
#                           derived from it; so each one must link.
#                           kExportedFunctions lists them
#   exported_data.inc       FOLIAN_DATA(qualified name) per constant and
#                           static data member a program outside can reach,
#                           FOLIAN_PROTECTED_DATA(class, name) per protected one
#   cmake -DHEADERS=<include/FolianUtils> -DOUTPUT=<folder> -P exported_names.cmake
file(GLOB headers "${HEADERS}/*.h")
set(functions "")
set(function_names "")
set(data "")
set(index 0)

# Appends an entry: `body` is the function (free) or the members of a class
# derived from `base` (member) that the entry's address reaches.
macro(add_entry name body)
  math(EXPR index "${index} + 1")
  if(class)
    string(APPEND functions "namespace ${namespace} {\nstruct FolianReach${index} : ${base} {\n"
      "${body}};\nFolianFunction FolianExported${index}() {\n"
      "  return reinterpret_cast<FolianFunction>(&FolianReach${index}::Call);\n}\n"
      "}  // namespace ${namespace}\n")
  else()
    string(APPEND functions "namespace ${namespace} {\nFolianFunction FolianExported${index}() {\n"
      "${body}  return reinterpret_cast<FolianFunction>(f);\n}\n}  // namespace ${namespace}\n")
  endif()
  list(APPEND function_names "{&${namespace}::FolianExported${index}, \"${name}\"}")
endmacro()

# A member declaration: its call from the derived class.
function(add_member declaration)
  string(REGEX REPLACE "\\[\\[nodiscard\\]\\]|(virtual|explicit|inline) | (override|noexcept)|;$"
    "" declaration "${declaration}")
  string(REGEX REPLACE " = 0$" "" declaration "${declaration}")
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
  math(EXPR reach "${index} + 1")
  set(reach FolianReach${reach})
  if(name STREQUAL base)
    string(CONCAT body "  explicit ${reach}(${parameters}) : ${base}(${arguments}) {}\n"
      "  static void Call(${parameters}) { ${reach} made{${arguments}}; }\n")
  elseif(name STREQUAL "~${base}")
    string(CONCAT body "  static void Call(${reach}* object) { object->${base}::${name}(); }\n")
  elseif(static)
    string(CONCAT body "  static void Call(${parameters}) { (void)${base}::${name}(${arguments}); }\n")
  else()
    if(NOT parameters STREQUAL "")
      set(parameters ", ${parameters}")
    endif()
    string(CONCAT body "  static void Call(${reach}${constness}& object${parameters}) {\n"
      "    (void)object.${base}::${name}(${arguments});\n  }\n")
  endif()
  add_entry("${class}::${name}" "${body}")
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
  set(namespace)
  set(class)
  set(declaration)
  set(member)
  set(outer 0)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" code)
    if(class)
      # Braces in the class: members at depth 1, bodies and enums deeper.
      string(REGEX REPLACE "[^{]" "" opens "${code}")
      string(REGEX REPLACE "[^}]" "" closes "${code}")
      string(LENGTH "${opens}" opens)
      string(LENGTH "${closes}" closes)
      set(outer ${depth})
      math(EXPR depth "${depth} + ${opens} - ${closes}")
      if(depth EQUAL 0)
        set(class)
        set(outer 0)
        continue()
      endif()
    endif()
    if(member OR (outer EQUAL 1 AND code MATCHES "\\(" AND exported AND NOT access STREQUAL "private"
                  AND NOT code MATCHES "^(friend|using|static_assert) "))
      string(APPEND member " ${code}")
      # Defaulted, deleted and pure virtual members have no symbol; a pure
      # virtual destructor has one.
      if(code MATCHES ";$" AND NOT member MATCHES "= (default|delete);$"
         AND (member MATCHES "~" OR NOT member MATCHES "= 0;$"))
        add_member("${member}")
      endif()
      if(code MATCHES "[;{}]$")
        set(member)
      endif()
    elseif(declaration OR line MATCHES "^(\\[\\[nodiscard\\]\\] )?FOLIAN_API ")
      string(APPEND declaration " ${line}")
      if(NOT line MATCHES ";$")
        continue()
      endif()
      # Ret Name(params): the address at exactly that type.
      string(REGEX REPLACE "\\[\\[nodiscard\\]\\]|FOLIAN_API|;$| = [^,)]*" "" declaration
        "${declaration}")
      string(REGEX REPLACE " +" " " declaration "${declaration}")
      if(NOT declaration MATCHES "^ *(.*[ &*])(operator[^ (]+|[A-Za-z_][A-Za-z0-9_]*)(\\(.*\\))$")
        message(FATAL_ERROR "${header}: cannot read '${declaration}'")
      endif()
      add_entry("${namespace}::${CMAKE_MATCH_2}"
        "  ${CMAKE_MATCH_1}(*f)${CMAKE_MATCH_3} = &${CMAKE_MATCH_2};\n")
      set(declaration)
    elseif(line MATCHES "^namespace ([A-Za-z_:]+) {")
      set(namespace ${CMAKE_MATCH_1})
    elseif(line MATCHES "^(class|struct) ([A-Z_]+_API )?([A-Za-z_][A-Za-z0-9_]*)( [^;]*)?$")
      set(base ${CMAKE_MATCH_3})
      set(class ${namespace}::${base})
      set(exported "${CMAKE_MATCH_2}")
      set(access public)
      set(depth 1)
      set(outer 0)
    elseif(line MATCHES "^ *(public|protected|private):")
      set(access ${CMAKE_MATCH_1})
    elseif(class AND line MATCHES "^ *static (const |constexpr |inline )*[A-Za-z_:<>*& ]+[ *&]((k|s_)[A-Za-z0-9_]+) *(=|;)")
      if(access STREQUAL "public")
        string(APPEND data "FOLIAN_DATA(${class}::${CMAKE_MATCH_2})\n")
      elseif(access STREQUAL "protected")
        string(APPEND data "FOLIAN_PROTECTED_DATA(${class}, ${CMAKE_MATCH_2})\n")
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
