# cmake -DLIBRARY=wirelink.dll -DEXPORT_LIST=... -DBITS=32|64 -DOBJDUMP=... -P check_pe_exports.cmake
# cmake -DLIBRARY=dlportio.dll -DDEF_FILE=windows_dlportio.def -DOBJDUMP=... -P check_pe_exports.cmake
#
# The export table of wirelink.dll is exactly the Windows names of the list,
# the port driver's two functions are imported by name from dlportio.dll,
# and nothing else is needed but the system's own DLLs (no MinGW runtime).
# The export table of the port driver's dlportio.dll is exactly the
# undecorated names of its module definition, the two functions that
# wirelink.dll imports among them, and it needs only the system's DLLs.
cmake_minimum_required(VERSION 3.25)
if(DEF_FILE)
  file(STRINGS ${DEF_FILE} definition)
  set(listed "")
  foreach(line IN LISTS definition)
    if(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z0-9_]*)(@[0-9]+)?[ \t]*$")
      list(APPEND listed "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  foreach(needed DlPortReadPortUchar DlPortWritePortUchar)
    if(NOT needed IN_LIST listed)
      message(FATAL_ERROR "${DEF_FILE} does not export ${needed}")
    endif()
  endforeach()
else()
  include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Exports.cmake)
  wirelink_read_windows_exports(${EXPORT_LIST} ${BITS})
  set(listed ${WIRELINK_WINDOWS_EXPORT_NAMES})
endif()
list(SORT listed)
get_filename_component(library_name ${LIBRARY} NAME)

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "objdump failed on ${LIBRARY}")
endif()
string(REPLACE ";" "," dump "${dump}")
string(REGEX REPLACE "\r?\n" ";" lines "${dump}")

# Walks the dump: the export names follow "[Ordinal/Name Pointer] Table",
# each imported DLL's names follow its "DLL Name:" line.
set(exported "")
set(section "")
set(imported_dlls "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*\\[Ordinal/Name Pointer\\] Table")
    set(section exports)
  elseif(line MATCHES "^[ \t]+DLL Name: (.+)$")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
    list(APPEND imported_dlls "${dll}")
    set(section import)
    set(importing ${dll})
    set(imports_${dll} "")
  elseif(line MATCHES "^[ \t]*$")
    set(section "")
  elseif(section STREQUAL "exports" AND line MATCHES "^[ \t]+\\[ *[0-9]+\\] (.+)$")
    list(APPEND exported "${CMAKE_MATCH_1}")
  elseif(section STREQUAL "import" AND line MATCHES "^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+([^ \t]+)")
    list(APPEND imports_${importing} "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(SORT exported)

if(NOT exported STREQUAL listed)
  set(extra ${exported})
  if(listed)
    list(REMOVE_ITEM extra ${listed})
  endif()
  set(missing ${listed})
  if(exported)
    list(REMOVE_ITEM missing ${exported})
  endif()
  message(FATAL_ERROR "export table differs from the list\n  not listed: ${extra}\n  missing: ${missing}")
endif()

# The DLLs every Windows has; a MinGW runtime DLL here would have to be
# shipped beside the DLL.
set(system_dlls kernel32.dll msvcrt.dll)
foreach(dll IN LISTS imported_dlls)
  if(NOT dll IN_LIST system_dlls AND NOT (dll STREQUAL "dlportio.dll" AND NOT DEF_FILE))
    message(FATAL_ERROR "${library_name} needs ${dll}")
  endif()
endforeach()
if(NOT DEF_FILE)
  set(driver_imports ${imports_dlportio.dll})
  list(SORT driver_imports)
  if(NOT driver_imports STREQUAL "DlPortReadPortUchar;DlPortWritePortUchar")
    message(FATAL_ERROR "imports from dlportio.dll: '${driver_imports}', expected DlPortReadPortUchar and DlPortWritePortUchar")
  endif()
endif()

list(LENGTH exported count)
message(STATUS "${library_name}: ${count} exports match the list; imports: ${imported_dlls}")
