# A shared library's exported functions are listed once, in a text file:
# one name per line, "Name@N" for a function whose Win32 export keeps its
# stdcall decoration (_Name@N), '#' to the end of a line a comment.  From it
# come the GNU version script that hides everything else, the Win32 .def file
# (with DEF_LIBRARY) and, through the target property ZELVO_EXPORT_LIST, the
# list the export tests hold the built library to; the target property
# ZELVO_EXPORT_NAMES holds the plain names (for the Debian symbols file).
function(zelvo_export_list target list_file)
  cmake_parse_arguments(ARG "" "DEF_LIBRARY" "" ${ARGN})
  get_filename_component(list_path ${list_file} ABSOLUTE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_path})
  file(STRINGS ${list_path} lines)
  set(globals "")
  set(def_lines "")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(NOT line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)(@[0-9]+)?$")
      message(FATAL_ERROR "${list_path}: '${line}' is not an export name")
    endif()
    set(name ${CMAKE_MATCH_1})
    list(APPEND names ${name})
    string(APPEND globals "    ${name};\n")
    if(CMAKE_MATCH_2)
      string(APPEND def_lines "    _${name}${CMAKE_MATCH_2} = ${name}\n")
    else()
      string(APPEND def_lines "    ${name}\n")
    endif()
  endforeach()

  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  file(CONFIGURE OUTPUT ${map} @ONLY CONTENT
    "/* Made from ${list_file}: only these functions leave the library. */\n{\n  global:\n${globals}  local:\n    *;\n};\n")
  if(ARG_DEF_LIBRARY)
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${ARG_DEF_LIBRARY}.def @ONLY CONTENT
      "; Export names of the Win32 build of ${ARG_DEF_LIBRARY}, made from ${list_file}.\n; On Linux all are exported under the plain names.\nLIBRARY ${ARG_DEF_LIBRARY}\nEXPORTS\n${def_lines}")
  endif()
  target_link_options(${target} PRIVATE -Wl,--version-script=${map})
  set_target_properties(${target} PROPERTIES LINK_DEPENDS ${map} ZELVO_EXPORT_LIST ${list_path}
    ZELVO_EXPORT_NAMES "${names}")
endfunction()
