# dlportio.dll for Windows: the DlPortIO family over COM ports reached
# through the serial API, for USB-serial adapters and any COM port, with no
# kernel driver.  Built into build/windows/portio, apart from the simulated
# bench's stand-in dlportio.dll in bin/.

# The driver with the serial API injected, for the tests.
add_library(portio_windows STATIC
  windows_port_driver.cpp
  windows_serial_device.cpp
  windows_timing.cpp)
target_link_libraries(portio_windows PUBLIC portio_model)

# The exports, shared by the product and by the tests' DLL, which differ only
# in where their serial API table comes from.
# The 64-bit build has no stdcall decoration: it takes the same list without.
set(WIRELINK_DLPORTIO_DEF ${CMAKE_CURRENT_SOURCE_DIR}/windows_dlportio.def CACHE INTERNAL "")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  include(${PROJECT_SOURCE_DIR}/cmake/Exports.cmake)
  set(WIRELINK_DLPORTIO_DEF ${CMAKE_CURRENT_BINARY_DIR}/windows_dlportio.def CACHE INTERNAL "")
  wirelink_write_undecorated_definition(${CMAKE_CURRENT_SOURCE_DIR}/windows_dlportio.def ${WIRELINK_DLPORTIO_DEF})
endif()
add_library(dlportio_exports OBJECT windows_dlportio.cpp)
target_link_libraries(dlportio_exports PUBLIC portio_windows)

function(wirelink_add_dlportio_dll target directory)
  add_library(${target} SHARED $<TARGET_OBJECTS:dlportio_exports> ${WIRELINK_DLPORTIO_DEF} ${ARGN})
  target_link_libraries(${target} PRIVATE portio_windows)
  target_link_options(${target} PRIVATE "LINKER:--kill-at")
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME dlportio
    RUNTIME_OUTPUT_DIRECTORY ${directory}
    LINK_DEPENDS ${WIRELINK_DLPORTIO_DEF})
endfunction()

wirelink_add_dlportio_dll(dlportio_serial ${CMAKE_CURRENT_BINARY_DIR} windows_serial_api.cpp)
install(TARGETS dlportio_serial RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT libwirelink0)
