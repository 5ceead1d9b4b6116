// Every public entry with the extreme values of its 32-bit arguments: the
// sanitizers see no undefined behaviour, no port outside the serial ports is
// touched, and with the clock stuck low every call still returns after a
// bounded number of port accesses.
#include "wire_test.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>
#include <set>
#include <string>
#include <string_view>

#include "hd44780.h"
#include "pcf8591.h"
#include "recording_slave.h"

namespace {

using Args = std::array<int32_t, 3>;

struct Entry {
    const char *name;
    int arity;
    std::function<void(const Args &)> call;
};

// A message whose fields are cut from the arguments, in a buffer that holds
// the longest read the library takes, so a refusal is the library's doing.
void transfer_one(const Args &a) {
    static uint8_t buffer[8192 + 32];
    const wirelink_msg message{static_cast<uint16_t>(a[0]), static_cast<uint16_t>(a[1]), a[2], buffer};
    wirelink_transfer(&message, 1);
}

// A count beyond the list is the caller's fault; up to the 42 the library
// takes, the list is all there.
void transfer_count(const Args &a) {
    static uint8_t byte = 0;
    const std::vector<wirelink_msg> probes(42, wirelink_msg{0x48, 0, 0, &byte});
    if (a[0] <= 42) {
        wirelink_transfer(probes.data(), a[0]);
    } else {
        EXPECT_EQ(wirelink_transfer(probes.data(), a[0]), -EINVAL);
    }
}

const Entry kEntries[] = {
    {"wirelink_strerror", 1, [](const Args &a) { EXPECT_NE(wirelink_strerror(a[0]), nullptr); }},
    {"wirelink_cancel", 1,
     [](const Args &a) {
         wirelink_cancel();
         iic_send_byte(a[0]);
         EXPECT_EQ(wirelink_last_error(), WIRELINK_ECANCELED);
         wirelink_cancel_reset();
     }},
    {"init_iic", 1, [](const Args &a) { init_iic(a[0]); }},
    {"wirelink_use_device", 1,
     [](const Args &a) {
         const int32_t result = wirelink_use_device(a[0], nullptr);
         EXPECT_EQ(result, a[0] == 1 || a[0] == 2 ? 0 : -WIRELINK_EINVAL);
     }},
    {"set_strobe", 1, [](const Args &a) { set_strobe(a[0]); }},
    {"byte_out", 1, [](const Args &a) { byte_out(a[0]); }},
    {"byte_in", 1, [](const Args &a) { byte_in(a[0]); }},
    {"get_status", 1, [](const Args &a) { get_status(a[0]); }},
    {"inp32", 1, [](const Args &a) { inp32(a[0]); }},
    {"out32", 2, [](const Args &a) { out32(a[0], a[1]); }},
    {"set_port_delay", 1, [](const Args &a) { set_port_delay(a[0] & 0x3); }},
    {"iic_send_byte", 1, [](const Args &a) { iic_send_byte(a[0]); }},
    {"iic_read_byte", 1, [](const Args &a) { iic_read_byte(a[0]); }},
    {"wirelink_transfer message", 3, transfer_one},
    {"wirelink_transfer count", 1, transfer_count},
    {"iic_tx_pcf8574", 2, [](const Args &a) { iic_tx_pcf8574(a[0], a[1]); }},
    {"iic_rx_pcf8574", 1, [](const Args &a) { iic_rx_pcf8574(a[0]); }},
    {"ad_pcf8591_init", 2, [](const Args &a) { ad_pcf8591_init(a[0], a[1]); }},
    {"ad_pcf8591_readchan", 2, [](const Args &a) { ad_pcf8591_readchan(a[0], a[1]); }},
    {"ad_pcf8591_setda", 2, [](const Args &a) { ad_pcf8591_setda(a[0], a[1]); }},
    {"ad_pcf8591_aout", 1, [](const Args &a) { ad_pcf8591_aout(a[0]); }},
    {"lcd_instr", 1, [](const Args &a) { lcd_instr(a[0]); }},
    {"lcd_wchar", 1, [](const Args &a) { lcd_wchar(a[0]); }},
    {"lcd_rchar", 1,
     [](const Args &a) {
         int32_t c = 0;
         lcd_rchar(&c, a[0]);
     }},
    {"lcd_read_str", 2,
     [](const Args &a) {
         char text[40];
         lcd_read_str(a[0], a[1], text);
     }},
    {"lcd_backlight", 1, [](const Args &a) { lcd_backlight(a[0]); }},
    {"pll_tsa5511_init", 3, [](const Args &a) { pll_tsa5511_init(a[0], a[1], a[2]); }},
    {"pll_tsa5511_calc", 2, [](const Args &a) { pll_tsa5511_calc(a[0], a[1]); }},
    {"pll_tsa5511_send", 1, [](const Args &a) { pll_tsa5511_send(a[0]); }},
    {"pll_tsa5511_read", 1, [](const Args &a) { pll_tsa5511_read(a[0]); }},
    {"pll_tsa5523_init", 1, [](const Args &a) { pll_tsa5523_init(a[0]); }},
    {"pll_tsa5523_calc", 2, [](const Args &a) { pll_tsa5523_calc(a[0], a[1]); }},
    {"pll_tsa5523_send", 1, [](const Args &a) { pll_tsa5523_send(a[0]); }},
    {"pll_tsa5523_read", 1, [](const Args &a) { pll_tsa5523_read(a[0]); }},
    {"pll_tbb200_init", 3, [](const Args &a) { pll_tbb200_init(a[0], a[1], a[2]); }},
    {"pll_tbb200_calc", 2, [](const Args &a) { pll_tbb200_calc(a[0], a[1]); }},
    {"pll_tbb200_send_status", 1, [](const Args &a) { pll_tbb200_send_status(a[0]); }},
    {"pll_tbb200_send_counters", 0,
     [](const Args &) {
         pll_tbb200_send_r_cnt();
         pll_tbb200_send_n_cnt();
     }},
    {"pll_tsa6057_init", 2, [](const Args &a) { pll_tsa6057_init(a[0], a[1]); }},
    {"pll_tsa6057_calc", 2, [](const Args &a) { pll_tsa6057_calc(a[0], a[1]); }},
    {"pll_tsa6057_send", 1, [](const Args &a) { pll_tsa6057_send(a[0]); }},
    {"pll_sda3302_init", 1, [](const Args &a) { pll_sda3302_init(a[0]); }},
    {"pll_sda3302_calc", 2, [](const Args &a) { pll_sda3302_calc(a[0], a[1]); }},
    {"pll_sda3302_send", 1, [](const Args &a) { pll_sda3302_send(a[0]); }},
};

// Entries with arguments that the table above does not call, and why.
const std::set<std::string> kNotCalledHere = {
    "lcd_write_str",  // takes a string, not a number: the display tests and the fuzzer cover it
};

constexpr int32_t kExtremes[] = {std::numeric_limits<int32_t>::min(), -1, 0, 1, 2, 256,
                                 std::numeric_limits<int32_t>::max()};

// Runs f on every combination of extremes for the entry's arguments.
void for_each_argument_set(const Entry &entry, const std::function<void(const Args &)> &f) {
    const int n = sizeof kExtremes / sizeof kExtremes[0];
    int combinations = 1;
    for (int i = 0; i < entry.arity; ++i) combinations *= n;
    for (int k = 0; k < combinations; ++k) {
        Args args{};
        for (int i = 0, rest = k; i < entry.arity; ++i, rest /= n) args[i] = kExtremes[rest % n];
        f(args);
    }
}

class ExtremeArguments : public StandardBoardTest {
protected:
    void SetUp() override {
        bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
        bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
        bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC0);
        bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC4);
        claim();
        lcd_init();
    }

    wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
};

