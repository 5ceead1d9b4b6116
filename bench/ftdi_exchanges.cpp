// USB round trips per operation on an FTDI cable: through the kernel's tty
// (ftdi_sio: every line change and every status read is one round trip)
// and in synchronous bit-bang mode (ftdi:SERIAL: every run of line steps is
// one exchange).  Both are counted on the simulated bench: the tty path's
// round trips are the control writes that change a line plus the status
// reads; the fast path's exchanges are the bench's runs.  Times follow at
// 1 ms per round trip or exchange.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "hd44780.h"
#include "pcf8591.h"
#include "recording_slave.h"
#include "wirelink.h"

namespace {

constexpr uint32_t kMsr = wlsim::kCom1 + 6;
constexpr uint32_t kRunLimit = 4096;

struct Operation {
    const char *name;
    std::function<void()> run;
};

const Operation kOperations[] = {
    {"PCF8574 write", [] { iic_tx_pcf8574(0x5A, 1); }},
    {"four single-channel converter reads (rigcheck's poll)",
     [] {
         for (int32_t channel = 0; channel < 4; ++channel) ad_pcf8591_readchan(channel, 0);
     }},
    {"16-character display line", [] { lcd_write_str("Hello, bench 123"); }},
    {"detect 0x08-0x77 (wirelink detect)",
     [] {
         // As the tool probes: a one-byte read at 0x30-0x37 and 0x50-0x5F, a
         // zero-length write elsewhere, each one transfer.
         for (uint16_t address = 0x08; address <= 0x77; ++address) {
             uint8_t byte = 0;
             const bool read = (address >= 0x30 && address <= 0x37) || (address >= 0x50 && address <= 0x5F);
             const wirelink_msg probe{address, static_cast<uint16_t>(read ? WIRELINK_MSG_READ : 0),
                                      read ? 1 : 0, &byte};
             wirelink_transfer(&probe, 1);
         }
     }},
};

// Changes of DTR or RTS among the control values written.
uint64_t line_changes(const std::vector<uint8_t> &states, uint8_t first) {
    uint64_t changes = 0;
    uint8_t before = first & 3;
    for (uint8_t state : states) {
        changes += (state & 3) != before;
        before = state & 3;
    }
    return changes;
}

struct Counted {
    uint64_t round_trips;  // or exchanges
    uint64_t steps;        // line steps run, on the fast path
};

Counted count(const Operation &operation, bool runs) {
    wlsim::Bench bench;
    bench.add_uart(wlsim::kCom1, true);
    wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
    // At a millisecond per round trip the controller's 37 us are over by the
    // next look: the display is never found busy.
    bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port).set_busy_time(0);
    bench.add_pcf8574(1);
    bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
    bench.offer_runs(runs ? kRunLimit : 0);
    wlsim::attach(&bench);
    set_port_delay(10);  // rigcheck's
    init_iic(1);
    ad_pcf8591_init(0, 2550);
    lcd_init();
    const uint8_t mcr = bench.uart(wlsim::kCom1).mcr();
    bench.reset_counts();
    bench.log_accesses(true);
    operation.run();
    const Counted result{runs ? bench.runs() : line_changes(bench.line_states(), mcr) + bench.reads(kMsr),
                         bench.steps_run()};
    wlsim::attach(nullptr);
    return result;
}

}  // namespace

// The step rate the FTDI backend sets (ftdi_lines.cpp): a register-level
// line change's time at that delay, at most 200,000 steps a second.
double steps_per_second(int delay) { return std::min(200'000.0, 1'000'000.0 / (2 + delay)); }

int main() {
    std::printf(
        "USB round trips per operation on an FTDI cable (port delay 10, every byte acknowledged)\n\n");
    std::printf(
        "| Operation | tty (ftdi_sio): round trips | ms at 1 ms | ftdi:SERIAL: exchanges | ms at 1 ms "
        "| line steps |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Operation &operation : kOperations) {
        const Counted tty = count(operation, false), fast = count(operation, true);
        std::printf("| %s | %llu | %llu | %llu | %llu | %llu |\n", operation.name,
                    static_cast<unsigned long long>(tty.round_trips),
                    static_cast<unsigned long long>(tty.round_trips),
                    static_cast<unsigned long long>(fast.round_trips),
                    static_cast<unsigned long long>(fast.round_trips),
                    static_cast<unsigned long long>(fast.steps));
    }
    std::printf(
        "\nSCL in synchronous bit-bang mode (three steps a data bit; the step rate follows the port "
        "delay)\n\n");
    std::printf("| port delay | steps per second | SCL |\n|---:|---:|---:|\n");
    for (int delay : {0, 1, 5, 10, 50}) {
        std::printf("| %d | %.0f | %.1f kHz |\n", delay, steps_per_second(delay),
                    steps_per_second(delay) / 3000.0);
    }
    return 0;
}
