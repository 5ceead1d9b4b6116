// Text through the display: characters land where the address counter
// points, strings are read back, and the limits on both directions hold.
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

TEST_F(LcdText, WrittenStringAppearsOnTheFirstLine) {
    EXPECT_EQ(lcd_write_str("Hello"), 1);
    EXPECT_EQ(display.line(0), "Hello           ");
    EXPECT_EQ(display.line(1), kBlankLine);
    EXPECT_EQ(lcd_get_adress(), 5);
}

TEST_F(LcdText, Address40IsTheStartOfTheSecondLine) {
    lcd_instr(0xC0);
    lcd_write_str("World");
    EXPECT_EQ(display.line(0), kBlankLine);
    EXPECT_EQ(display.line(1), "World           ");
    EXPECT_EQ(lcd_get_adress(), 0x45);
}

TEST_F(LcdText, CounterRunsFromTheEndOfLineOneToLineTwo) {
    lcd_instr(0x80 | 0x26);
    lcd_write_str("xyz");
    EXPECT_EQ(display.ddram(0x26), 'x');
    EXPECT_EQ(display.ddram(0x27), 'y');
    EXPECT_EQ(display.ddram(0x40), 'z');
    EXPECT_EQ(lcd_get_adress(), 0x41);
}

struct WriteCase {
    const char *name;
    std::string text;
    std::string shown;
    int32_t counter;

    friend void PrintTo(const WriteCase &c, std::ostream *os) { *os << c.name; }
};

class LcdWriteStr : public LcdText, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(LcdWriteStr, SendsAtMostSixteenCharactersWithTheirFullCode) {
    EXPECT_EQ(lcd_write_str(GetParam().text.c_str()), 1);
    EXPECT_EQ(display.line(0), GetParam().shown);
    EXPECT_EQ(lcd_get_adress(), GetParam().counter);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, LcdWriteStr,
    ::testing::Values(WriteCase{"Empty", "", kBlankLine, 0},
                      WriteCase{"Sixteen", "0123456789ABCDEF", "0123456789ABCDEF", 16},
                      WriteCase{"LongerIsCut", "0123456789ABCDEFGHIJ", "0123456789ABCDEF", 16},
                      WriteCase{"EightBitCode", "\xE4\xDF", "\xE4\xDF              ", 2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LcdText, EmptyStringSendsNothing) {
    lcd_write_str("");
    EXPECT_EQ(bench.accesses(), 0u);
}

TEST_F(LcdText, CharacterReadsBackFromItsAddress) {
    lcd_write_str("AB");
    int32_t character = 0;
    EXPECT_EQ(lcd_rchar(&character, 0x01), 1);
    EXPECT_EQ(character, 'B');
    // Only seven bits are an address: 0x80 + 0x81 must not become "clear".
    EXPECT_EQ(lcd_rchar(&character, 0x80), 1);
    EXPECT_EQ(character, 'A');
    EXPECT_EQ(lcd_rchar(&character, 0x81), 1);
    EXPECT_EQ(character, 'B');
    EXPECT_EQ(display.line(0), "AB              ");
}

TEST_F(LcdText, ReadStrPointsAtEachCellAndThenTheNext) {
    lcd_instr(0xC0);
    lcd_write_str("ok");
    forget();
    char text[3] = {};
    EXPECT_EQ(lcd_read_str(2, 0x40, text), 1);
    EXPECT_STREQ(text, "ok");
    EXPECT_EQ(operations(), "B IC0 B R B IC1 B IC1 B R B IC2");
}

struct ReadCase {
    const char *name;
    int32_t count;
    std::string expected;

    friend void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }
};

class LcdReadStr : public LcdText, public ::testing::WithParamInterface<ReadCase> {};

const std::string kAlphabet40 = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";

TEST_P(LcdReadStr, ReadsUpToThirtyOneAndNeverWritesPastTheNul) {
    for (char c : kAlphabet40) lcd_wchar(c);
    forget();
    std::vector<char> destination(64, '#');
    EXPECT_EQ(lcd_read_str(GetParam().count, 0x00, destination.data()), 1);
    const size_t length = GetParam().expected.size();
    EXPECT_EQ(std::string(destination.data()), GetParam().expected);
    EXPECT_EQ(std::string(lcd_STRING), GetParam().expected);
    EXPECT_EQ(std::count(destination.begin() + length + 1, destination.end(), '#'), 63 - length);
    if (length == 0) {
        EXPECT_EQ(bench.accesses(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, LcdReadStr,
                         ::testing::Values(ReadCase{"Zero", 0, ""}, ReadCase{"Negative", -4, ""},
                                           ReadCase{"Two", 2, "ab"},
                                           ReadCase{"ThirtyOne", 31, kAlphabet40.substr(0, 31)},
                                           ReadCase{"FortyIsClamped", 40, kAlphabet40.substr(0, 31)}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LcdText, CellHoldingZeroEndsTheCopyButNotTheReadString) {
    lcd_write_str("AB");
    lcd_wchar(0x00);
    lcd_write_str("CD");
    char destination[8];
    std::memset(destination, '#', sizeof destination);
    lcd_read_str(5, 0x00, destination);
    EXPECT_EQ(std::string(destination, 4), std::string("AB\0#", 4));
    EXPECT_EQ(std::string(lcd_STRING, 6), std::string("AB\0CD\0", 6));
}

}  // namespace
