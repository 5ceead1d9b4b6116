# Run paths.  Every binary finds the project's libraries relative to itself
# ($ORIGIN) and records them as DT_RUNPATH, which LD_LIBRARY_PATH outranks: a
# port driver put first on the library path (the simulated bench's) still
# stands in for the real one.
#
# The build tree is laid out like an installed prefix (shared libraries in
# lib/, programs one folder below the top), so that an installed binary is
# linked with its installed run path and never edited at install time:
# CMake's editing pads the build tree's run path with a trailing ':', an empty
# entry that the loader reads as the current directory.
if(NOT WIN32)
  set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib)
  set(CMAKE_BUILD_RPATH_USE_ORIGIN ON)
  add_link_options(LINKER:--enable-new-dtags)

  file(RELATIVE_PATH bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set(WIRELINK_PROGRAM_RUNPATH "$ORIGIN/${bin_to_lib}")
  if(NOT bin_to_lib STREQUAL "../lib")
    list(APPEND WIRELINK_PROGRAM_RUNPATH "$ORIGIN/../lib")  # the build tree's
  endif()
endif()

# A program installed to bin/, finding libwirelink.so and the real port driver
# in the library folder; `component` names the package that carries it.
function(wirelink_install_program target component)
  if(NOT WIN32)
    set_target_properties(${target} PROPERTIES
      BUILD_WITH_INSTALL_RPATH ON
      INSTALL_RPATH "${WIRELINK_PROGRAM_RUNPATH}")
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
endfunction()
