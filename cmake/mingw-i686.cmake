# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686):
#   cmake -S . -B build/windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
# Programs built here run under Wine, which ctest uses as the emulator.  Its
# loader for 32-bit programs is itself a 32-bit program: a kernel without
# 32-bit support cannot start it (scripts/windows-tests.sh checks first).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(WIRELINK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

find_program(WIRELINK_WINE wine)
if(WIRELINK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WIRELINK_WINE})
endif()
