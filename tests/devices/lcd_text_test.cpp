// Text through the display: characters land where the address counter
// points, strings are read back, and the limits on both directions hold.
#include <algorithm>
#include <cstring>

#include "lcd_fixture.h"

namespace {

const std::string kBlankLine(16, ' ');

class LcdText : public LcdTest {
protected:
    void SetUp() override {
        LcdTest::SetUp();
        initialised();
    }
};

// At most 16 characters, each with its full 8-bit code, from where the
// counter was set; an empty string sends nothing.
TEST_F(LcdText, WrittenStringLandsWhereTheCounterPoints) {
    const struct {
        uint8_t set_address;
        std::string text;
        int line;
        std::string shown;
        int32_t counter;
    } cases[] = {{0x80, "", 0, kBlankLine, 0},
                 {0x80, "Hello", 0, "Hello           ", 5},
                 {0xC0, "World", 1, "World           ", 0x45},
                 {0xA6, "xyz", 1, "z               ", 0x41},  // from the end of line one on to line two
                 {0x80, "0123456789ABCDEF", 0, "0123456789ABCDEF", 16},
                 {0x80, "0123456789ABCDEFGHIJ", 0, "0123456789ABCDEF", 16},
                 {0x80, "\xE4\xDF", 0, "\xE4\xDF              ", 2}};
    for (const auto &c : cases) {
        lcd_instr(0x01);
        lcd_instr(c.set_address);
        forget_history();
        EXPECT_EQ(lcd_write_str(c.text.c_str()), 1);
        if (c.text.empty()) {
            EXPECT_EQ(bench.accesses(), 0u);
        }
        EXPECT_EQ(display.line(c.line), c.shown) << c.text;
        EXPECT_EQ(display.line(1 - c.line), kBlankLine);
        EXPECT_EQ(lcd_get_adress(), c.counter);
    }
}

TEST_F(LcdText, CharacterReadsBackFromItsAddress) {
    lcd_write_str("AB");
    // Only seven bits are an address: 0x80 + 0x81 must not become "clear".
    for (const auto &[address, expected] : {std::pair{0x01, 'B'}, {0x80, 'A'}, {0x81, 'B'}}) {
        int32_t character = 0;
        EXPECT_EQ(lcd_rchar(&character, address), 1);
        EXPECT_EQ(character, expected) << address;
    }
    EXPECT_EQ(display.line(0), "AB              ");
}

// A cell holding code 0x00 ends the copy, not the string read.
TEST_F(LcdText, ReadStrPointsAtEachCellAndThenTheNext) {
    lcd_instr(0xC0);
    lcd_write_str("ok");
    lcd_wchar(0x00);
    lcd_write_str("CD");
    forget();
    char text[8] = "#######";
    EXPECT_EQ(lcd_read_str(2, 0x40, text), 1);
    EXPECT_STREQ(text, "ok");
    const Bytes read = kPoll + nibbles(0xFF, 0x0E);
    EXPECT_EQ(expander.writes(),
              instruction(0xC0) + read + instruction(0xC1) + instruction(0xC1) + read + instruction(0xC2));
    std::memset(text, '#', sizeof text);
    lcd_read_str(5, 0x40, text);
    EXPECT_EQ(std::string(text, 4), std::string("ok\0#", 4));
    EXPECT_EQ(std::string(lcd_STRING, 6), std::string("ok\0CD\0", 6));
}

const std::string kAlphabet40 = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";

TEST_F(LcdText, ReadStrReadsUpToThirtyOneAndNeverWritesPastTheNul) {
    for (char c : kAlphabet40) lcd_wchar(c);
    const struct {
        int32_t count;
        std::string expected;
    } cases[] = {
        {0, ""}, {-4, ""}, {2, "ab"}, {31, kAlphabet40.substr(0, 31)}, {40, kAlphabet40.substr(0, 31)}};
    for (const auto &c : cases) {
        forget_history();
        std::vector<char> destination(64, '#');
        EXPECT_EQ(lcd_read_str(c.count, 0x00, destination.data()), 1);
        EXPECT_EQ(std::string(destination.data()), c.expected) << "count " << c.count;
        EXPECT_EQ(std::string(lcd_STRING), c.expected);
        EXPECT_EQ(std::count(destination.begin() + c.expected.size() + 1, destination.end(), '#'),
                  63 - c.expected.size());
        if (c.count <= 0) {
            EXPECT_EQ(bench.accesses(), 0u);
        }
    }
}

TEST_F(LcdText, ReadStrFromAnExtremeAddressStaysWithinSevenBits) {
    for (char c : kAlphabet40) lcd_wchar(c);
    char destination[4] = {};
    // INT32_MAX keeps 0x7F; the next cell wraps to 0x00.
    EXPECT_EQ(lcd_read_str(2, INT32_MAX, destination), 1);
    EXPECT_EQ(destination[1], 'a');
}

}  // namespace
