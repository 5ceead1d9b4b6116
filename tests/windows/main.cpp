// The Windows test program: loads wirelink.dll by name, as an application
// does, and checks its exports and its bus at the wire against the stand-in
// dlportio.dll.  With --without-driver it checks instead that wirelink.dll
// refuses to load where no dlportio.dll can be found.

#include <cstdio>
#include <cstring>

#include "cases.h"

namespace {

// Every export of lib/api.def is there for GetProcAddress under its
// exact Windows name.  That nothing else is exported is checked on the file
// (check_pe_exports.cmake); the loader's view is what applications get.
void every_listed_export_resolves() {
    CHECK(!listed_exports().empty());
    for (const ListedExport &listed : listed_exports()) {
        if (GetProcAddress(wirelink_module(), listed.name.c_str()) == nullptr)
            record_failure(__FILE__, __LINE__, "not exported: " + listed.name);
    }
}

// Must run before anything else calls the library.  Every data cell is at
// least 32 bits wide.
void data_cells_are_zero_at_load() {
    for (const ListedExport &listed : listed_exports()) {
        const FARPROC cell = GetProcAddress(wirelink_module(), listed.name.c_str());
        if (listed.kind != "data" || cell == nullptr) continue;
        int32_t value = 0;
        std::memcpy(&value, reinterpret_cast<const void *>(cell), sizeof value);
        if (value != 0) record_failure(__FILE__, __LINE__, listed.name + " is not zero");
    }
}

// Run from a directory with wirelink.dll and this program but no
// dlportio.dll: the port driver is a load-time import, so wirelink.dll must
// not load at all.
void wirelink_dll_does_not_load_without_dlportio_dll() {
    // A plain load fails with "module not found" for wirelink.dll itself too:
    // make sure it is here, beside us, and a sound image first.
    char path[MAX_PATH] = {};
    std::string beside_us(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    beside_us = beside_us.substr(0, beside_us.find_last_of("\\/") + 1) + "wirelink.dll";
    const HMODULE image = LoadLibraryExA(beside_us.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CHECK(image != nullptr);
    if (image != nullptr) FreeLibrary(image);

    CHECK(GetModuleHandleA("dlportio.dll") == nullptr);
    SetLastError(0);
    const HMODULE library = LoadLibraryA("wirelink.dll");
    CHECK_EQ(static_cast<uint32_t>(GetLastError()), static_cast<uint32_t>(ERROR_MOD_NOT_FOUND));
    CHECK(library == nullptr);
    if (library != nullptr) FreeLibrary(library);
}

int run_with_driver() {
    if (wirelink_module() == nullptr) {
        std::printf("wirelink.dll did not load (error %lu)\n0 passed, 1 failed\n", GetLastError());
        return 1;
    }
    std::vector<TestCase> cases{NAMED_CASE(every_listed_export_resolves),
                                NAMED_CASE(data_cells_are_zero_at_load)};
    Wirelink library{};
    SimulatedBench bench{};
    std::vector<std::string> missing;
    if (bind_wirelink(library, bench, missing)) {
        for (const TestCase &test : wire_cases(library, bench)) cases.push_back(test);
    } else {
        for (const std::string &name : missing) std::printf("cannot bind %s\n", name.c_str());
        cases.push_back({"binding", [] { record_failure(__FILE__, __LINE__, "functions missing"); }});
    }
    return run_cases(cases, check_bench_is_clean) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    // No error dialog may wait for a click on a machine without a screen.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (argc == 2 && std::strcmp(argv[1], "--without-driver") == 0)
        return run_cases({NAMED_CASE(wirelink_dll_does_not_load_without_dlportio_dll)}) == 0 ? 0 : 1;
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--without-driver]\n", argv[0]);
        return 2;
    }
    return run_with_driver();
}
