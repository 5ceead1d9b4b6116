// Stopping a call from a signal handler or another thread.  The request is a
// lock-free flag; the library acts on it only at byte boundaries, so a byte
// is never cut in half, and finishes an open transaction with a STOP so that
// every slave is back to idle.

#include <atomic>

#include "bus.h"

namespace wirelink {
namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "wirelink_cancel must be safe in a signal handler");

// The STOP that ends a cancelled transaction runs the line operations, which
// must not refuse it.
thread_local bool finishing = false;

}  // namespace

bool cancel_requested() { return requested.load(std::memory_order_relaxed) && !finishing; }

bool stop_for_cancel() {
    if (!cancel_requested()) return false;
    if (transaction_is_open()) {
        finishing = true;
        send_stop();
        finishing = false;
    }
    note_bus_fault(WIRELINK_ECANCELED);
    return true;
}

}  // namespace wirelink

extern "C" {

void WIRELINK_CALL wirelink_cancel(void) { wirelink::requested.store(true, std::memory_order_relaxed); }

void WIRELINK_CALL wirelink_cancel_reset(void) {
    const wirelink::CallOutcome outcome;
    wirelink::requested.store(false, std::memory_order_relaxed);
}

}  // extern "C"
