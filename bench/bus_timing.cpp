// Prints how many port accesses each operation costs at the port delays 0, 1,
// 10 and 100, and what that means on a real UART, where one register access
// takes about 1 us: the SCL clock rate and the time per transaction.
#include <cstdio>
#include <map>

#include "bench.h"
#include "operations.h"
#include "wirelink.h"

namespace {

constexpr int kDelays[] = {0, 1, 10, 100};
constexpr double kMicrosecondsPerAccess = 1.0;

using Counts = std::map<std::string, std::map<int, uint64_t>>;

Counts measure(wlsim::Bench &bench) {
    Counts counts;
    for (int delay : kDelays) {
        set_port_delay(delay);
        for (const Operation &operation : operations()) {
            iic_stop();  // every operation starts on an idle bus
            bench.reset_counts();
            operation.run();
            counts[operation.name][delay] = bench.accesses();
        }
    }
    return counts;
}

void print_header(const char *first_column) {
    std::printf("%-22s", first_column);
    for (int delay : kDelays) std::printf("  delay %-4d", delay);
    std::printf("\n");
}

void print_counts(const Counts &counts) {
    std::printf("Port accesses per operation (every byte acknowledged)\n\n");
    print_header("operation");
    for (const Operation &operation : operations()) {
        std::printf("%-22s", operation.name.c_str());
        for (int delay : kDelays)
            std::printf("  %10llu", (unsigned long long)counts.at(operation.name).at(delay));
        std::printf("\n");
    }
}

void print_times(const Counts &counts) {
    std::printf("\nAt %.0f us per port access (a UART on the ISA or LPC bus)\n\n", kMicrosecondsPerAccess);
    print_header("");
    // A byte is nine clocks.
    std::printf("%-22s", "SCL, byte average kHz");
    for (int delay : kDelays) {
        const double byte_us = counts.at("byte sent").at(delay) * kMicrosecondsPerAccess;
        std::printf("  %10.1f", 9.0 / byte_us * 1000.0);
    }
    std::printf("\n\n");
    print_header("time per call (ms)");
    for (const Operation &operation : operations()) {
        if (operation.bytes < 2) continue;
        std::printf("%-22s", operation.name.c_str());
        for (int delay : kDelays)
            std::printf("  %10.3f", counts.at(operation.name).at(delay) * kMicrosecondsPerAccess / 1000.0);
        std::printf("\n");
    }
    std::printf(
        "\nThe I2C standard mode allows SCL up to 100 kHz.  lcd_init sleeps 20 ms on\n"
        "top of its bus time.\n");
}

}  // namespace

int main() {
    wlsim::Bench bench;
    bench.add_uart(wlsim::kCom1, true);
    fit_chips(bench);
    wlsim::attach(&bench);
    if (init_iic(1) != 0x3F8) {
        std::fprintf(stderr, "the simulated adapter did not answer\n");
        return 1;
    }
    const Counts counts = measure(bench);
    print_counts(counts);
    print_times(counts);
    wlsim::attach(nullptr);
    return 0;
}
