// The COM-port dlportio.dll's test program: its driver over fake COM ports,
// then the bus end to end through wirelink.dll and the DLL.  Runs from a
// directory of its own that holds wirelink.dll, the tests' dlportio.dll and
// the bench as wlsim_bench.dll.

#include <windows.h>

#include <cstdio>

#include "cases.h"
#include "serial_cases.h"

int main() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    int failed = run_cases(serial_driver_cases());
    if (!prepare_end_to_end()) {
        std::printf("the end-to-end setup failed (wirelink.dll, dlportio.dll or wlsim_bench.dll)\n");
        return 1;
    }
    failed += run_cases(end_to_end_cases(), check_bench_is_clean);
    return failed == 0 ? 0 : 1;
}
