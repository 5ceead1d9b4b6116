// Prints, for every chip call, the port accesses it takes when the chip it
// talks to stretches every clock: just under the bound of one wait (24,990
// accesses), and at the stretch that costs the call most.  One wait may take
// 25,000 status reads, one transaction 25,000 reads of stretching, one call
// 1,000,000; at about 1 us per access on a UART that is 25 ms, 25 ms and 1 s.
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

constexpr int kJustUnderOneWait = 24'990;
constexpr int kStretches[] = {kJustUnderOneWait, 12'490, 2'770, 1'380, 690, 100};
constexpr double kMicrosecondsPerAccess = 1.0;
constexpr int32_t kNothingReported = -1;

// A board with every chip; `stretching` picks the one that stretches.
struct Board {
    Board() {
        wlsim::attach(&bench);
        init_iic(1);
    }
    ~Board() { wlsim::attach(nullptr); }

    static wlsim::Bench &with_adapter(wlsim::Bench &bench) {
        bench.add_uart(wlsim::kCom1, true);
        return bench;
    }

    wlsim::Bench bench;
    wlsim::Pcf8574 &display_port = with_adapter(bench).add_pcf8574(0);
    wlsim::Hd44780 &display = bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
    wlsim::Pcf8574 &expander = bench.add_pcf8574(1);
    wlsim::Pcf8591 &converter = bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
    wlsim::RecordingSlave &tuner = bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC0);
    wlsim::RecordingSlave &synthesizer = bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC4);
};

struct ChipCall {
    std::string name;
    wlsim::I2cSlave &(*chip)(Board &);
    std::function<int32_t()> run;  // 1 success, 0 failure, or kNothingReported
    bool display = false;          // needs lcd_init first
};

wlsim::I2cSlave &expander(Board &b) { return b.expander; }
wlsim::I2cSlave &display(Board &b) { return b.display_port; }
wlsim::I2cSlave &converter(Board &b) { return b.converter; }
wlsim::I2cSlave &tuner(Board &b) { return b.tuner; }
wlsim::I2cSlave &synthesizer(Board &b) { return b.synthesizer; }

std::vector<ChipCall> chip_calls() {
    static char text[32];
    static int32_t value;
    return {
        {"iic_tx_pcf8574", expander, [] { return iic_tx_pcf8574(0x89, 1); }},
        {"_iic_rx_pcf8574", expander, [] { return _iic_rx_pcf8574(&value, 1); }},
        {"pcf8591_readchan", converter,
         [] {
             pcf8591_state state{};
             pcf8591_init(&state, 0, 2.55f);
             return pcf8591_readchan(&state, 1, 0);
         }},
        {"pcf8591_read4chan", converter,
         [] {
             pcf8591_state state{};
             pcf8591_init(&state, 0, 2.55f);
             return pcf8591_read4chan(&state, 0);
         }},
        {"ad_pcf8591_setda", converter, [] { return ad_pcf8591_setda(1275, 0); }},
        {"lcd_init", display, [] { return lcd_init(); }},
        {"lcd_instr", display, [] { return lcd_instr(0x06); }, true},
        {"lcd_wchar", display, [] { return lcd_wchar('A'); }, true},
        {"lcd_rchar", display, [] { return lcd_rchar(&value, 0); }, true},
        {"lcd_write_str (16)", display,
         [] {
             lcd_write_str("0123456789ABCDEF");
             return kNothingReported;
         },
         true},
        {"lcd_read_str (31)", display, [] { return lcd_read_str(31, 0, text); }, true},
        {"lcd_backlight", display, [] { return lcd_backlight(1); }, true},
        {"lcd_get_adress", display, [] { return lcd_get_adress() >= 0 ? 1 : 0; }, true},
        {"pll_tsa5511_send", tuner, [] { return pll_tsa5511_send(0); }},
        {"pll_tsa5511_read", tuner, [] { return pll_tsa5511_read(0) != 0 ? 1 : 0; }},
        {"pll_tsa5523_send", tuner, [] { return pll_tsa5523_send(0); }},
        {"pll_sda3302_send", tuner, [] { return pll_sda3302_send(0); }},
        {"pll_tbb200_send_n_cnt", synthesizer, [] { return pll_tbb200_send_n_cnt(); }},
        {"pll_tsa6057_send", synthesizer, [] { return pll_tsa6057_send(0); }},
    };
}

struct Measured {
    uint64_t accesses;
    int32_t result;
};

Measured measure(const ChipCall &call, int stretch) {
    Board board;
    board.tuner.set_status(0x5A);
    if (call.display) lcd_init();
    call.chip(board).stretch_clock(stretch);
    board.bench.reset_counts();
    const int32_t result = call.run();
    return {board.bench.accesses(), result};
}

double milliseconds(uint64_t accesses) { return accesses * kMicrosecondsPerAccess / 1000.0; }

const char *outcome(int32_t result) {
    if (result == kNothingReported) return "";
    return result == 1 ? "ok" : "err";
}

}  // namespace

int main() {
    set_port_delay(0);
    ad_pcf8591_init(0, 2550);
    pll_tsa5511_init(0x8E, 0, 0);
    std::printf(
        "Clock stretching: port accesses per call while the chip holds SCL low after\n"
        "every falling edge, at delay 0, and the bus time at %.0f us per access\n\n",
        kMicrosecondsPerAccess);
    std::printf("%-22s %14s %9s   %14s %8s %9s\n", "call", "at 24,990", "ms", "worst", "stretch", "ms");
    for (const ChipCall &call : chip_calls()) {
        const Measured under = measure(call, kJustUnderOneWait);
        Measured worst = under;
        int worst_stretch = kJustUnderOneWait;
        for (int stretch : kStretches) {
            const Measured m = measure(call, stretch);
            if (m.accesses > worst.accesses) {
                worst = m;
                worst_stretch = stretch;
            }
        }
        std::printf("%-22s %10llu %-3s %9.1f   %10llu %-3s %8d %9.1f\n", call.name.c_str(),
                    (unsigned long long)under.accesses, outcome(under.result), milliseconds(under.accesses),
                    (unsigned long long)worst.accesses, outcome(worst.result), worst_stretch,
                    milliseconds(worst.accesses));
    }
    std::printf(
        "\nok: the call succeeded; err: a stretching budget ran out and the call failed\n"
        "(lcd_write_str returns 1 whatever happens).  lcd_init also sleeps 20 ms.\n");
    return 0;
}
