#include "default_board.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wlsim {

namespace {

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

}  // namespace wlsim
