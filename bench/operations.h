// The operations whose port accesses the timing table lists, each with the
// bench it needs.
#ifndef WIRELINK_BENCH_OPERATIONS_H
#define WIRELINK_BENCH_OPERATIONS_H

#include <functional>
#include <string>
#include <vector>

#include "bench.h"

struct Operation {
    std::string name;
    int bytes;                  // bytes on the wire, for the per-byte figures
    std::function<void()> run;  // one complete call, every byte acknowledged
};

// Fits the chips the operations talk to onto the bench's 0x3F8 bus.
void fit_chips(wlsim::Bench &bench);
std::vector<Operation> operations();
// The run whose waveform the I2C timing is measured from: every complete
// transaction above, then a write to an absent expander, which leaves the
// bus open, and a write that therefore begins with a repeated START.
void timing_run();

#endif
