#include "default_board.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "pcf8591.h"

namespace wlsim {

namespace {

// A level sweeping from 0 V up to the reference and back down, one code step
// per 1024 port accesses: a few steps per second for a program that polls
// the inputs, so a display of them is seen to move.
Pcf8591::Level slow_sweep(const Pcf8591 &chip) {
    return [&chip] {
        const uint64_t step = chip.now() / 1024 % 510;
        const uint64_t code = step < 255 ? step : 510 - step;
        return (static_cast<double>(code) + 0.5) * chip.vref() / 256.0;
    };
}

// The receiver board's converter: its output wired back into AIN0, a slowly
// changing level on AIN1 and two fixed levels on AIN2 and AIN3.
void fit_converter(Bench &bench) {
    Pcf8591 &converter = bench.add<Pcf8591>(kCom1, 0);
    converter.loop_back_output(0);
    converter.drive_input(1, slow_sweep(converter));
    converter.set_input_volts(2, 1.0);
    converter.set_input_volts(3, 2.0);
}

bool trace_asked() {
    const char *trace = std::getenv("WLSIM_TRACE");
    return trace != nullptr && *trace != '\0' && std::strcmp(trace, "0") != 0;
}

}  // namespace

DefaultBoard make_default_board() {
    DefaultBoard board;
    board.bench = std::make_unique<Bench>();
    Bench &bench = *board.bench;
    bench.add_uart(kCom1, true);
    bench.add_uart(kCom2, false);
    Pcf8574 &display_port = bench.add_pcf8574(0);
    bench.add_pcf8574(1);
    bench.add_pcf8574(2);
    board.display = &bench.add<Hd44780>(kCom1, display_port);
    fit_converter(bench);
    // WLSIM_RUNS=n: the ports run up to n line steps per exchange, as an
    // FTDI cable in synchronous bit-bang mode does.
    if (const char *runs = std::getenv("WLSIM_RUNS"); runs != nullptr && *runs != '\0')
        bench.offer_runs(static_cast<uint32_t>(std::strtoul(runs, nullptr, 10)));
    // A long-running program must not grow the trace without end.
    bench.bus(kCom1).monitor().limit(4096);
    return board;
}

void print_activity_if_asked(DefaultBoard &board) {
    if (!trace_asked()) return;
    board.bench->bus(kCom1).monitor().on_transaction([](const std::string &text) {
        std::printf("i2c: %s\n", text.c_str());
        std::fflush(stdout);
    });
    const Hd44780 *display = board.display;
    board.display->on_line_change([display](int line) {
        std::printf("lcd %d: |%s|\n", line + 1, display->line(line).c_str());
        std::fflush(stdout);
    });
}

void record_waveforms_if_asked(DefaultBoard &board) {
    const char *path = std::getenv("WLSIM_VCD");
    if (path == nullptr || *path == '\0') return;
    try {
        board.bench->record_waveforms(path);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "wlsim: WLSIM_VCD: %s; running without the waveform file\n", error.what());
    }
}

}  // namespace wlsim
