// The display driver's port values on the expander: nibble writes and reads,
// the wake-up sequence and the backlight bit.
#include "lcd_fixture.h"

namespace {

// A byte write polls the busy flag, then sends two nibbles with an E pulse
// each; the backlight bit only while the cell holds 1, the poll whenever not 0.
TEST_F(LcdTest, ByteWritePollsThenSendsTwoNibblesWithAnEnablePulseEach) {
    initialised();
    const struct {
        int32_t backlight, (*write)(int32_t), value;
        Bytes nibbles;
    } cases[] = {{1, lcd_wchar, 0x41, {0x4C, 0x4D, 0x4C, 0x1C, 0x1D, 0x1C}},
                 {1, lcd_instr, 0x01, {0x08, 0x09, 0x08, 0x18, 0x19, 0x18}},
                 {1, lcd_wchar, 0x1E4, {0xEC, 0xED, 0xEC, 0x4C, 0x4D, 0x4C}},  // only the low eight bits
                 {2, lcd_wchar, 0x41, {0x44, 0x45, 0x44, 0x14, 0x15, 0x14}}};
    for (const auto &c : cases) {
        lcd_BACKLIGHT = c.backlight;
        forget();
        EXPECT_EQ(c.write(c.value), 1);
        EXPECT_EQ(expander.writes(), kPoll + c.nibbles) << c.backlight << ", " << c.value;
    }
}

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
Bytes setup_instructions(uint8_t light) {
    Bytes out;
    for (uint8_t code : {0x28, 0x08, 0x01, 0x02, 0x06, 0x0E})
        out = out + nibbles(0xFF, 0x02 | light) + nibbles(code, light);
    return out;
}

// The first init after load wakes the controller with the backlight bit clear
// (the cell is still 0); a second, from 4-bit mode, keeps it on throughout and
// gets back in step, so its clear takes effect.
TEST_F(LcdTest, InitWakesTheControllerWithTheBacklightAsTheCellHadIt) {
    lcd_BACKLIGHT = 0;  // as loaded, should one process run several tests
    lcd_ADRESS = 7;
    EXPECT_EQ(lcd_init(), 1);
    const Bytes first = {0x08, 0x30, 0x31, 0x30, 0x30, 0x31, 0x30, 0x30, 0x31, 0x30, 0x20, 0x21, 0x20};
    EXPECT_EQ(expander.writes(), first + setup_instructions(0x00));
    EXPECT_EQ(lcd_BACKLIGHT, 1);
    EXPECT_EQ(lcd_ADRESS, 0);
    EXPECT_TRUE(display.four_bit() && display.two_lines() && display.display_on() && display.cursor_on());
    EXPECT_FALSE(display.blink_on());
    EXPECT_EQ(lcd_get_adress(), 0);
    lcd_write_str("Hi");
    forget();
    EXPECT_EQ(lcd_init(), 1);
    const Bytes again = {0x08, 0x38, 0x39, 0x38, 0x38, 0x39, 0x38, 0x38, 0x39, 0x38, 0x28, 0x29, 0x28};
    EXPECT_EQ(expander.writes(), again + setup_instructions(0x08));
    EXPECT_EQ(display.line(0), std::string(16, ' '));
    EXPECT_EQ(display.dropped_while_busy(), 0);
}

TEST_F(LcdTest, BacklightWritesTheBitAloneAndKeepsTheFlagAsGiven) {
    for (const int32_t on : {0, 1, 2, -1}) {
        expander.clear_history();
        EXPECT_EQ(lcd_backlight(on), 1);
        EXPECT_EQ(expander.writes(), Bytes{uint8_t(on ? 0x08 : 0x00)}) << on;
        EXPECT_EQ(lcd_BACKLIGHT, on);
        EXPECT_EQ(display.backlight(), on != 0);
    }
}

}  // namespace
