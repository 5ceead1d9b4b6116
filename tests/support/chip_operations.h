// Every kind of chip operation, each as a call that gives back what it
// returned and read, for the tests that run them on two paths and compare.
#ifndef WIRELINK_TESTS_CHIP_OPERATIONS_H
#define WIRELINK_TESTS_CHIP_OPERATIONS_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wirelink.h"

namespace chip_operations {

struct Operation {
    const char *name;
    std::function<std::vector<int32_t>()> run;

    friend void PrintTo(const Operation &row, std::ostream *os) { *os << row.name; }
};

inline std::vector<int32_t> converter_reads() {
    ad_pcf8591_init(0, 2550);
    std::vector<int32_t> values;
    for (int32_t channel = 0; channel < 4; ++channel) values.push_back(ad_pcf8591_readchan(channel, 0));
    return values;
}

inline std::vector<int32_t> display_line() {
    std::vector<int32_t> results{lcd_init(), lcd_write_str("Hello, bench 123")};
    char back[17] = {};
    results.push_back(lcd_read_str(16, 0x00, back));
    for (char c : back) results.push_back(c);
    return results;
}

// Synthesizers of every kind, all at the address of a chip at 0xC0.
inline std::vector<int32_t> synthesizers() {
    pll_tsa5511_init(0x8E, 0, 0x01);
    pll_tsa5511_calc(100'000'000, 0);
    pll_tbb200_init(0, 12'800'000, 64);
    pll_tbb200_calc(25'000, 145'000'000);
    pll_tsa6057_init(1, 64);
    pll_tsa6057_calc(100'000'000, 64);
    pll_sda3302_init(1);
    pll_sda3302_calc(100'000'000, 0);
    pll_tsa5523_init(0x8E);
    pll_tsa5523_calc(100'000'000, 0);
    return {pll_tsa5511_send(0),     pll_tsa5511_read(0),          pll_tsa5523_send(0),
            pll_tsa5523_read(0),     pll_tbb200_send_status(0xF8), pll_tbb200_send_r_cnt(),
            pll_tbb200_send_n_cnt(), pll_tsa6057_send(0),          pll_sda3302_send(0)};
}

// Combined transfers: a register read from the converter, and probes (a
// zero-length write, a one-byte read) of an expander that is there and of
// one that is not.
inline std::vector<int32_t> transfers() {
    uint8_t reg = 0x00, value = 0, none = 0;
    const wirelink_msg register_read[] = {{0x48, 0, 1, &reg}, {0x48, WIRELINK_MSG_READ, 1, &value}};
    const wirelink_msg present_probe{0x39, 0, 0, nullptr};
    const wirelink_msg absent_probe{0x3E, 0, 0, nullptr};
    const wirelink_msg absent_read{0x3E, WIRELINK_MSG_READ, 1, &none};
    return {wirelink_transfer(register_read, 2), value, wirelink_transfer(&present_probe, 1),
            wirelink_transfer(&absent_probe, 1), wirelink_transfer(&absent_read, 1)};
}

// On a board with expanders at 1 and 2 (none at 5 or 6), a converter at 0,
// a display behind the expander at 0 and a synthesizer at 0xC0.
inline std::vector<Operation> all() {
    return {
        {"expander_write", [] { return std::vector<int32_t>{iic_tx_pcf8574(0x5A, 1)}; }},
        {"expander_reads",
         [] {
             int32_t value = -1;
             const int32_t ok = _iic_rx_pcf8574(&value, 2);
             return std::vector<int32_t>{iic_rx_pcf8574(1), ok, value, iic_rx_pcf8574(5)};
         }},
        {"absent_expander", [] { return std::vector<int32_t>{iic_tx_pcf8574(0x01, 6)}; }},
        {"converter_reads", converter_reads},
        {"absent_converter", [] { return std::vector<int32_t>{ad_pcf8591_readchan(1, 3)}; }},
        {"transfers", transfers},
        {"converter_read4_and_output",
         [] {
             pcf8591_state state{};
             pcf8591_init(&state, 0, 2.55f);
             return std::vector<int32_t>{pcf8591_read4chan(&state, 0), state.reading[2], state.reading[3],
                                         pcf8591_setda(&state, 1.0f, 0), ad_pcf8591_setda(2000, 0)};
         }},
        {"display_line", display_line},
        {"display_characters",
         [] {
             int32_t character = 0;
             return std::vector<int32_t>{lcd_init(),     lcd_instr(0x80),
                                         lcd_wchar('W'), lcd_rchar(&character, 0x00),
                                         character,      lcd_backlight(0)};
         }},
        {"synthesizers", synthesizers},
        {"primitives",
         [] {
             iic_start();
             const int32_t a = iic_send_byte(0xC1);
             const int32_t b = iic_read_byte(1);
             const int32_t c = iic_read_byte(0);
             iic_stop();
             return std::vector<int32_t>{a, b, c};
         }},
    };
}

inline std::string name_of(const ::testing::TestParamInfo<Operation> &info) { return info.param.name; }

}  // namespace chip_operations

#endif
