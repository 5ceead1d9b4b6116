// The wait for SCL to read high.  A slave may stretch the clock, and the line
// needs its rise time; an unplugged adapter or a slave that holds SCL low
// forever must not block the caller, so each wait is bounded, in reads for a
// fast port and in time for a slow one (a USB serial adapter answers a status
// read in a millisecond or more).

#include <algorithm>

#include "bus.h"
#include "monotonic_clock.h"
#include "stretch_budget.h"

namespace wirelink {
namespace {

using namespace std::chrono_literals;

// The SMBus clock-low timeout: 25 ms, which a UART's ~1 us status reads
// reach after 25,000 of them.  Whichever bound comes first ends the wait.
constexpr int32_t kSclPollLimit = 25'000;
constexpr std::chrono::nanoseconds kSclTimeLimit = 25ms;

// Set once a wait has given up.  Later waits then look at SCL only once, so a
// transaction on a dead bus costs one full wait, not one per clock.
bool scl_stuck = false;
uint32_t given_up = 0;
bool clear_due = false;

bool seen_high() {
    scl_stuck = false;
    return true;
}

bool give_up() {
    scl_stuck = true;
    clear_due = true;
    ++given_up;
    note_bus_fault(WIRELINK_ETIMEDOUT);
    return false;
}

// Reads SCL until it is high, the reads run out or the deadline has passed;
// the read after the deadline is the last, so that a slave that lets go just
// in time still counts.  Returns the reads made and whether SCL was high.
struct Polled {
    int32_t reads;
    bool high;
};

Polled poll_scl(int32_t reads, std::chrono::nanoseconds deadline) {
    for (int32_t done = 0; done < reads;) {
        const bool late = monotonic_now() >= deadline;
        ++done;
        if (read_scl() != 0) return {done, true};
        if (late) return {done, false};
    }
    return {reads, false};
}

}  // namespace

bool wait_for_scl() {
    // A free clock costs one read and no look at the time.
    if (read_scl() != 0) return seen_high();
    const Stretch allowed = stretch_left();
    if (scl_stuck || allowed.reads <= 0 || allowed.time <= 0ns) return give_up();
    const std::chrono::nanoseconds begin = monotonic_now();
    const Polled polled =
        poll_scl(std::min(kSclPollLimit - 1, allowed.reads), begin + std::min(kSclTimeLimit, allowed.time));
    spend_stretch({polled.reads, monotonic_now() - begin});
    return polled.high ? seen_high() : give_up();
}

void reset_scl_wait() {
    scl_stuck = false;
    clear_due = false;
}

bool bus_clear_due() { return clear_due; }

void bus_cleared() { clear_due = false; }

uint32_t scl_waits_given_up() { return given_up; }

void note_clock_missed() {
    clear_due = true;
    ++given_up;
    note_bus_fault(WIRELINK_ETIMEDOUT);
}

}  // namespace wirelink
