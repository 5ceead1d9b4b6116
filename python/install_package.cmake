# Run by `cmake --install`: the prefix is known only then.  /usr gets Debian's
# public module folder; /usr/local the versioned one Debian's python3 searches
# there; any other prefix lib/python3/dist-packages, which PYTHONPATH must
# name.  The package learns where the prefix keeps its libraries.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(modules "${CMAKE_INSTALL_PREFIX}/lib/python3/dist-packages")
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(modules "${CMAKE_INSTALL_PREFIX}/lib/${WIRELINK_PYTHON_VERSION}/dist-packages")
else()
  set(modules "${CMAKE_INSTALL_PREFIX}/lib/python3/dist-packages")
endif()
if(IS_ABSOLUTE "${WIRELINK_LIBDIR}")
  set(libdir "${WIRELINK_LIBDIR}")
else()
  set(libdir "${CMAKE_INSTALL_PREFIX}/${WIRELINK_LIBDIR}")
endif()

file(GLOB sources "${WIRELINK_PACKAGE_DIR}/*.py")
list(FILTER sources EXCLUDE REGEX "/_installed\\.py$")
file(WRITE "${WIRELINK_STAGING}/_installed.py"
  "\"\"\"Written by cmake --install: where this prefix keeps libwirelink.so.\"\"\"\n\nLIBDIR = \"${libdir}\"\n")
file(INSTALL ${sources} "${WIRELINK_STAGING}/_installed.py" DESTINATION "${modules}/wirelink")
