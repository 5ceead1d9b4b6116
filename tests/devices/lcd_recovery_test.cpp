// A display call that failed partway leaves the controller out of step; the
// next call brings it back, so fault-free calls after it are right again.
#include <algorithm>
#include <chrono>

#include "lcd_fixture.h"

namespace {

// Withholds the display expander's acknowledge for one transaction, counted
// in STARTs from arming.
class AckThief : public wlsim::BusDevice {
public:
    explicit AckThief(wlsim::Pcf8574 &victim) : victim_(victim) {}
    void arm(int start) {
        target_ = start;
        starts_ = 0;
    }
    void on_start() override {
        ++starts_;
        victim_.set_present(starts_ != target_);
    }

private:
    wlsim::Pcf8574 &victim_;
    int target_ = -1, starts_ = 0;
};

class LcdRecovery : public LcdTest {
protected:
    AckThief &thief = bench.add<AckThief>(wlsim::kCom1, expander);
};

// A character is a busy poll (eight transactions) and two nibbles (six).
TEST_F(LcdRecovery, AfterAWithheldAcknowledgeTheNextWriteAndReadAreRight) {
    for (int withheld = 1; withheld <= 14; ++withheld) {
        ASSERT_EQ(lcd_init(), 1);
        thief.arm(withheld);
        lcd_wchar('A');
        EXPECT_EQ(wirelink_last_error(), WIRELINK_ENXIO) << "transaction " << withheld;
        thief.arm(-1);
        EXPECT_EQ(lcd_instr(0x80 | 5), 1) << "transaction " << withheld;
        EXPECT_EQ(lcd_wchar('B'), 1) << "transaction " << withheld;
        int32_t character = 0;
        EXPECT_EQ(lcd_rchar(&character, 5), 1) << "transaction " << withheld;
        EXPECT_EQ(character, 'B') << "transaction " << withheld;
        EXPECT_EQ(display.line(0)[5], 'B') << "transaction " << withheld;
    }
}

// Waiting for a display stuck busy spends the call's second: a status read
// that takes 20 us makes each poll take some 4 ms, so the budget runs out
// long before the 62 waits of ten polls each that the call would make.
TEST_F(LcdRecovery, BusyPollingEndsWithTheCallsBudget) {
    initialised();
    display.stay_busy(true);
    bench.set_access_time(wlsim::kCom1 + 6, std::chrono::microseconds(20));
    char text[32] = "";
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(lcd_read_str(31, 0, text), 1);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(wirelink_last_error(), WIRELINK_EBUSY);
    EXPECT_STREQ(text, std::string(31, ' ').c_str());
    const auto polls = std::count(printed.begin(), printed.end(), '\n');
    EXPECT_GT(polls, 0);
    EXPECT_LT(polls, 62 * 10 / 2);
}

}  // namespace
