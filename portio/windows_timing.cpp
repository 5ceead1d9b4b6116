#include "windows_timing.h"

#include <algorithm>

namespace dlportio {
namespace {

// An ISA bus cycle to the UART.
constexpr int64_t kAccessesPerSecond = 1'000'000;

int64_t frequency_of(const SerialApi &api) {
    LARGE_INTEGER frequency{};
    if (!api.query_performance_frequency(&frequency) || frequency.QuadPart <= 0) return kAccessesPerSecond;
    return frequency.QuadPart;
}

}  // namespace

CounterTiming::CounterTiming(const SerialApi &api)
    : api_(api),
      frequency_(frequency_of(api)),
      counts_per_access_(std::max<int64_t>(1, frequency_ / kAccessesPerSecond)) {}

// Whole seconds and the rest apart, so that a counter running for years at
// 10 MHz cannot overflow the nanoseconds.
Timing::Clock::time_point CounterTiming::now() {
    const int64_t counts = count();
    const auto seconds = std::chrono::seconds(counts / frequency_);
    const auto rest = std::chrono::nanoseconds((counts % frequency_) * 1'000'000'000 / frequency_);
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(seconds + rest));
}

void CounterTiming::sleep_until(Clock::time_point until) {
    while (now() < until) {
    }
}

void CounterTiming::spend_register_access_time() {
    const int64_t start = count();
    while (count() - start < counts_per_access_) {
    }
}

// A counter that cannot be read moves on by one count a call, so that no
// wait can last for ever.
int64_t CounterTiming::count() {
    LARGE_INTEGER counter{};
    if (api_.query_performance_counter(&counter)) {
        last_ = counter.QuadPart;
    } else {
        ++last_;
    }
    return last_;
}

}  // namespace dlportio
