// Combined transfers on the wire: repeated STARTs, one STOP, the acknowledge
// of every read byte, and what each failure returns.
#include <cerrno>
#include <cstdint>
#include <vector>

#include "recording_slave.h"
#include "wire_test.h"

#ifndef EREMOTEIO
#define EREMOTEIO 121
#endif

namespace {

using wlsim::kCom1;

constexpr uint16_t kRead = WIRELINK_MSG_READ;
constexpr uint16_t kBlock = WIRELINK_MSG_READ | WIRELINK_MSG_RECV_LEN;

// A message with its own buffer: a write's bytes, or room for a read.
struct Msg {
    uint16_t address;
    uint16_t flags;
    std::vector<uint8_t> bytes;
    int32_t length = static_cast<int32_t>(bytes.size());
};

class TransferTest : public StandardBoardTest {
protected:
    void SetUp() override {
        claim();
        expander.drive_pins(0x3C);
    }

    int32_t transfer(std::vector<Msg> &messages) {
        std::vector<wirelink_msg> raw;
        for (Msg &m : messages) {
            m.bytes.resize(static_cast<std::size_t>(m.length) + ((m.flags & WIRELINK_MSG_RECV_LEN) ? 32 : 0));
            raw.push_back({m.address, m.flags, m.length, m.bytes.data()});
        }
        return wirelink_transfer(raw.data(), static_cast<int32_t>(raw.size()));
    }

    wlsim::RecordingSlave &chip = bench.add<wlsim::RecordingSlave>(kCom1, 0xA0);
    wlsim::Pcf8574 &expander = bench.add_pcf8574(0);
};

struct WireCase {
    const char *name;
    std::vector<Msg> messages;
    int32_t result;
    const char *trace;
    std::vector<uint8_t> first_read;  // the bytes of the first read message
    uint8_t slave_sends = 0x02;       // the recording slave's read byte
    int nack_from = -1;               // its first data byte not acknowledged

    friend void PrintTo(const WireCase &c, std::ostream *os) { *os << c.name; }
};

class TransferOnTheWire : public TransferTest, public ::testing::WithParamInterface<WireCase> {};

TEST_P(TransferOnTheWire, SendsTheMessagesAndReturnsTheOutcome) {
    const WireCase &c = GetParam();
    chip.set_status(c.slave_sends);
    chip.nack_from_byte(c.nack_from);
    std::vector<Msg> messages = c.messages;
    EXPECT_EQ(transfer(messages), c.result);
    EXPECT_EQ(trace(), c.trace);
    for (const Msg &m : messages) {
        if (!(m.flags & kRead) || c.first_read.empty()) continue;
        EXPECT_EQ(std::vector<uint8_t>(m.bytes.begin(), m.bytes.begin() + c.first_read.size()), c.first_read);
        break;
    }
    EXPECT_TRUE(bench.bus().sda());
    EXPECT_TRUE(bench.bus().scl());
    EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransferOnTheWire,
    ::testing::Values(
        WireCase{"write_then_read",
                 {{0x50, 0, {0x12, 0x34}}, {0x38, kRead, {}, 3}},
                 0,
                 "S A0 A 12 A 34 A Sr 71 A 3C A 3C A 3C N P",
                 {0x3C, 0x3C, 0x3C}},
        WireCase{"two_reads_each_end_unacknowledged",
                 {{0x38, kRead, {}, 1}, {0x50, kRead, {}, 2}},
                 0,
                 "S 71 A 3C N Sr A1 A 02 A 02 N P",
                 {0x3C}},
        WireCase{"zero_length_write_probes", {{0x50, 0, {}}}, 0, "S A0 A P", {}},
        WireCase{"absent_address", {{0x51, 0, {}}}, -ENXIO, "S A2 N P", {}},
        WireCase{"absent_second_address_stops_there",
                 {{0x50, 0, {1}}, {0x51, kRead, {}, 1}},
                 -ENXIO,
                 "S A0 A 01 A Sr A3 N P",
                 {}},
        WireCase{"data_byte_not_acknowledged",
                 {{0x50, 0, {1, 2, 3}}},
                 -EREMOTEIO,
                 "S A0 A 01 A 02 N P",
                 {},
                 0x02,
                 1},
        WireCase{"block_read_takes_its_count",
                 {{0x50, kBlock, {}, 1}},
                 0,
                 "S A1 A 02 A 02 A 02 N P",
                 {0x02, 0x02, 0x02}},
        WireCase{"block_count_out_of_range", {{0x50, kBlock, {}, 1}}, -EPROTO, "S A1 A 21 N P", {}, 0x21}),
    [](const auto &info) { return std::string(info.param.name); });

// The transfer's bytes are the primitives' bytes: the same port accesses, one
// by one, as the hand-made transaction.
TEST_F(TransferTest, SameAccessesAsThePrimitives) {
    iic_stop();  // both start from an idle bus
    forget_history();
    bench.log_accesses(true);
    iic_start();
    iic_send_byte(0xA0);
    iic_send_byte(0x12);
    iic_start();
    iic_send_byte(0x71);
    iic_read_byte(1);
    iic_read_byte(0);
    iic_stop();
    const std::vector<wlsim::PortAccess> by_hand = bench.log();
    std::vector<Msg> messages = {{0x50, 0, {0x12}}, {0x38, kRead, {}, 2}};
    forget_history();
    ASSERT_EQ(transfer(messages), 0);
    const std::vector<wlsim::PortAccess> &combined = bench.log();
    ASSERT_EQ(combined.size(), by_hand.size());
    for (std::size_t i = 0; i < by_hand.size(); ++i) {
        EXPECT_TRUE(combined[i].port == by_hand[i].port && combined[i].write == by_hand[i].write &&
                    combined[i].value == by_hand[i].value)
            << "access " << i;
    }
}

TEST_F(TransferTest, StuckClockTimesOutPromptly) {
    bench.bus().stick_scl_low(true);
    std::vector<Msg> messages = {{0x50, 0, {1, 2}}, {0x38, kRead, {}, 4}};
    EXPECT_EQ(transfer(messages), -ETIMEDOUT);
    EXPECT_LT(bench.accesses(), 60'000u);
    bench.bus().stick_scl_low(false);
    messages = {{0x50, 0, {}}};
    EXPECT_EQ(transfer(messages), 0) << "the bus works again once the clock is free";
}

TEST_F(TransferTest, MalformedListsAreRefusedOffTheBus) {
    uint8_t byte = 0;
    const wirelink_msg good{0x50, 0, 1, &byte};
    const std::vector<std::vector<wirelink_msg>> lists = {
        {},
        {{0x80, 0, 1, &byte}},
        {{0x50, 0x8000, 1, &byte}},
        {{0x50, WIRELINK_MSG_RECV_LEN, 1, &byte}},
        {{0x50, 0, -1, &byte}},
        {{0x50, kRead, 0, &byte}},
        {{0x50, 0, 8193, &byte}},
        {{0x50, 0, 1, nullptr}},
        {good, {0x50, kRead, 1, nullptr}},
        std::vector<wirelink_msg>(43, good),
    };
    for (const auto &list : lists) {
        EXPECT_EQ(wirelink_transfer(list.data(), static_cast<int32_t>(list.size())), -EINVAL);
    }
    EXPECT_EQ(wirelink_transfer(nullptr, 1), -EINVAL);
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
