// A display on the expander at index 0 of the standard board, and the port
// values the driver writes for one byte.
#ifndef WIRELINK_TESTS_LCD_FIXTURE_H
#define WIRELINK_TESTS_LCD_FIXTURE_H

#include <string>
#include <vector>

#include "hd44780.h"
#include "wire_test.h"

using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One byte as two nibbles, each written with an E pulse, on the given control
// lines (0x08 backlight, 0x04 RS, 0x02 R/W).  A read holds the data lines high.
inline Bytes nibbles(uint8_t byte, uint8_t lines) {
    const auto high = static_cast<uint8_t>((byte & 0xF0) | lines);
    const auto low = static_cast<uint8_t>((byte << 4) | lines);
    return {high, static_cast<uint8_t>(high | 1), high, low, static_cast<uint8_t>(low | 1), low};
}

// A busy-flag poll that found the display ready, the backlight bit set.
const Bytes kPoll = nibbles(0xFF, 0x0A);
inline Bytes instruction(uint8_t code) { return kPoll + nibbles(code, 0x08); }

class LcdTest : public StandardBoardTest {
protected:
    void SetUp() override { claim(); }

    // The display set up by lcd_init, with the history of that forgotten.
    void initialised() {
        ASSERT_EQ(lcd_init(), 1);
        forget();
    }

    void forget() {
        forget_history();
        expander.clear_history();
    }

    wlsim::Pcf8574 &expander = bench.add_pcf8574(0);
    wlsim::Hd44780 &display = bench.add<wlsim::Hd44780>(wlsim::kCom1, expander);
};

#endif
