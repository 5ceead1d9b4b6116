// Finding and claiming the adapter, and handing the port back.
#include "wire_test.h"

namespace {

using wlsim::kCom1;
using wlsim::kCom2;

enum class Port { absent, bare, adapter };

struct ClaimCase {
    const char *name;
    Port com1;
    Port com2;
    int32_t choice;
    int32_t expected;

    friend void PrintTo(const ClaimCase &c, std::ostream *os) { *os << c.name; }
};

class ClaimTest : public WireTest, public ::testing::WithParamInterface<ClaimCase> {
protected:
    void fit(uint32_t base, Port port) {
        if (port != Port::absent) bench.add_uart(base, port == Port::adapter);
    }
};

TEST_P(ClaimTest, ClaimsTheExpectedPortAndLeavesFailedCandidatesLow) {
    const ClaimCase &c = GetParam();
    fit(kCom1, c.com1);
    fit(kCom2, c.com2);

    EXPECT_EQ(init_iic(c.choice), c.expected);

    for (uint32_t base : {kCom1, kCom2}) {
        if (!bench.has_uart(base) || base == static_cast<uint32_t>(c.expected)) continue;
        if (bench.writes(base + 4) != 0) {
            EXPECT_EQ(bench.uart(base).mcr(), 0x00) << std::hex << base;
        }
    }
    // A winning probe leaves SDA released and SCL low.
    if (c.expected != 0) {
        EXPECT_EQ(bench.uart(c.expected).mcr(), 0x01);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ClaimTest,
    ::testing::Values(ClaimCase{"SearchFindsCom1", Port::adapter, Port::bare, 0, 0x3F8},
                      ClaimCase{"SearchPrefersCom2", Port::adapter, Port::adapter, 0, 0x2F8},
                      ClaimCase{"SearchWithoutAdapter", Port::bare, Port::bare, 0, 0},
                      ClaimCase{"SearchWithoutPorts", Port::absent, Port::absent, 0, 0},
                      ClaimCase{"ChoiceOne", Port::adapter, Port::bare, 1, 0x3F8},
                      ClaimCase{"ChoiceFive", Port::adapter, Port::bare, 5, 0x3F8},
                      ClaimCase{"ChoiceMinusOne", Port::adapter, Port::bare, -1, 0x3F8},
                      ClaimCase{"ChoiceTwo", Port::bare, Port::adapter, 2, 0x2F8},
                      ClaimCase{"ChoiceTwoWithAdapterOnCom1", Port::adapter, Port::bare, 2, 0},
                      ClaimCase{"ChoiceOneWithAdapterOnCom2", Port::bare, Port::adapter, 1, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WireTest, SearchProbesCom2FirstThenCom1) {
    standard_ports();
    bench.log_accesses(true);
    ASSERT_EQ(init_iic(0), 0x3F8);
    ASSERT_FALSE(bench.log().empty());
    EXPECT_EQ(bench.log().front().port & ~7u, kCom2);
    EXPECT_EQ(bench.log().back().port & ~7u, kCom1);
    EXPECT_EQ(bench.uart(kCom2).mcr(), 0x00);
}

TEST_F(WireTest, ExplicitClaimRestoresTheModemControlValueOnRelease) {
    bench.add_uart(kCom1, false);
    bench.add_uart(kCom2, true, 0x0B);  // DTR, RTS and OUT2 on before the claim
    ASSERT_EQ(init_iic(2), 0x2F8);
    EXPECT_EQ(bench.uart(kCom2).mcr(), 0x01);
    EXPECT_EQ(deinit_iic(), 0);
    EXPECT_EQ(bench.uart(kCom2).mcr(), 0x0B);
}

TEST_F(WireTest, ReleaseAfterSearchWritesZeroAndKeepsThePortClaimed) {
    standard_ports();
    ASSERT_EQ(init_iic(0), 0x3F8);
    EXPECT_EQ(deinit_iic(), 0);
    EXPECT_EQ(bench.uart(kCom1).mcr(), 0x00);
    forget_history();
    sda_high();
    EXPECT_EQ(bench.uart(kCom1).mcr(), 0x01);
}

TEST_F(WireTest, SearchKeepsTheValueSavedByAnEarlierExplicitClaim) {
    bench.add_uart(kCom1, true, 0x08);
    ASSERT_EQ(init_iic(1), 0x3F8);
    ASSERT_EQ(init_iic(0), 0x3F8);
    deinit_iic();
    EXPECT_EQ(bench.uart(kCom1).mcr(), 0x08);
}

TEST_F(WireTest, ProbeReturnsTheRawStatusByteWithItsChangeBits) {
    claimed_bus();
    // SDA falls and rises again: DSR high with its change bit.
    EXPECT_EQ(iic_ok(), 0x22);
}

struct ProbeCase {
    const char *name;
    bool dcd, ri, cts_high;
    int32_t expected;
    uint8_t mcr_after;

    friend void PrintTo(const ProbeCase &c, std::ostream *os) { *os << c.name; }
};

class ProbeWithoutAdapter : public WireTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeWithoutAdapter, ReadsTheStatusInputs) {
    const ProbeCase &c = GetParam();
    wlsim::Uart &uart = bench.add_uart(kCom1, false);
    uart.set_dcd(c.dcd);
    uart.set_ri(c.ri);
    uart.force_cts_high(c.cts_high);
    bench.read(kCom1 + 6);  // a status read clears the change bits of the set-up
    EXPECT_EQ(init_iic(1), c.expected != 0 ? 0x3F8 : 0);
    EXPECT_EQ(uart.mcr(), c.mcr_after);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ProbeWithoutAdapter,
                         ::testing::Values(ProbeCase{"NothingAttached", false, false, false, 0, 0x00},
                                           ProbeCase{"CarrierHigh", true, false, false, 0x80, 0x01},
                                           ProbeCase{"RingHigh", false, true, false, 1, 0x00},
                                           ProbeCase{"CtsHigh", true, true, true, 0, 0x00}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(WireTest, ProbeOnACarrierReturnsItsStatusByte) {
    wlsim::Uart &uart = bench.add_uart(kCom1, false);
    uart.set_dcd(true);
    ASSERT_EQ(init_iic(1), 0x3F8);
    EXPECT_EQ(iic_ok(), 0x80);
}

TEST_F(WireTest, ProbeStopsAtOnceWhenCtsReadsHighWithTheLinesLow) {
    bench.add_uart(kCom1, false).force_cts_high(true);
    bench.log_accesses(true);
    EXPECT_EQ(init_iic(1), 0);
    // saved value, MCR 0x00, status: nothing more.
    EXPECT_EQ(bench.accesses(), 3u);
}

}  // namespace

// The name goes to the port driver untouched, for the port asked, and the
// refusals come back as results and as the last error.
TEST_F(WireTest, UseDeviceNamesTheDeviceThroughThePortDriver) {
    bench.add_uart(kCom1, true);
    EXPECT_EQ(wirelink_use_device(2, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"), 0);
    EXPECT_EQ(bench.named_device(kCom2), "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(wirelink_use_device(2, nullptr), 0);
    EXPECT_EQ(bench.named_device(kCom2), "");
    const std::pair<int32_t, const char *> refused[] = {{0, "/dev/ttyUSB0"}, {3, "/dev/ttyUSB0"}, {1, ""}};
    for (const auto &[port, device] : refused) {
        EXPECT_EQ(wirelink_use_device(port, device), -WIRELINK_EINVAL) << port << " " << device;
        EXPECT_EQ(wirelink_last_error(), WIRELINK_EINVAL);
    }
    EXPECT_EQ(bench.accesses(), 0u);
}
