// The cases of the COM-port dlportio.dll's test program.
#ifndef WIRELINK_WINDOWS_SERIAL_CASES_H
#define WIRELINK_WINDOWS_SERIAL_CASES_H

#include <vector>

#include "checks.h"

// The driver alone, over fake COM ports.
std::vector<TestCase> serial_driver_cases();

// wirelink.dll over the tests' dlportio.dll, whose COM ports are the
// simulated bench's UARTs.  prepare_end_to_end sets up the ports, the
// variable and wirelink.ini before anything loads wirelink.dll; false when
// the bench could not be loaded.
bool prepare_end_to_end();
std::vector<TestCase> end_to_end_cases();

#endif
