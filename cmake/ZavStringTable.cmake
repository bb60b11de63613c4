# The property titles have one source: UTF-8 title lists of "ID<TAB>text"
# lines. From them come the string tables linked into POSIX modules and the
# string-table resources of Windows modules.

function(zav_read_titles out)
  set(entries "")
  foreach(file IN LISTS ARGN)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    file(STRINGS ${file} lines ENCODING UTF-8)
    foreach(line IN LISTS lines)
      if(line MATCHES "^[ \t]*(#|$)")
        continue()
      endif()
      if(NOT line MATCHES "^([0-9]+)\t(.+)$")
        message(FATAL_ERROR "${file}: bad title line '${line}'")
      endif()
      set(id "${CMAKE_MATCH_1}")
      set(text "${CMAKE_MATCH_2}")
      if(text MATCHES "[\"\\\\]")
        message(FATAL_ERROR "${file}: titles may hold no quote or backslash")
      endif()
      list(APPEND entries "${id}=${text}")
    endforeach()
  endforeach()
  set(${out} "${entries}" PARENT_SCOPE)
endfunction()

function(zav_write_string_table target moduleFileName out entries)
  set(rows "")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "^([0-9]+)=(.*)$" _ "${entry}")
    string(APPEND rows "    {${CMAKE_MATCH_1}, \"${CMAKE_MATCH_2}\"},\n")
  endforeach()
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_strings.cpp)
  file(CONFIGURE OUTPUT ${file} CONTENT
"// Generated from the title lists; do not edit.
#include \"StringTable.h\"

namespace zav::platform {
namespace {
const StringResource kStrings[] = {
@rows@};
}  // namespace

const StringTable& moduleStringTable() {
  static const StringTable table{\"@moduleFileName@\", kStrings,
                                 sizeof kStrings / sizeof kStrings[0]};
  return table;
}
}  // namespace zav::platform
" @ONLY)
  set(${out} ${file} PARENT_SCOPE)
endfunction()

# The Windows module's resource script: the titles as a Japanese string
# table and the version resource. Written as UTF-8 and compiled with code
# page 65001 (the pragma, and -c 65001 on the command line), so the texts
# reach the module as the UTF-16 they are meant to be.
function(zav_write_resource_script target moduleFileName out entries)
  set(rows "")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "^([0-9]+)=(.*)$" _ "${entry}")
    string(APPEND rows "    ${CMAKE_MATCH_1}, \"${CMAKE_MATCH_2}\"\n")
  endforeach()
  set(version "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK}")
  string(REPLACE "." "," versionCommas "${version}")
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  file(CONFIGURE OUTPUT ${file} CONTENT
"// Generated from the title lists; do not edit.
#pragma code_page(65001)
#include <winresrc.h>

// Japanese (Japan), 0x0411. windres knows no SUBLANG_JAPANESE_JAPAN.
LANGUAGE 0x11, 0x01

STRINGTABLE
BEGIN
@rows@END

VS_VERSION_INFO VERSIONINFO
 FILEVERSION @versionCommas@
 PRODUCTVERSION @versionCommas@
 FILEFLAGSMASK VS_FFI_FILEFLAGSMASK
 FILEFLAGS 0
 FILEOS VOS_NT_WINDOWS32
 FILETYPE VFT_DLL
 FILESUBTYPE VFT2_UNKNOWN
BEGIN
    BLOCK \"StringFileInfo\"
    BEGIN
        BLOCK \"041104b0\"
        BEGIN
            VALUE \"FileDescription\", \"@PROJECT_DESCRIPTION@ (@target@)\"
            VALUE \"FileVersion\", \"@version@\"
            VALUE \"InternalName\", \"@target@\"
            VALUE \"OriginalFilename\", \"@moduleFileName@\"
            VALUE \"ProductName\", \"zav\"
            VALUE \"ProductVersion\", \"@version@\"
        END
    END
    BLOCK \"VarFileInfo\"
    BEGIN
        VALUE \"Translation\", 0x0411, 1200
    END
END
" @ONLY)
  set(${out} ${file} PARENT_SCOPE)
endfunction()
