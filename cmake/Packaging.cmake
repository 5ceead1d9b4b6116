# Debian packages (scripts/package.sh; cpack -G DEB in a build configured with
# -DCMAKE_INSTALL_PREFIX=/usr).  Every install rule names the package that
# carries it through its COMPONENT:
#
#   libwirelink0      libwirelink.so.0 and its links, the real port driver
#   libwirelink-dev   header, wirelink.pc, the CMake package
#   wirelink-tools    the command-line tool, its manual, completion, examples
#   rigcheck          the bench window, its menu entry and icon
#   wirelink-sim      the simulated bench's port driver and wirelink-sim
#   python3-wirelink  the Python package: an install rule with this component
#                     (into lib/python3/dist-packages, where Debian's python3
#                     looks) is all it takes to add it
#
# Debian's own files (copyright, changelog, lintian overrides) are installed
# only into the packages, not by a plain cmake --install.
if(WIN32)
  return()
endif()

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(WIRELINK_DEB_RELEASE 1 CACHE STRING "Debian revision of the packages (the -1 of 0.1.0-1)")
set(WIRELINK_DEB_MAINTAINER "wirelink developers <wirelink@users.noreply.github.com>"
  CACHE STRING "Maintainer field of the Debian packages")
file(RELATIVE_PATH bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})

# A manual page, compressed as Debian wants it (no name, no timestamp).
function(wirelink_install_manual component page)
  get_filename_component(name ${page} NAME)
  set(compressed ${PROJECT_BINARY_DIR}/packaging/man/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E copy ${page} ${PROJECT_BINARY_DIR}/packaging/man/${name}
    COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/packaging/man/${name}
    DEPENDS ${page})
  add_custom_target(manual_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

# What the packages carry beside the programs and libraries.
if(TARGET dlportio_sim)
  set(bin_to_sim ${bin_to_lib}/wirelink/sim)
  configure_file(${packaging_dir}/wirelink-sim.in ${PROJECT_BINARY_DIR}/packaging/wirelink-sim @ONLY)
  install(PROGRAMS ${PROJECT_BINARY_DIR}/packaging/wirelink-sim
    DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT wirelink-sim)
  wirelink_install_manual(wirelink-sim ${packaging_dir}/wirelink-sim.1)
endif()
if(TARGET rigcheck)
  install(FILES ${packaging_dir}/rigcheck.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT rigcheck)
  install(FILES ${packaging_dir}/rigcheck.svg
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps COMPONENT rigcheck)
  wirelink_install_manual(rigcheck ${packaging_dir}/rigcheck.1)
endif()
if(TARGET wirelink_cli)
  install(FILES
    ${PROJECT_SOURCE_DIR}/examples/70-wirelink-modemmanager.rules
    ${PROJECT_SOURCE_DIR}/examples/ports.conf
    ${PROJECT_SOURCE_DIR}/examples/wirelink.ini
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/wirelink-tools/examples COMPONENT wirelink-tools)
  # The tool's manual page: a written one once there is one, else what
  # help2man makes of its --help.
  find_program(HELP2MAN help2man)
  if(EXISTS ${PROJECT_SOURCE_DIR}/cli/wirelink.1)
    wirelink_install_manual(wirelink-tools ${PROJECT_SOURCE_DIR}/cli/wirelink.1)
  elseif(HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
    set(page ${PROJECT_BINARY_DIR}/packaging/wirelink.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
              "--name=the I2C bus on a serial port's modem lines, and its chips"
              --output=${page} $<TARGET_FILE:wirelink_cli>
      DEPENDS wirelink_cli VERBATIM)
    wirelink_install_manual(wirelink-tools ${page})
  else()
    message(STATUS "help2man is missing: the wirelink tool's package gets no manual page")
  endif()
  if(EXISTS ${PROJECT_SOURCE_DIR}/cli/wirelink.bash-completion)
    install(FILES ${PROJECT_SOURCE_DIR}/cli/wirelink.bash-completion
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME wirelink
      COMPONENT wirelink-tools)
  endif()
endif()

# One line of summary, then the description, per package.
set(summary_libwirelink0 "I2C bus on the modem-control lines of a serial port (library)")
set(summary_libwirelink-dev "I2C bus on the modem-control lines of a serial port (development files)")
set(summary_wirelink-tools "I2C bus on the modem-control lines of a serial port (command-line tool)")
set(summary_rigcheck "bench window for a receiver board on a serial-port I2C bus")
set(summary_wirelink-sim "simulated bench for the wirelink serial-port I2C bus")
set(summary_python3-wirelink "I2C bus on the modem-control lines of a serial port (Python 3)")
set(about "wirelink drives an I2C bus bit-banged through the modem-control lines of\na PC serial port (SDA on DTR, SCL on RTS, read back on DSR and CTS), on\nboard ports and USB-serial cables, with drivers for the PCF8574, PCF8591,\nan HD44780 display and five PLL synthesizers.")
set(detail_libwirelink0 "This package holds the shared library and its port driver.")
set(detail_libwirelink-dev "This package holds what programs built against the library need: the\nheader, the pkg-config file and the CMake package.")
set(detail_wirelink-tools "This package holds the wirelink command-line tool, which scans the bus,\ntransfers bytes and drives every chip from a shell.")
set(detail_rigcheck "This package holds rigcheck, the bench window for the receiver board.")
set(detail_wirelink-sim "This package holds a simulated UART, adapter, I2C bus and chips behind\nthe port driver's interface; wirelink-sim runs any program on it.")
set(detail_python3-wirelink "This package holds the Python 3 module.")
set(section_libwirelink0 libs)
set(section_libwirelink-dev libdevel)
set(section_python3-wirelink python)
set(known_components libwirelink0 libwirelink-dev wirelink-tools rigcheck wirelink-sim python3-wirelink)

# Packages are made for the components that install rules name.
get_cmake_property(declared_components COMPONENTS)
set(CPACK_COMPONENTS_ALL "")
foreach(component IN LISTS declared_components)
  if(NOT component IN_LIST known_components)
    message(WARNING "install rules name the component '${component}', which is no Debian package: "
                    "give them one of ${known_components} (cmake/Packaging.cmake)")
    continue()
  endif()
  list(APPEND CPACK_COMPONENTS_ALL ${component})
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${component})
  set(CPACK_DEBIAN_${upper}_DESCRIPTION "${summary_${component}}\n${about}\n\n${detail_${component}}")
  if(DEFINED section_${component})
    set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${section_${component}})
  endif()
  # Every package but the library itself is made together with it.
  if(NOT component STREQUAL "libwirelink0")
    set(CPACK_DEBIAN_${upper}_PACKAGE_DEPENDS
        "libwirelink0 (= ${PROJECT_VERSION}-${WIRELINK_DEB_RELEASE})")
  endif()

  set(docs ${CMAKE_INSTALL_DATAROOTDIR}/doc/${component})
  install(FILES ${packaging_dir}/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz
    DESTINATION ${docs} COMPONENT ${component} EXCLUDE_FROM_ALL)
  if(EXISTS ${packaging_dir}/${component}.lintian-overrides)
    install(FILES ${packaging_dir}/${component}.lintian-overrides
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${component}
      COMPONENT ${component} EXCLUDE_FROM_ALL)
  endif()
