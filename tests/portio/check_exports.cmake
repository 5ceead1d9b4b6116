# Fails unless LIBRARY defines exactly DlPortReadPortUchar,
# DlPortWritePortUchar and the extension wirelink_port_extension in its
# dynamic symbol table.
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX REPLACE "[^\n]* ([^ \n]+)\n" "\\1;" names "${symbols}")
list(REMOVE_ITEM names "")
list(SORT names)
if(NOT names STREQUAL "DlPortReadPortUchar;DlPortWritePortUchar;wirelink_port_extension")
  message(FATAL_ERROR "libdlportio exports: ${names}")
endif()
