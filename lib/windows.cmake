# wirelink.dll: the export table comes from a module-definition file made
# from api.def, and the port driver is imported from dlportio.dll
# through an import library made from our own dlportio.def, so no vendor
# header or library is needed.
#
# 32-bit Windows names a stdcall function by its argument bytes, 64-bit
# Windows by its C name alone: the two builds write their definitions from
# the same list and the same dlportio.def, each in its own form.

# Applications load it as "wirelink", not "libwirelink".
set_target_properties(wirelink PROPERTIES PREFIX "")
set(module_definition ${CMAKE_CURRENT_BINARY_DIR}/wirelink.def)
set(port_driver_def ${CMAKE_CURRENT_SOURCE_DIR}/dlportio.def)
set(port_driver_import ${CMAKE_CURRENT_BINARY_DIR}/libdlportio_import.a)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  wirelink_write_module_definition_64(${WIRELINK_EXPORT_LIST} wirelink.dll ${module_definition})
  target_sources(wirelink PRIVATE ${module_definition})
  set_property(TARGET wirelink APPEND PROPERTY LINK_DEPENDS ${module_definition})
  # The linker's own import library already names each export as callers
  # ask for it.
  set(port_driver_def_64 ${CMAKE_CURRENT_BINARY_DIR}/dlportio.def)
  wirelink_write_undecorated_definition(${port_driver_def} ${port_driver_def_64})
  set(port_driver_def ${port_driver_def_64})
  set(port_driver_dlltool_options "")
else()
  wirelink_write_module_definition(${WIRELINK_EXPORT_LIST} wirelink.dll ${module_definition})
  target_sources(wirelink PRIVATE ${module_definition})

  # The import library that the linker writes beside the DLL knows only the
  # export names, not the stdcall names that a caller's compiler asks for
  # (init_iic@4); dlltool's from the import definition replaces it, so that
  # programs can also link wirelink at build time.
  set(import_definition ${CMAKE_CURRENT_BINARY_DIR}/wirelink-import.def)
  wirelink_write_import_definition(${WIRELINK_EXPORT_LIST} wirelink.dll ${import_definition})
  set_property(TARGET wirelink APPEND PROPERTY LINK_DEPENDS ${module_definition} ${import_definition})
  add_custom_command(TARGET wirelink POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} --input-def ${import_definition} --dllname wirelink.dll
            --output-lib $<TARGET_LINKER_FILE:wirelink>
    COMMENT "Import library for wirelink.dll")
  set(port_driver_dlltool_options --kill-at)
endif()

add_custom_command(OUTPUT ${port_driver_import}
  COMMAND ${CMAKE_DLLTOOL} ${port_driver_dlltool_options} --input-def ${port_driver_def}
          --dllname dlportio.dll --output-lib ${port_driver_import}
  DEPENDS ${port_driver_def}
  COMMENT "Import library for dlportio.dll")
add_custom_target(dlportio_import_library DEPENDS ${port_driver_import})
add_dependencies(wirelink dlportio_import_library)
target_link_libraries(wirelink PRIVATE ${port_driver_import})
