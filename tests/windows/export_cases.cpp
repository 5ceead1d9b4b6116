// Every export of lib/exports.list is there for GetProcAddress under its
// Windows name.  That nothing else is exported is checked on the file
// (check_pe_exports.cmake); the loader's view is what applications get.

#include <cstring>

#include "cases.h"

namespace {

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
        if (listed.kind != "data") continue;
        const FARPROC cell = GetProcAddress(wirelink_module(), listed.name.c_str());
        if (cell == nullptr) continue;  // reported above
        int32_t value = 0;
        std::memcpy(&value, reinterpret_cast<const void *>(cell), sizeof value);
        if (value != 0) record_failure(__FILE__, __LINE__, listed.name + " is not zero");
    }
}

}  // namespace

std::vector<TestCase> export_cases() {
    return {
        {"every_listed_export_resolves", every_listed_export_resolves},
        {"data_cells_are_zero_at_load", data_cells_are_zero_at_load},
    };
}