endforeach()

# The packages' changelog, compressed as Debian wants it (no timestamp).
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging_dir}/changelog)
execute_process(COMMAND gzip -9n -c ${packaging_dir}/changelog
  OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wirelink)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${WIRELINK_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SOURCE wirelink)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${WIRELINK_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/lib)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The tool and the window load the library at run time, which dpkg-shlibdeps
# cannot see: their dependency on it is the one above.  They run on the
# simulated bench with --sim and wirelink-sim.
set(CPACK_DEBIAN_WIRELINK-TOOLS_PACKAGE_RECOMMENDS wirelink-sim)
set(CPACK_DEBIAN_RIGCHECK_PACKAGE_SUGGESTS wirelink-sim)
set(CPACK_DEBIAN_PYTHON3-WIRELINK_PACKAGE_ARCHITECTURE all)
string(APPEND CPACK_DEBIAN_PYTHON3-WIRELINK_PACKAGE_DEPENDS ", python3")
# The loader cache is renewed by dpkg's trigger, not by maintainer scripts.
set(CPACK_DEBIAN_LIBWIRELINK0_PACKAGE_CONTROL_EXTRA ${packaging_dir}/triggers)
set(CPACK_POST_BUILD_SCRIPTS ${packaging_dir}/drop-ldconfig-scripts.cmake)
include(CPack)
