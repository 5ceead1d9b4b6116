// The library's own work per port access.  On real hardware one access takes
// about 1 us; what the library adds on top should be a small share of that.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "wirelink.h"

namespace {

// Accesses per call with the port delay at 0, from the line sequences: a line
// change is an MCR read and write, a wait for SCL one status read.
constexpr double kAccessesPerByteSent = 8 * (3 * 2 + 1) + 3 * 2 + 2;

void claim() {
    set_port_delay(0);
    init_iic(1);
}

void BM_SendByte(benchmark::State &state) {
    claim();
    for (auto _ : state) benchmark::DoNotOptimize(iic_send_byte(0x72));
    state.counters["ns_per_access"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kAccessesPerByteSent,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SendByte);

void BM_ExpanderWrite(benchmark::State &state) {
    claim();
    for (auto _ : state) benchmark::DoNotOptimize(iic_tx_pcf8574(0x89, 1));
}
BENCHMARK(BM_ExpanderWrite);

void BM_PortWait(benchmark::State &state) {
    claim();
    set_port_delay(100);
    for (auto _ : state) benchmark::DoNotOptimize(wait_port());
    state.counters["ns_per_access"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 100,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PortWait);

}  // namespace

BENCHMARK_MAIN();
