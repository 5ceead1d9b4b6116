// The count of faults that void a transaction, for FaultWatch.  Atomic: the
// line operations take no lock, and a watch may be read on another thread.

#include <atomic>

#include "bus.h"

namespace wirelink {
namespace {

std::atomic<uint32_t> faults{0};

}  // namespace

void note_bus_fault(int32_t code) {
    faults.fetch_add(1, std::memory_order_relaxed);
    note_failure(code);
}

uint32_t bus_faults() { return faults.load(std::memory_order_relaxed); }

}  // namespace wirelink
