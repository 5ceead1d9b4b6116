// Port delay, single line operations, and what happens with no port claimed.
#include "wire_test.h"

namespace {

using wlsim::kCom1;

constexpr uint32_t kData = kCom1 + 0;
constexpr uint32_t kMcr = kCom1 + 4;
constexpr uint32_t kMsr = kCom1 + 6;

struct DelayCase {
    int32_t delay;
    uint64_t reads_per_wait;

    friend void PrintTo(const DelayCase &c, std::ostream *os) { *os << c.delay; }
};

class PortDelay : public WireTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(PortDelay, WaitReadsTheDataRegisterByTheLowEightBits) {
    claimed_bus();
    EXPECT_EQ(set_port_delay(GetParam().delay), GetParam().delay);
    EXPECT_EQ(wait_port(), 0);
    EXPECT_EQ(bench.reads(kData), GetParam().reads_per_wait);
    EXPECT_EQ(bench.accesses(), GetParam().reads_per_wait);
}

INSTANTIATE_TEST_SUITE_P(Counts, PortDelay,
                         ::testing::Values(DelayCase{0, 0}, DelayCase{1, 1}, DelayCase{10, 10},
                                           DelayCase{255, 255}, DelayCase{256, 0}, DelayCase{300, 44},
                                           DelayCase{-1, 255}),
                         [](const auto &info) {
                             const int32_t delay = info.param.delay;
                             return (delay < 0 ? "minus" : "") + std::to_string(delay < 0 ? -delay : delay);
                         });

TEST_F(WireTest, WaitsAreEmptyUntilADelayIsSet) {
    claimed_bus();
    wait_port();
    sda_low();
    EXPECT_EQ(bench.reads(kData), 0u);
}

TEST_F(WireTest, DelayKeepsItsValueAcrossClaimAndRelease) {
    set_port_delay(3);
    claimed_bus();
    deinit_iic();
    forget_history();
    wait_port();
    EXPECT_EQ(bench.reads(kData), 3u);
}

TEST_F(WireTest, ALineChangeIsOneReadAndOneWriteOfTheMcrThenTheWait) {
    claimed_bus();
    set_port_delay(2);
    bench.log_accesses(true);
    scl_high();
    const std::vector<std::pair<uint32_t, bool>> expected = {
        {kMcr, false}, {kMcr, true}, {kData, false}, {kData, false}};
    ASSERT_EQ(bench.log().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bench.log()[i].port, expected[i].first) << i;
        EXPECT_EQ(bench.log()[i].write, expected[i].second) << i;
    }
    EXPECT_EQ(bench.log()[1].value, 0x03);
}

TEST_F(WireTest, LineChangesKeepTheOtherModemControlBits) {
    bench.add_uart(kCom1, true, 0x0C);  // OUT1 and OUT2 set
    ASSERT_EQ(init_iic(0), 0x3F8);      // the probe clears them ...
    bench.write(kMcr, 0x0D);            // ... so set them again behind its back
    struct Step {
        int32_t (*operation)();
        uint8_t mcr;
    };
    for (const Step &step :
         {Step{scl_high, 0x0F}, Step{sda_low, 0x0E}, Step{scl_low, 0x0C}, Step{sda_high, 0x0D}}) {
        step.operation();
        EXPECT_EQ(bench.uart(kCom1).mcr(), step.mcr);
    }
}

TEST_F(WireTest, LineReadsAreOneStatusReadAndExactlyZeroOrOne) {
    claimed_bus();  // SDA released, SCL low
    EXPECT_EQ(read_sda(), 1);
    EXPECT_EQ(read_scl(), 0);
    scl_high();
    sda_low();
    forget_history();
    EXPECT_EQ(read_sda(), 0);
    EXPECT_EQ(read_scl(), 1);
    EXPECT_EQ(bench.reads(kMsr), 2u);
    EXPECT_EQ(bench.accesses(), 2u);
}

TEST_F(WireTest, InertExportsTouchNothing) {
    claimed_bus();
    EXPECT_EQ(set_strobe(1), 0);
    EXPECT_EQ(byte_out(0xFF), 0);
    EXPECT_EQ(byte_in(1), 0);
    EXPECT_EQ(get_status(1), 0);
    EXPECT_EQ(inp32(0x3F8), 0);
    EXPECT_EQ(out32(0x3F8, 1), 0);
    EXPECT_EQ(io_disable(), 0);
    EXPECT_EQ(io_enable(), 0);
    EXPECT_EQ(read_int(), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

// Before any claim, and after a claim that failed, nothing may reach a port:
// the register offsets would address ports 0, 4 and 6.
TEST_F(WireTest, WithNoPortClaimedNothingTouchesAPort) {
    bench.add_uart(kCom1, false);
    set_port_delay(10);
    for (int attempt = 0; attempt < 2; ++attempt) {
        forget_history();
        EXPECT_EQ(sda_low(), 0);
        EXPECT_EQ(scl_low(), 0);
        EXPECT_EQ(wait_port(), 0);
        EXPECT_EQ(read_sda(), 1);
        EXPECT_EQ(read_scl(), 1);
        EXPECT_EQ(iic_ok(), 0);
        EXPECT_EQ(iic_start(), 0);
        EXPECT_EQ(iic_send_byte(0x70), 0);
        EXPECT_EQ(iic_read_byte(1), 0xFF);
        EXPECT_EQ(iic_stop(), 0);
        EXPECT_EQ(iic_tx_pcf8574(0x55, 1), 0);
        EXPECT_EQ(iic_rx_pcf8574(1), 0);
        EXPECT_EQ(deinit_iic(), 0);
        EXPECT_EQ(bench.accesses(), 0u);
        ASSERT_EQ(init_iic(2), 0);  // 0x2F8 is absent: the claim fails
    }
}

}  // namespace
