# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686):
#   cmake -S . -B build/windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# Programs built here run under Wine, which ctest uses as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(WIRELINK_MINGW_TRIPLET i686-w64-mingw32)
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

find_program(WIRELINK_WINE wine)
if(WIRELINK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WIRELINK_WINE})
endif()
