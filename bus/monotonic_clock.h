// A clock that only moves forward, for the time bounds of the waits.  The
// MinGW runtime's steady_clock follows the wall clock, so Windows asks the
// performance counter.
#ifndef WIRELINK_BUS_MONOTONIC_CLOCK_H
#define WIRELINK_BUS_MONOTONIC_CLOCK_H

#include <chrono>

namespace wirelink {

std::chrono::nanoseconds monotonic_now();

}  // namespace wirelink

#endif
