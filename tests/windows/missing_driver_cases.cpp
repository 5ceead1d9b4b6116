// Run from a directory that holds wirelink.dll and this program but no
// dlportio.dll: the port driver is a load-time import, so wirelink.dll must
// not load at all.

#include "cases.h"

namespace {

std::string own_directory() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    const size_t slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

void wirelink_dll_does_not_load_without_dlportio_dll() {
    // A plain load fails with "module not found" for wirelink.dll itself too:
    // make sure it is here and a sound image first.
    const std::string beside_us = own_directory() + "\\wirelink.dll";
    const HMODULE image = LoadLibraryExA(beside_us.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CHECK(image != nullptr);
    if (image != nullptr) FreeLibrary(image);

    CHECK(GetModuleHandleA("dlportio.dll") == nullptr);
    SetLastError(0);
    const HMODULE library = LoadLibraryA("wirelink.dll");
    const DWORD error = GetLastError();
    CHECK(library == nullptr);
    CHECK_EQ(static_cast<uint32_t>(error), static_cast<uint32_t>(ERROR_MOD_NOT_FOUND));
    if (library != nullptr) FreeLibrary(library);
}

}  // namespace

std::vector<TestCase> missing_driver_cases() {
    return {{"wirelink_dll_does_not_load_without_dlportio_dll", wirelink_dll_does_not_load_without_dlportio_dll}};
}
