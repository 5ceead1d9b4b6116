// The PCF8574 expander driver: addressing, writes, the two read forms, and the
// bus left open after a failed write.
#include "wire_test.h"

#include "recording_slave.h"

namespace {

using wlsim::kCom1;

class ExpanderTest : public StandardBoardTest {
protected:
    void SetUp() override { claim(); }
    wlsim::Pcf8574 &one = bench.add_pcf8574(1);
    wlsim::Pcf8574 &seven = bench.add_pcf8574(7);
};

struct AddressCase {
    int32_t index;
    const char *write_trace;
    const char *read_trace;

    friend void PrintTo(const AddressCase &c, std::ostream *os) { *os << c.index; }
};

class ExpanderAddress : public ExpanderTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(ExpanderAddress, IndexBecomesTheAddressByteUnchecked) {
    iic_tx_pcf8574(0x5A, GetParam().index);
    iic_stop();  // close whatever a failed write left open
    forget_history();
    iic_tx_pcf8574(0x5A, GetParam().index);
    const std::string written = trace();
    iic_stop();
    forget_history();
    iic_rx_pcf8574(GetParam().index);
    EXPECT_EQ(written, GetParam().write_trace);
    EXPECT_EQ(trace(), GetParam().read_trace);
}

INSTANTIATE_TEST_SUITE_P(Indexes, ExpanderAddress,
                         ::testing::Values(AddressCase{1, "S 72 A 5A A P", "S 73 A 5A N P"},
                                           AddressCase{7, "S 7E A 5A A P", "S 7F A 5A N P"},
                                           AddressCase{8, "S 80 N", "S 81 N P"},
                                           AddressCase{-1, "S 6E N", "S 6F N P"},
                                           AddressCase{INT32_MAX, "S 6E N", "S 6F N P"}),
                         [](const auto &info) {
                             const int32_t index = info.param.index;
                             return (index < 0 ? "minus" : "") + std::to_string(index < 0 ? -index : index);
                         });

TEST_F(ExpanderTest, WriteSendsTheLowEightBitsAndEndsWithStop) {
    EXPECT_EQ(iic_tx_pcf8574(0x1FF, 1), 1);
    EXPECT_EQ(iic_tx_pcf8574(0x00, 1), 1);
    EXPECT_EQ(trace(), "S 72 A FF A P S 72 A 00 A P");
    EXPECT_EQ(one.writes(), (std::vector<uint8_t>{0xFF, 0x00}));
    EXPECT_EQ(one.latch(), 0x00);
    EXPECT_TRUE(bench.bus().sda() && bench.bus().scl());
}

struct ReadCase {
    const char *name;
    int32_t index;
    uint8_t pins;
    int32_t value;
    int32_t pointer_result;

    friend void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }
};

class ExpanderRead : public ExpanderTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ExpanderRead, BothFormsReadThePins) {
    const ReadCase &c = GetParam();
    one.drive_pins(c.pins);
    int32_t stored = 0x1234;
    EXPECT_EQ(_iic_rx_pcf8574(&stored, c.index), c.pointer_result);
    EXPECT_EQ(stored, c.value);
    EXPECT_EQ(iic_rx_pcf8574(c.index), c.value);
    EXPECT_THAT(trace(), ::testing::EndsWith("P"));
}

INSTANTIATE_TEST_SUITE_P(Pins, ExpanderRead,
                         ::testing::Values(ReadCase{"AllHigh", 1, 0xFF, 0xFF, 1},
                                           ReadCase{"AllLow", 1, 0x00, 0x00, 1},
                                           ReadCase{"Mixed", 1, 0xA5, 0xA5, 1},
                                           ReadCase{"Absent", 3, 0xA5, 0x00, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ExpanderTest, ReadIsTheLatchAndedWithWhatTheOutsideDrives) {
    iic_tx_pcf8574(0x0F, 1);
    one.drive_pins(0xF5);
    EXPECT_EQ(iic_rx_pcf8574(1), 0x05);
}

TEST_F(ExpanderTest, AbsentExpanderReadSendsStop) {
    int32_t stored = 0x77;
    EXPECT_EQ(_iic_rx_pcf8574(&stored, 2), 0);
    EXPECT_EQ(stored, 0);
    EXPECT_EQ(trace(), "S 75 N P");
}

TEST_F(ExpanderTest, FailedWriteLeavesTheBusOpenForARepeatedStart) {
    EXPECT_EQ(iic_tx_pcf8574(0x55, 3), 0);
    EXPECT_FALSE(bench.bus().scl());
    EXPECT_TRUE(bench.bus().sda());
    EXPECT_EQ(iic_rx_pcf8574(1), 0xFF);
    EXPECT_EQ(trace(), "S 76 N Sr 73 A FF N P");
    EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
}

TEST_F(ExpanderTest, UnacknowledgedValueLeavesTheBusOpenToo) {
    auto &stubborn = bench.add<wlsim::RecordingSlave>(kCom1, 0x7A);
    stubborn.nack_from_byte(0);
    EXPECT_EQ(iic_tx_pcf8574(0x55, 5), 0);
    EXPECT_EQ(iic_tx_pcf8574(0x66, 1), 1);
    EXPECT_EQ(trace(), "S 7A A 55 N Sr 72 A 66 A P");
}

TEST_F(ExpanderTest, NullPointerReadIsRefused) {
    EXPECT_EQ(_iic_rx_pcf8574(nullptr, 1), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
