# cmake -DEMULATOR=wine -DPROGRAM=wirelink_wine_test.exe -DLIBRARY=wirelink.dll
#       -DDIRECTORY=... -P run_without_driver.cmake
#
# Puts the test program and wirelink.dll, but no dlportio.dll, into a fresh
# directory and runs the program's --without-driver check there.
file(REMOVE_RECURSE ${DIRECTORY})
file(MAKE_DIRECTORY ${DIRECTORY})
file(COPY ${PROGRAM} ${LIBRARY} DESTINATION ${DIRECTORY})
get_filename_component(program_name ${PROGRAM} NAME)
execute_process(COMMAND ${EMULATOR} ${DIRECTORY}/${program_name} --without-driver
  WORKING_DIRECTORY ${DIRECTORY}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the --without-driver check failed (${result})")
endif()
