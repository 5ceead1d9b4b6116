// The wait for SCL: what a freed clock gives back, its time bound on a slow
// port, and the stretching budget of a transaction.
#include "wire_test.h"

#include <chrono>

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kMsr = wlsim::kCom1 + 6;

class SclWaitTest : public StandardBoardTest {
protected:
    void SetUp() override { claim(); }
    wlsim::Pcf8574 &expander = bench.add_pcf8574(1);
};

// Once SCL reads high again the stuck clock is forgotten, so a slave that
// stretches it gets full waits, not the single look of a dead bus.
TEST_F(SclWaitTest, FreedClockGivesStretchingSlavesFullWaitsAgain) {
    bench.bus().stick_scl_low(true);
    EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0);
    bench.bus().stick_scl_low(false);
    iic_stop();
    expander.stretch_clock(50);
    EXPECT_EQ(iic_tx_pcf8574(0x34, 1), 1);
    EXPECT_EQ(expander.latch(), 0x34);
}

// A status read that takes 1 ms, as over a USB serial adapter: the first
// wait ends on its 25 ms (at most 25 reads before the deadline, one after
// it, and the first), the later ones of the write look once.
TEST_F(SclWaitTest, SlowStatusReadsEndTheWaitOnTimeNotOnReads) {
    bench.set_access_time(kMsr, 1ms);
    bench.bus().stick_scl_low(true);
    EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0);
    EXPECT_LE(bench.reads(kMsr), 27u + 9u);
}

// The stretching of a whole transaction is bounded as one wait is.  A write
// is 18 stretched clocks: 100 reads each stay within 25,000, 15,000 each
// spend them in the second clock, and the rest of the write looks once per
// wait and fails.
TEST_F(SclWaitTest, StretchingIsBoundedPerTransaction) {
    const struct {
        int stretch;
        int32_t result;
        uint64_t most_status_reads;
    } cases[] = {{100, 1, 20u * 100u}, {15'000, 0, 25'000u + 30u}};
    for (const auto &c : cases) {
        claim();
        expander.stretch_clock(c.stretch);
        EXPECT_EQ(iic_tx_pcf8574(0x56, 1), c.result) << c.stretch;
        EXPECT_LE(bench.reads(kMsr), c.most_status_reads) << c.stretch;
        expander.stretch_clock(0);
    }
}

}  // namespace
