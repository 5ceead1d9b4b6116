// The wire cases of the Windows test program.
#ifndef WIRELINK_WINDOWS_CASES_H
#define WIRELINK_WINDOWS_CASES_H

#include <vector>

#include "binding.h"
#include "checks.h"

// The library at the wire, against the default bench board of the stand-in
// port driver (adapter on 0x3F8, bare UART on 0x2F8, PCF8574 at indexes 1
// and 2).  The library's state lives as long as the process, so the cases
// run in this order and each one sets up the claim it needs.
std::vector<TestCase> wire_cases(const Wirelink &library, const SimulatedBench &bench);
// Checks that no case touched a port outside the serial ports or put a
// START or STOP inside a byte.
void check_bench_is_clean();

#endif
