// A display on the expander at index 0 of the standard board, and a decoder
// that turns the expander's port writes back into display operations.
#ifndef WIRELINK_TESTS_LCD_FIXTURE_H
#define WIRELINK_TESTS_LCD_FIXTURE_H

#include <cstdio>
#include <string>
#include <vector>

#include "hd44780.h"
#include "wire_test.h"

using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One busy-flag poll that found the display ready, as port writes.
const Bytes kBusyPollLit = {0xFA, 0xFB, 0xFA, 0xFA, 0xFB, 0xFA};
const Bytes kBusyPollDark = {0xF2, 0xF3, 0xF2, 0xF2, 0xF3, 0xF2};

// The display operations in a run of port writes, one token per byte
// transferred (two nibbles, each ended by a falling E): "I28" instruction,
// "D41" character, "B" busy flag and address read, "R" character read.
inline std::string display_operations(const Bytes &writes) {
    std::string text;
    uint8_t before = 0;
    bool have_high = false;
    uint8_t high = 0;
    for (uint8_t now : writes) {
        const bool falling = (before & 0x01) && !(now & 0x01);
        const uint8_t lines = before;
        before = now;
        if (!falling) continue;
        if (!have_high) {
            high = lines;
            have_high = true;
            continue;
        }
        have_high = false;
        if (!text.empty()) text += ' ';
        const bool rs = lines & 0x04;
        if (lines & 0x02) {
            text += rs ? "R" : "B";
        } else {
            char byte[8];
            std::snprintf(byte, sizeof byte, "%c%02X", rs ? 'D' : 'I', (high & 0xF0) | (lines >> 4));
            text += byte;
        }
    }
    return text;
}

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

    std::string operations() const { return display_operations(expander.writes()); }

    wlsim::Pcf8574 &expander = bench.add_pcf8574(0);
    wlsim::Hd44780 &display = bench.add<wlsim::Hd44780>(wlsim::kCom1, expander);
};

#endif
