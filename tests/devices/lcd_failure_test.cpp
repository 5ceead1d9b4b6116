// A display that stays busy, a missing expander or display, and refused
// pointers: every call returns promptly with a defined result.
#include <algorithm>
#include <functional>

#include "lcd_fixture.h"

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

std::string timeouts(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "TimeOut busy\n";
    return text;
}

bool only_reads_of_the_controller(const Bytes &writes) {
    return std::all_of(writes.begin(), writes.end(), [](uint8_t v) { return (v & 0x02) != 0; });
}

struct StuckCase {
    const char *name;
    std::function<int32_t()> call;
    int32_t result;
    int gave_up;  // busy waits that ran out

    friend void PrintTo(const StuckCase &c, std::ostream *os) { *os << c.name; }
};

class LcdStuckBusy : public LcdTest, public ::testing::WithParamInterface<StuckCase> {};

TEST_P(LcdStuckBusy, GivesUpAfterTenBusyReadingsAndSendsNothing) {
    initialised();
    display.stay_busy(true);
    CaptureStdout();
    EXPECT_EQ(GetParam().call(), GetParam().result);
    EXPECT_EQ(GetCapturedStdout(), timeouts(10 * GetParam().gave_up));
    EXPECT_EQ(expander.reads(), 2 * 10 * GetParam().gave_up);
    EXPECT_TRUE(only_reads_of_the_controller(expander.writes()));
}

int32_t rchar_keeps_the_integer() {
    int32_t character = 0x1234;
    const int32_t result = lcd_rchar(&character, 0);
    return character == 0x1234 ? result : -100;
}

int32_t read_str_gives_blanks() {
    char text[4] = "xyz";
    lcd_read_str(2, 0, text);
    return std::string(text) == "  " && std::string(lcd_STRING) == "  " ? 1 : -100;
}

INSTANTIATE_TEST_SUITE_P(
    Calls, LcdStuckBusy,
    ::testing::Values(StuckCase{"GetAdress", lcd_get_adress, -1, 1},
                      StuckCase{"Instr", [] { return lcd_instr(0x01); }, 0, 1},
                      StuckCase{"Wchar", [] { return lcd_wchar('A'); }, 0, 1},
                      StuckCase{"RcharLeavesTheIntegerAlone", rchar_keeps_the_integer, 0, 2},
                      StuckCase{"WriteStr", [] { return lcd_write_str("ab"); }, 1, 2},
                      // Per character: set address, poll before reading, next address.
                      StuckCase{"ReadStrStoresBlanks", read_str_gives_blanks, 1, 6}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LcdTest, ShortBusySpellIsWaitedOut) {
    initialised();
    display.set_busy_time(2500);
    lcd_wchar('A');
    CaptureStdout();
    EXPECT_EQ(lcd_wchar('B'), 1);
    const std::string printed = GetCapturedStdout();
    EXPECT_THAT(printed, ::testing::StartsWith("TimeOut busy\n"));
    EXPECT_LT(printed.size(), timeouts(10).size());
    EXPECT_EQ(display.line(0), "AB              ");
    EXPECT_EQ(display.dropped_while_busy(), 0);
}

TEST_F(StandardBoardTest, ExpanderWithoutDisplayReadsBusy) {
    bench.add_pcf8574(0);
    claim();
    CaptureStdout();
    EXPECT_EQ(lcd_get_adress(), -1);
    EXPECT_EQ(GetCapturedStdout(), timeouts(10));
}

TEST_F(StandardBoardTest, NoExpanderLooksReadyAtZeroAndWritesFail) {
    claim();
    lcd_ADRESS = 5;
    CaptureStdout();
    EXPECT_EQ(lcd_get_adress(), 0);
    EXPECT_EQ(lcd_instr(0x01), 0);
    EXPECT_EQ(lcd_wchar('A'), 0);
    EXPECT_EQ(lcd_backlight(1), 0);
    EXPECT_EQ(lcd_init(), 0);
    EXPECT_EQ(lcd_write_str("abc"), 1);
    char text[4] = "xyz";
    EXPECT_EQ(lcd_read_str(3, 0, text), 1);
    EXPECT_STREQ(text, "");  // every pin reads 0, so the first character ends it
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(lcd_ADRESS, 0);
    EXPECT_THAT(trace(), ::testing::StartsWith("S 70 N Sr 70 N Sr 71 N P S 70 N"));
}

TEST_F(LcdTest, NullPointersAreRefusedWithoutTouchingTheBus) {
    std::snprintf(lcd_STRING, sizeof lcd_STRING, "kept");
    EXPECT_EQ(lcd_rchar(nullptr, 0), 0);
    EXPECT_EQ(lcd_write_str(nullptr), 0);
    EXPECT_EQ(lcd_read_str(3, 0, nullptr), 0);
    EXPECT_STREQ(lcd_STRING, "kept");
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
