# What both MinGW-w64 cross builds share; cmake/mingw-i686.cmake and
# cmake/mingw-x86_64.cmake set WIRELINK_MINGW_TRIPLET and the emulator first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${WIRELINK_MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${WIRELINK_MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${WIRELINK_MINGW_TRIPLET}-windres)
set(CMAKE_DLLTOOL ${WIRELINK_MINGW_TRIPLET}-dlltool)
set(CMAKE_OBJDUMP ${WIRELINK_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${WIRELINK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime goes into each binary, so that a DLL needs only
# the port driver and the system's DLLs.  -static also covers a toolchain
# whose default thread model would otherwise import libwinpthread-1.dll.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
