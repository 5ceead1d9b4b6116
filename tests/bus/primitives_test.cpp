// START, STOP, byte send and byte read on the wire.
#include "wire_test.h"

#include "recording_slave.h"

namespace {

using wlsim::kCom1;

constexpr uint32_t kData = kCom1 + 0;
constexpr uint32_t kMcr = kCom1 + 4;
constexpr uint32_t kMsr = kCom1 + 6;

class PrimitivesTest : public StandardBoardTest {
protected:
    void SetUp() override {
        claim();
        expander.drive_pins(0x3C);
    }
    wlsim::RecordingSlave &chip = bench.add<wlsim::RecordingSlave>(kCom1, 0xA0);
    wlsim::Pcf8574 &expander = bench.add_pcf8574(0);
};

TEST_F(PrimitivesTest, WriteTransaction) {
    EXPECT_EQ(iic_start(), 0);
    EXPECT_EQ(iic_send_byte(0xA0), 1);
    EXPECT_EQ(iic_send_byte(0x15A), 1);  // only the low 8 bits travel
    EXPECT_EQ(iic_stop(), 0);
    EXPECT_EQ(trace(), "S A0 A 5A A P");
    EXPECT_EQ(chip.last(), std::vector<uint8_t>{0x5A});
    EXPECT_TRUE(bench.bus().sda());
    EXPECT_TRUE(bench.bus().scl());
    EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
}

TEST_F(PrimitivesTest, NobodyAnswersAndTheNinthClockIsSentAnyway) {
    iic_start();
    EXPECT_EQ(iic_send_byte(0x1A5), 0);
    EXPECT_EQ(trace(), "S A5 N");
    EXPECT_FALSE(bench.bus().scl());
    EXPECT_TRUE(bench.bus().sda());
}

struct ReadCase {
    int32_t flag;
    const char *trace;

    friend void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.flag; }
};

class ReadAcknowledge : public PrimitivesTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadAcknowledge, FlagGivesOrWithholdsTheAcknowledge) {
    iic_start();
    ASSERT_EQ(iic_send_byte(0x71), 1);
    EXPECT_EQ(iic_read_byte(GetParam().flag), 0x3C);
    EXPECT_EQ(trace(), GetParam().trace);
    EXPECT_FALSE(bench.bus().scl());
    if (GetParam().flag == 0) {
        EXPECT_TRUE(bench.bus().sda());
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, ReadAcknowledge,
                         ::testing::Values(ReadCase{0, "S 71 A 3C N"}, ReadCase{1, "S 71 A 3C A"},
                                           ReadCase{2, "S 71 A 3C A"}, ReadCase{-1, "S 71 A 3C A"}),
                         [](const auto &info) {
                             const int32_t flag = info.param.flag;
                             return (flag < 0 ? "minus" : "") + std::to_string(flag < 0 ? -flag : flag);
                         });

TEST_F(PrimitivesTest, ReadWithNobodyDrivingGivesAllOnes) {
    iic_start();
    iic_send_byte(0xB1);
    EXPECT_EQ(iic_read_byte(0), 0xFF);
    iic_stop();
    EXPECT_EQ(trace(), "S B1 N FF N P");
}

TEST_F(PrimitivesTest, StartOnAnOpenTransactionIsARepeatedStart) {
    iic_start();
    iic_send_byte(0xA0);
    iic_start();
    iic_send_byte(0x71);
    EXPECT_EQ(iic_read_byte(0), 0x3C);
    iic_stop();
    EXPECT_EQ(trace(), "S A0 A Sr 71 A 3C N P");
    EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
}

TEST_F(PrimitivesTest, StretchedClockDelaysTheSamplingUntilReleased) {
    chip.stretch_clock(40);
    iic_start();
    EXPECT_EQ(iic_send_byte(0xA0), 1);
    EXPECT_EQ(iic_send_byte(0x42), 1);
    iic_stop();
    EXPECT_EQ(trace(), "S A0 A 42 A P");
    EXPECT_EQ(chip.last(), std::vector<uint8_t>{0x42});
    // Every held clock costs status reads while the master waits.
    EXPECT_GT(bench.reads(kMsr), 9u * 30u);
}

// Each bit sent is three line changes and an SCL read; each bit received two
// line changes, an SCL read and an SDA read.  A line change is an MCR read,
// an MCR write and the wait.
class AccessCounts : public PrimitivesTest, public ::testing::WithParamInterface<int> {};

TEST_P(AccessCounts, PrimitivesCostWhatTheirLineSequencesImply) {
    const uint64_t wait = static_cast<uint64_t>(GetParam());
    set_port_delay(GetParam());
    const uint64_t change = 2 + wait;
    struct Expected {
        const char *what;
        int32_t (*run)();
        uint64_t accesses;
        uint64_t status_reads;
    };
    const Expected table[] = {
        {"start", [] { return iic_start(); }, 4 * change + 1 + 2 * wait, 1},
        {"send", [] { return iic_send_byte(0xA0); }, 8 * (3 * change + 1) + wait + 3 * change + 2, 10},
        {"read", [] { return iic_read_byte(1); }, change + 8 * (2 * change + 2) + 4 * change + 1 + wait, 17},
        {"stop", [] { return iic_stop(); }, 3 * change + 1 + wait, 1},
    };
    for (const Expected &step : table) {
        forget_history();
        step.run();
        EXPECT_EQ(bench.accesses(), step.accesses) << step.what;
        EXPECT_EQ(bench.reads(kMsr), step.status_reads) << step.what;
        EXPECT_EQ(bench.reads(kMcr), bench.writes(kMcr)) << step.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Delays, AccessCounts, ::testing::Values(0, 1, 10));

TEST_F(PrimitivesTest, StuckClockEndsTheWaitAndFailsTheByte) {
    bench.bus().stick_scl_low(true);
    iic_start();
    forget_history();
    EXPECT_EQ(iic_send_byte(0xA0), 0);
    // One wait ran into its bound; the other clocks of the byte looked once.
    EXPECT_LT(bench.reads(kMsr), 30000u);
    EXPECT_LT(bench.reads(kMsr), 25000u + 20u);
    forget_history();
    EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0);
    EXPECT_LT(bench.accesses(), 200u);
    EXPECT_EQ(bench.reads(kData), 0u);
}

TEST_F(PrimitivesTest, BusWorksAgainOnceTheClockIsFree) {
    bench.bus().stick_scl_low(true);
    iic_start();
    EXPECT_EQ(iic_send_byte(0xA0), 0);
    bench.bus().stick_scl_low(false);
    iic_stop();
    forget_history();
    iic_start();
    EXPECT_EQ(iic_send_byte(0xA0), 1);
    EXPECT_EQ(iic_send_byte(0x07), 1);
    iic_stop();
    EXPECT_EQ(trace(), "S A0 A 07 A P");
}

TEST_F(PrimitivesTest, StuckDataLineReadsAsAcknowledgeButNeverHangs) {
    bench.bus().stick_sda_low(true);
    iic_start();
    EXPECT_EQ(iic_read_byte(0), 0x00);
    iic_stop();
    EXPECT_LT(bench.accesses(), 1000u);
}

TEST_F(WireTest, UnpluggedAdapterMakesCallsReturnPromptly) {
    claimed_bus();
    bench.unplug_adapter(kCom1);
    EXPECT_EQ(iic_tx_pcf8574(0x01, 1), 0);
    EXPECT_EQ(iic_rx_pcf8574(1), 0);
    forget_history();
    EXPECT_EQ(iic_tx_pcf8574(0x01, 1), 0);
    EXPECT_LT(bench.accesses(), 200u);
}

}  // namespace
