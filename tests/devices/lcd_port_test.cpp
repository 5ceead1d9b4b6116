// The display driver's port values on the expander: nibble writes and reads,
// the wake-up sequence and the backlight bit.
#include "lcd_fixture.h"

namespace {

struct ByteCase {
    const char *name;
    int32_t (*call)(int32_t);
    int32_t value;
    Bytes after_poll;

    friend void PrintTo(const ByteCase &c, std::ostream *os) { *os << c.name; }
};

class LcdByteWrite : public LcdTest, public ::testing::WithParamInterface<ByteCase> {};

TEST_P(LcdByteWrite, PollsThenSendsTwoNibblesWithAnEnablePulseEach) {
    initialised();
    EXPECT_EQ(GetParam().call(GetParam().value), 1);
    EXPECT_EQ(expander.writes(), kBusyPollLit + GetParam().after_poll);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, LcdByteWrite,
    ::testing::Values(ByteCase{"Character41", lcd_wchar, 0x41, {0x4C, 0x4D, 0x4C, 0x1C, 0x1D, 0x1C}},
                      ByteCase{"Clear", lcd_instr, 0x01, {0x08, 0x09, 0x08, 0x18, 0x19, 0x18}},
                      ByteCase{"OnlyLowEightBits", lcd_wchar, 0x1E4, {0xEC, 0xED, 0xEC, 0x4C, 0x4D, 0x4C}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LcdTest, BusyPollReadsEachNibbleWithEnableHigh) {
    initialised();
    EXPECT_EQ(lcd_get_adress(), 0);
    // Pins the controller leaves alone read back as written (quasi-bidirectional).
    EXPECT_EQ(trace(),
              "S 70 A FA A P S 70 A FB A P S 71 A 0B N P S 70 A FA A P "
              "S 70 A FA A P S 70 A FB A P S 71 A 0B N P S 70 A FA A P");
}

// The six set-up instructions, each after a poll, with the backlight as the
// cell had it when lcd_init was called.
Bytes setup_instructions(const Bytes &poll, uint8_t light) {
    Bytes out;
    for (uint8_t instruction : {0x28, 0x08, 0x01, 0x02, 0x06, 0x0E}) {
        const uint8_t high = (instruction & 0xF0) | light;
        const uint8_t low = ((instruction & 0x0F) << 4) | light;
        out = out + poll + Bytes{high, uint8_t(high | 1), high, low, uint8_t(low | 1), low};
    }
    return out;
}

TEST_F(LcdTest, FirstInitWakesTheControllerWithTheBacklightOff) {
    lcd_BACKLIGHT = 0;  // as loaded (stated, for runs of several tests in one process)
    lcd_ADRESS = 7;
    EXPECT_EQ(lcd_init(), 1);
    const Bytes wake = {0x08, 0x30, 0x31, 0x30, 0x30, 0x31, 0x30, 0x30, 0x31, 0x30, 0x20, 0x21, 0x20};
    EXPECT_EQ(expander.writes(), wake + setup_instructions(kBusyPollDark, 0x00));
    EXPECT_EQ(lcd_BACKLIGHT, 1);
    EXPECT_EQ(lcd_ADRESS, 0);
    EXPECT_TRUE(display.four_bit());
    EXPECT_TRUE(display.two_lines());
    EXPECT_TRUE(display.display_on());
    EXPECT_TRUE(display.cursor_on());
    EXPECT_FALSE(display.blink_on());
    EXPECT_EQ(display.dropped_while_busy(), 0);
    EXPECT_EQ(lcd_get_adress(), 0);
}

TEST_F(LcdTest, SecondInitKeepsTheBacklightOnAndResynchronises) {
    initialised();
    lcd_write_str("Hi");
    forget();
    EXPECT_EQ(lcd_init(), 1);
    const Bytes wake = {0x08, 0x38, 0x39, 0x38, 0x38, 0x39, 0x38, 0x38, 0x39, 0x38, 0x28, 0x29, 0x28};
    EXPECT_EQ(expander.writes(), wake + setup_instructions(kBusyPollLit, 0x08));
    // Back in step from 4-bit mode: the clear took effect and text lands at 0.
    EXPECT_EQ(display.line(0), std::string(16, ' '));
    lcd_write_str("Yo");
    EXPECT_EQ(display.line(0), "Yo              ");
}

struct BacklightCase {
    int32_t on;
    uint8_t port;

    friend void PrintTo(const BacklightCase &c, std::ostream *os) { *os << c.on; }
};

class LcdBacklight : public LcdTest, public ::testing::WithParamInterface<BacklightCase> {};

TEST_P(LcdBacklight, WritesTheBitAloneAndKeepsTheFlagAsGiven) {
    EXPECT_EQ(lcd_backlight(GetParam().on), 1);
    EXPECT_EQ(expander.writes(), Bytes{GetParam().port});
    EXPECT_EQ(lcd_BACKLIGHT, GetParam().on);
    EXPECT_EQ(display.backlight(), GetParam().port != 0);
}

INSTANTIATE_TEST_SUITE_P(Flags, LcdBacklight,
                         ::testing::Values(BacklightCase{0, 0x00}, BacklightCase{1, 0x08},
                                           BacklightCase{2, 0x08}, BacklightCase{-1, 0x08}),
                         [](const auto &info) {
                             const int32_t on = info.param.on;
                             return (on < 0 ? "minus" : "") + std::to_string(on < 0 ? -on : on);
                         });

TEST_F(LcdTest, FlagOtherThanOneLightsReadsButNotWrites) {
    initialised();
    lcd_backlight(2);
    expander.clear_history();
    lcd_wchar(0x41);
    EXPECT_EQ(expander.writes(), kBusyPollLit + Bytes({0x44, 0x45, 0x44, 0x14, 0x15, 0x14}));
    EXPECT_FALSE(display.backlight());
}

}  // namespace
