// Time for the Windows port driver from the performance counter: the clock
// that paces the search for a port that went away, and the busy wait of one
// register access.
#ifndef DLPORTIO_WINDOWS_TIMING_H
#define DLPORTIO_WINDOWS_TIMING_H

#include <cstdint>

#include "timing.h"
#include "windows_serial_api.h"

namespace dlportio {

class CounterTiming final : public Timing {
public:
    explicit CounterTiming(const SerialApi &api);

    Clock::time_point now() override;
    // Waits by the counter too: only brief waits are ever asked for.
    void sleep_until(Clock::time_point until) override;
    void spend_register_access_time() override;

private:
    int64_t count();

    const SerialApi &api_;
    int64_t frequency_;          // counts per second
    int64_t counts_per_access_;  // at least one
    int64_t last_ = 0;
};

}  // namespace dlportio

#endif
