# What a program built against an installed wirelink finds: the CMake package
# (find_package(wirelink) gives wirelink::wirelink) and, on Linux, wirelink.pc.
include(CMakePackageConfigHelpers)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/wirelink)
install(EXPORT wirelinkTargets NAMESPACE wirelink:: DESTINATION ${package_dir} COMPONENT libwirelink-dev)
configure_package_config_file(wirelinkConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/wirelinkConfig.cmake
  INSTALL_DESTINATION ${package_dir})
# Before 1.0 a new minor version may change the interface.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/wirelinkConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/wirelinkConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/wirelinkConfigVersion.cmake
  DESTINATION ${package_dir} COMPONENT libwirelink-dev)

if(WIN32)
  return()
endif()

# wirelink.pc names the prefix given at install time (cmake --install
# --prefix), so it is written then.  Outside /usr its Libs carry a run path to
# the library, so that a program linked with it starts from any prefix; it is
# a DT_RUNPATH, which LD_LIBRARY_PATH (the simulated bench's port driver)
# still outranks.
install(CODE "
  set(wirelink_pc_template [[${CMAKE_CURRENT_SOURCE_DIR}/wirelink.pc.in]])
  set(wirelink_pc_output [[${CMAKE_CURRENT_BINARY_DIR}/install/wirelink.pc]])
  set(libdir [[${CMAKE_INSTALL_LIBDIR}]])
  set(includedir [[${CMAKE_INSTALL_INCLUDEDIR}]])
  set(PROJECT_VERSION [[${PROJECT_VERSION}]])
" COMPONENT libwirelink-dev)
install(CODE [[
  cmake_path(ABSOLUTE_PATH libdir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE wirelink_libdir)
  cmake_path(ABSOLUTE_PATH includedir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
  cmake_path(ABSOLUTE_PATH libdir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
  string(REPLACE "${CMAKE_INSTALL_PREFIX}" "\${prefix}" includedir "${includedir}")
  string(REPLACE "${CMAKE_INSTALL_PREFIX}" "\${prefix}" libdir "${libdir}")
  set(run_path "")
  if(NOT CMAKE_INSTALL_PREFIX MATCHES "^/usr/?$")
    set(run_path " -Wl,--enable-new-dtags,-rpath,\${libdir}")
  endif()
  configure_file("${wirelink_pc_template}" "${wirelink_pc_output}" @ONLY)
  file(INSTALL "${wirelink_pc_output}" DESTINATION "${wirelink_libdir}/pkgconfig")
]] COMPONENT libwirelink-dev)

# A library installed into the system's own directories is found through the
# loader's cache, which ldconfig renews; only root can, and a staged install
# (DESTDIR) leaves it to the package manager.
install(CODE [[
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/?$" AND "$ENV{DESTDIR}" STREQUAL "")
    find_program(ldconfig ldconfig PATHS /sbin /usr/sbin)
    execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(ldconfig AND uid STREQUAL "0")
      message(STATUS "Updating the shared library cache: ${ldconfig}")
      execute_process(COMMAND "${ldconfig}")
    else()
      message(STATUS "Run 'sudo ldconfig' so that programs find libwirelink.so")
    endif()
  endif()
]] COMPONENT libwirelink0)
