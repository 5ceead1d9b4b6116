// A display that stays busy, a missing expander or display, and refused
// pointers: every call returns promptly with a defined result.
#include <cstdio>
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

// Ten busy readings in a row end each wait; nothing reaches the controller.
TEST_F(LcdTest, StuckBusyGivesUpAfterTenBusyReadingsAndSendsNothing) {
    initialised();
    display.stay_busy(true);
    int32_t character = 0x1234;
    char text[4] = "xyz";
    const struct {
        const char *call;
        std::function<int32_t()> run;
        int32_t result;
        int gave_up;
    } cases[] = {{"lcd_get_adress", lcd_get_adress, -1, 1},
                 {"lcd_instr", [] { return lcd_instr(0x01); }, 0, 1},
                 {"lcd_wchar", [] { return lcd_wchar('A'); }, 0, 1},
                 // A set-address that failed is not read after: the address
                 // counter points at another cell.
                 {"lcd_rchar", [&] { return lcd_rchar(&character, 0); }, 0, 1},
                 {"lcd_write_str", [] { return lcd_write_str("ab"); }, 1, 2},
                 // Per character: set address, next address.
                 {"lcd_read_str", [&] { return lcd_read_str(2, 0, text); }, 1, 4}};
    for (const auto &c : cases) {
        forget();
        CaptureStdout();
        EXPECT_EQ(c.run(), c.result) << c.call;
        EXPECT_EQ(GetCapturedStdout(), timeouts(10 * c.gave_up)) << c.call;
        EXPECT_EQ(expander.reads(), 2 * 10 * c.gave_up) << c.call;
        // R/W stays high in every port write.
        EXPECT_THAT(expander.writes(),
                    ::testing::Each(::testing::Truly([](uint8_t v) { return (v & 0x02) != 0; })))
            << c.call;
    }
    EXPECT_EQ(character, 0x1234);  // left as it was
    EXPECT_STREQ(text, "  ");      // characters that timed out read as blanks
    EXPECT_STREQ(lcd_STRING, "  ");
}

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

// Each transaction stays within its own stretching budget, but a whole
// 31-character read (some 1,200 transactions) would run for minutes: the
// call's budget of 1,000,000 status reads ends it, and it fails.
TEST_F(LcdTest, StretchingIsBoundedPerCall) {
    initialised();
    std::snprintf(lcd_STRING, sizeof lcd_STRING, "kept");
    char text[32] = "xyz";
    expander.stretch_clock(1'000);
    EXPECT_EQ(lcd_read_str(31, 0, text), 0);
    EXPECT_STREQ(text, "xyz");
    EXPECT_STREQ(lcd_STRING, "kept");
    EXPECT_LT(bench.reads(wlsim::kCom1 + 6), 1'000'000u + 25'000u);
}

TEST_F(StandardBoardTest, NoExpanderLooksReadyAtZeroAndWritesFail) {
    claim();
    CaptureStdout();
    EXPECT_EQ(lcd_get_adress(), 0);
    EXPECT_EQ(lcd_instr(0x01) + lcd_wchar('A') + lcd_backlight(1) + lcd_init(), 0);
    EXPECT_EQ(lcd_write_str("abc"), 1);
    char text[4] = "xyz";
    EXPECT_EQ(lcd_read_str(3, 0, text), 1);
    EXPECT_STREQ(text, "   ");  // no set-address was taken, so no cell was read
    EXPECT_EQ(GetCapturedStdout(), "");
    // Each call first tries to wake the display that the failures before it
    // left out of step.
    EXPECT_THAT(trace(), ::testing::HasSubstr("Sr 70 N Sr 71 N P S 70 N"));
}

TEST_F(LcdTest, NullPointersAreRefusedWithoutTouchingTheBus) {
    std::snprintf(lcd_STRING, sizeof lcd_STRING, "kept");
    EXPECT_EQ(lcd_rchar(nullptr, 0) + lcd_write_str(nullptr) + lcd_read_str(3, 0, nullptr), 0);
    EXPECT_STREQ(lcd_STRING, "kept");
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
