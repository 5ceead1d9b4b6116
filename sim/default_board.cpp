#include "default_board.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace wlsim {

std::unique_ptr<Bench> make_default_board() {
    auto bench = std::make_unique<Bench>();
    bench->add_uart(kCom1, true);
    bench->add_uart(kCom2, false);
    bench->add_pcf8574(1);
    bench->add_pcf8574(2);
    // A long-running program must not grow the trace without end.
    bench->bus(kCom1).monitor().limit(4096);
    return bench;
}

void print_transactions_if_asked(Bench &bench) {
    const char *trace = std::getenv("WLSIM_TRACE");
    if (trace == nullptr || *trace == '\0' || std::strcmp(trace, "0") == 0) return;
    bench.bus(kCom1).monitor().on_transaction([](const std::string &text) {
        std::printf("i2c: %s\n", text.c_str());
        std::fflush(stdout);
    });
}

}  // namespace wlsim
