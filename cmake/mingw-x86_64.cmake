# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build/windows64 -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
# Programs built here run under 64-bit Wine, started through its 64-bit
# loader directly: Debian's wine wrapper prefers the 32-bit loader whenever
# that is installed, and a kernel without 32-bit support cannot run it.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(WIRELINK_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

find_program(WIRELINK_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(WIRELINK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WIRELINK_WINE})
endif()
