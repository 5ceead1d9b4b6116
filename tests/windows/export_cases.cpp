// Every name of lib/exports.list, under its Windows name, is there for
// GetProcAddress.  That nothing else is exported is checked on the file
// (check_pe_exports.cmake); the loader's view is what applications get.

#include "cases.h"

namespace {

void every_listed_export_resolves() {
    CHECK(!listed_exports().empty());
    for (const std::string &name : listed_exports()) {
        if (GetProcAddress(wirelink_module(), name.c_str()) == nullptr)
            record_failure(__FILE__, __LINE__, "not exported: " + name);
    }
}

}  // namespace

std::vector<TestCase> export_cases() {
    return {
        {"every_listed_export_resolves", every_listed_export_resolves},
    };
}
