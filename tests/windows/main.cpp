// The Windows test program: loads wirelink.dll by name, as an application
// does, and checks its exports and its bus at the wire against the stand-in
// dlportio.dll.  With --without-driver it checks instead that wirelink.dll
// refuses to load where no dlportio.dll can be found.

#include <cstdio>
#include <cstring>

#include "cases.h"

namespace {

int run_without_driver() { return run_cases(missing_driver_cases()) == 0 ? 0 : 1; }

int run_with_driver() {
    if (wirelink_module() == nullptr) {
        std::printf("wirelink.dll did not load (error %lu)\n", GetLastError());
        std::printf("0 passed, 1 failed\n");
        return 1;
    }
    std::vector<TestCase> cases = export_cases();
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
    if (argc == 2 && std::strcmp(argv[1], "--without-driver") == 0) return run_without_driver();
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--without-driver]\n", argv[0]);
        return 2;
    }
    return run_with_driver();
}
