# Reads the export table lib/api.def into parallel lists:
# WIRELINK_EXPORT_NAMES (C names), WIRELINK_EXPORT_KINDS (entry, worker or
# data) and WIRELINK_EXPORT_BYTES (Windows argument bytes; "-" for data).
# Stops the configure, naming the file and line, on a table line it cannot
# read or a function of unknown kind.
function(wirelink_read_exports list_file)
  file(STRINGS "${list_file}" lines)
  set(names "")
  set(kinds "")
  set(bytes "")
  set(number 0)
  set(identifier "[A-Za-z_][A-Za-z0-9_]*")
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^WIRELINK_FUNCTION\\((${identifier}), *(${identifier}), *([0-9]+),")
      set(name "${CMAKE_MATCH_1}")
      set(kind "${CMAKE_MATCH_2}")
      set(size "${CMAKE_MATCH_3}")
      if(NOT kind MATCHES "^(entry|worker)$")
        message(FATAL_ERROR "${list_file}:${number}: ${name} has the unknown kind '${kind}' (entry or worker)")
      endif()
    elseif(line MATCHES "^WIRELINK_DATA_CELL\\((${identifier}),")
      set(name "${CMAKE_MATCH_1}")
      set(kind "data")
      set(size "-")
    elseif(line MATCHES "^WIRELINK_(FUNCTION|DATA_CELL)")
      message(FATAL_ERROR "${list_file}:${number}: cannot read '${line}': "
        "write WIRELINK_FUNCTION(name, kind, bytes, result, arguments...) on one line")
    else()
      continue()
    endif()
    list(APPEND names "${name}")
    list(APPEND kinds "${kind}")
    list(APPEND bytes "${size}")
  endforeach()
  set(WIRELINK_EXPORT_NAMES "${names}" PARENT_SCOPE)
  set(WIRELINK_EXPORT_KINDS "${kinds}" PARENT_SCOPE)
  set(WIRELINK_EXPORT_BYTES "${bytes}" PARENT_SCOPE)
endfunction()

# Writes an ELF version script that exports exactly the listed names.
function(wirelink_write_version_script list_file out_file)
  wirelink_read_exports("${list_file}")
  set(text "{\n  global:\n")
  foreach(name IN LISTS WIRELINK_EXPORT_NAMES)
    string(APPEND text "    ${name};\n")
  endforeach()
  string(APPEND text "  local:\n    *;\n};\n")
  wirelink_write_if_changed("${out_file}" "${text}")
endfunction()

# Writes a generated file only when its text changes, so that reconfiguring
# does not relink what depends on it.
function(wirelink_write_if_changed out_file text)
  file(WRITE "${out_file}.new" "${text}")
  file(COPY_FILE "${out_file}.new" "${out_file}" ONLY_IF_DIFFERENT)
  file(REMOVE "${out_file}.new")
endfunction()

# Reads lib/api.def into WIRELINK_WINDOWS_EXPORT_NAMES: the names that
# wirelink.dll exports, in list order.  In the 32-bit DLL a worker carries
# its stdcall decoration, a leading underscore and "@" plus its argument
# bytes; 64-bit Windows has no stdcall decoration, so there every export is
# its C name.  BITS is 32 or 64.
function(wirelink_read_windows_exports list_file bits)
  wirelink_read_exports("${list_file}")
  set(windows_names "")
  foreach(name kind size IN ZIP_LISTS WIRELINK_EXPORT_NAMES WIRELINK_EXPORT_KINDS WIRELINK_EXPORT_BYTES)
    if(kind STREQUAL "worker" AND bits EQUAL 32)
      list(APPEND windows_names "_${name}@${size}")
    else()
      list(APPEND windows_names "${name}")
    endif()
  endforeach()
  set(WIRELINK_WINDOWS_EXPORT_NAMES "${windows_names}" PARENT_SCOPE)
endfunction()

# Writes the module-definition file of the 64-bit wirelink.dll: every
# export under its C name, which is also the compiler's name for it.
function(wirelink_write_module_definition_64 list_file library_file out_file)
  wirelink_read_exports("${list_file}")
  set(text "; Generated from ${list_file}; edit that list instead.\n")
  string(APPEND text "LIBRARY ${library_file}\nEXPORTS\n")
  foreach(name kind IN ZIP_LISTS WIRELINK_EXPORT_NAMES WIRELINK_EXPORT_KINDS)
    if(kind STREQUAL "data")
      string(APPEND text "  ${name} DATA\n")
    else()
      string(APPEND text "  ${name}\n")
    endif()
  endforeach()
  wirelink_write_if_changed("${out_file}" "${text}")
endfunction()

# Writes a 32-bit module-definition file (stdcall names, "name@bytes") as
# the 64-bit build needs it: the same names without the decoration.
function(wirelink_write_undecorated_definition in_file out_file)
  file(READ "${in_file}" text)
  string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
  wirelink_write_if_changed("${out_file}" "; Generated from ${in_file} for 64-bit Windows.\n${text}")
endfunction()

# Writes the module-definition file of wirelink.dll.
#
# The i686 compiler names a stdcall function "_name@bytes", and ld reads the
# names of a .def file without that leading underscore, so "name@bytes" is
# the function itself.  Every function export is therefore an alias,
# "export = name@bytes": an entry drops the decoration, a worker keeps it
# with one more leading underscore.  (--kill-at would strip the "@bytes" that
# the workers must keep.)  Only a stdcall function has an "@bytes" name, so a
# function that is not stdcall, or a wrong byte count in the list, fails the
# link ("cannot export name@bytes: symbol not defined").
function(wirelink_write_module_definition list_file library_file out_file)
  wirelink_read_exports("${list_file}")
  set(text "; Generated from ${list_file}; edit that list instead.\n")
  string(APPEND text "LIBRARY ${library_file}\nEXPORTS\n")
  foreach(name kind size IN ZIP_LISTS WIRELINK_EXPORT_NAMES WIRELINK_EXPORT_KINDS WIRELINK_EXPORT_BYTES)
    if(kind STREQUAL "data")
      string(APPEND text "  ${name} DATA\n")
    elseif(kind STREQUAL "worker")
      string(APPEND text "  _${name}@${size} = ${name}@${size}\n")
    else()
      string(APPEND text "  ${name} = ${name}@${size}\n")
    endif()
  endforeach()
  wirelink_write_if_changed("${out_file}" "${text}")
endfunction()

# Writes the module-definition file from which dlltool makes wirelink.dll's
# import library, for programs that link it at build time.  There the C
# symbol comes first, with the decoration the compiler gives a caller,
# and "==" names the export it imports: "init_iic@4 == init_iic".  (The DLL
# itself is not linked from this form: ld then leaves the export names
# unsorted, and the loader's binary search misses some of them.)
function(wirelink_write_import_definition list_file library_file out_file)
  wirelink_read_exports("${list_file}")
  set(text "; Generated from ${list_file}; edit that list instead.\n")
  string(APPEND text "LIBRARY ${library_file}\nEXPORTS\n")
  foreach(name kind size IN ZIP_LISTS WIRELINK_EXPORT_NAMES WIRELINK_EXPORT_KINDS WIRELINK_EXPORT_BYTES)
    if(kind STREQUAL "data")
      string(APPEND text "  ${name} DATA\n")
    elseif(kind STREQUAL "worker")
      string(APPEND text "  ${name}@${size} == _${name}@${size}\n")
    else()
      string(APPEND text "  ${name}@${size} == ${name}\n")
    endif()
  endforeach()
  wirelink_write_if_changed("${out_file}" "${text}")
endfunction()

# Writes the Windows export names and kinds as C initialisers, one
# {"name", "kind"} per line, for a program to include inside an array.
function(wirelink_write_windows_name_table list_file bits out_file)
  wirelink_read_exports("${list_file}")
  wirelink_read_windows_exports("${list_file}" ${bits})
  set(text "/* Generated from ${list_file}. */\n")
  foreach(name kind IN ZIP_LISTS WIRELINK_WINDOWS_EXPORT_NAMES WIRELINK_EXPORT_KINDS)
    string(APPEND text "{\"${name}\", \"${kind}\"},\n")
  endforeach()
  wirelink_write_if_changed("${out_file}" "${text}")
endfunction()
