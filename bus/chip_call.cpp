// Chip-level calls run one at a time across the process, each with its own
// stretching budget.  The lock is recursive because chip calls are built
// from each other (a display write is expander writes).  The MinGW runtime
// of the Windows build has no std::recursive_mutex; a critical section is
// the same thing there.

#include "batch_path.h"
#include "bus.h"
#include "stretch_budget.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <mutex>
#endif

namespace wirelink {
namespace {

#if defined(_WIN32)

class ProcessLock {
public:
    ProcessLock() { InitializeCriticalSection(&section_); }
    ~ProcessLock() { DeleteCriticalSection(&section_); }
    void lock() { EnterCriticalSection(&section_); }
    void unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

#else

using ProcessLock = std::recursive_mutex;

#endif

ProcessLock chip_lock;
int depth = 0;  // calls of the thread that holds the lock; only it touches this
thread_local bool inside_on_this_thread = false;
uint32_t outermost_calls = 0;

}  // namespace

ChipCall::ChipCall() {
    chip_lock.lock();
    if (depth++ == 0) {
        inside_on_this_thread = true;
        ++outermost_calls;
        begin_call_budget();
    }
}

uint32_t ChipCall::serial() { return outermost_calls; }

bool ChipCall::inside() { return inside_on_this_thread; }

// Line steps a call left waiting for the next run go out before the bus is
// handed on: the wire is idle between calls, and the call's outcome
// includes what their samples showed.
ChipCall::~ChipCall() {
    if (--depth == 0) {
        settle_pending_steps();
        inside_on_this_thread = false;
        end_call_budget();
    }
    chip_lock.unlock();
}

}  // namespace wirelink