TEST_F(ExtremeArguments, EveryEntryTakesEveryExtremeSafely) {
    for (const Entry &entry : kEntries) {
        for_each_argument_set(entry, [&](const Args &args) {
            entry.call(args);
            // Whatever the call did, the bus must be usable again.
            iic_stop();
            if (init_iic(1) != 0x3F8) ADD_FAILURE() << entry.name << " lost the adapter";
        });
    }
}

TEST_F(ExtremeArguments, StuckClockBoundsEveryCall) {
    bench.bus().stick_scl_low(true);
    for (const Entry &entry : kEntries) {
        if (std::string(entry.name) == "init_iic") continue;  // a new claim re-arms the full wait
        for_each_argument_set(entry, [&](const Args &args) {
            forget_history();
            entry.call(args);
            // At most one full wait for SCL per call, plus single looks; the
            // largest call, a 31-character lcd_read_str, is some 1,200
            // transactions.
            EXPECT_LT(bench.accesses(), 25000u + 250000u) << entry.name;
        });
    }
}

// An entry added to the export table with arguments must be added above.
TEST(ExtremeArgumentsTable, CallsEveryEntryThatTakesArguments) {
    std::set<std::string> called;
    // "wirelink_transfer count": an entry may be called in several rows.
    for (const Entry &entry : kEntries)
        called.insert(std::string(entry.name).substr(0, std::string_view(entry.name).find(' ')));
#define WIRELINK_FUNCTION(name, kind, bytes, ...)                                                \
    if (std::string_view(#kind) == "entry" && (bytes) > 0 && kNotCalledHere.count(#name) == 0) { \
        EXPECT_EQ(called.count(#name), 1u) << #name " takes arguments: add it to kEntries";      \
    }
#include "api.def"
#undef WIRELINK_FUNCTION
}

TEST_F(ExtremeArguments, ConverterWorkersTakeAnyFloat) {
    const float values[] = {0.0f,
                            -0.0f,
                            1e-30f,
                            -1e30f,
                            1e30f,
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::nanf("")};
    for (float vref : values) {
        for (float volts : values) {
            pcf8591_state state{};
            pcf8591_init(&state, 0, vref);
            pcf8591_setda(&state, volts, 0);
            for (int32_t channel : {-1, 0, 3, 4}) pcf8591_aout(&state, channel);
        }
    }
}

}  // namespace
