// The wait for SCL to read high.  A slave may stretch the clock, and the line
// needs its rise time; an unplugged adapter or a slave that holds SCL low
// forever must not block the caller, so each wait is bounded.

#include "bus.h"

namespace wirelink {
namespace {

// About 25 ms at the ~1 us that a UART register access takes: the SMBus
// clock-low timeout.
constexpr int kSclPollLimit = 25000;

// Set once a wait has given up.  Later waits then look at SCL only once, so a
// transaction on a dead bus costs one full wait, not one per clock.
bool scl_stuck = false;

}  // namespace

bool wait_for_scl() {
    const int polls = scl_stuck ? 1 : kSclPollLimit;
    for (int i = 0; i < polls; ++i) {
        if (read_scl() != 0) {
            scl_stuck = false;
            return true;
        }
    }
    scl_stuck = true;
    return false;
}

void reset_scl_wait() { scl_stuck = false; }

}  // namespace wirelink
