// The bench's own decoding: the trace the other tests rely on.
#include "wire_test.h"

namespace {

using wlsim::kCom1;

class MonitorTest : public WireTest {
protected:
    void SetUp() override { bench.add_uart(kCom1, true, 0x03); }
    // Master line levels, straight through the MCR.
    void lines(bool sda, bool scl) { bench.write(kCom1 + 4, (sda ? 1 : 0) | (scl ? 2 : 0)); }
    void bit(bool value) {
        lines(value, false);
        lines(value, true);
        lines(value, false);
    }
    void byte(uint8_t value, bool ack) {
        for (int i = 7; i >= 0; --i) bit((value >> i) & 1);
        bit(!ack);
    }
    wlsim::BusMonitor &monitor() { return bench.bus().monitor(); }
};

TEST_F(MonitorTest, DecodesConditionsBytesAndAcknowledges) {
    lines(false, true);  // START
    lines(false, false);
    byte(0x72, true);
    byte(0x3C, false);
    lines(false, false);
    lines(false, true);
    lines(true, true);  // STOP
    EXPECT_EQ(monitor().text(), "S 72 A 3C N P");
    EXPECT_THAT(monitor().violations(), ::testing::IsEmpty());
}

TEST_F(MonitorTest, FlagsAConditionInsideAByte) {
    lines(false, true);
    lines(false, false);
    bit(true);
    bit(false);
    bit(true);
    lines(true, true);
    lines(false, true);  // START after three bits
    EXPECT_EQ(monitor().text(), "S x101 Sr");
    EXPECT_THAT(monitor().violations(), ::testing::ElementsAre("START after 3 bits"));
}

TEST_F(MonitorTest, ReportsEachTransactionAtItsStop) {
    std::vector<std::string> seen;
    monitor().on_transaction([&](const std::string &text) { seen.push_back(text); });
    lines(false, true);
    lines(false, false);
    byte(0xA0, false);
    lines(false, true);
    lines(true, true);
    EXPECT_THAT(seen, ::testing::ElementsAre("S A0 N P"));
}

}  // namespace
