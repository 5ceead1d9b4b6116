// The simulated UART's modem status register, as the probe sees it.
#include "wire_test.h"

namespace {

using wlsim::kCom1;
constexpr uint32_t kMsr = kCom1 + 6;

TEST_F(WireTest, StatusChangeBitsLatchUntilRead) {
    wlsim::Uart &uart = bench.add_uart(kCom1, false);
    bench.read(kMsr);
    uart.set_dcd(true);
    uart.set_ri(true);
    EXPECT_EQ(bench.read(kMsr), 0xC8);  // DCD with its change bit; RI rising sets none
    EXPECT_EQ(bench.read(kMsr), 0xC0);
    uart.set_ri(false);
    uart.set_dcd(false);
    EXPECT_EQ(bench.read(kMsr), 0x0C);  // RI's trailing edge and DCD's change
}

TEST_F(WireTest, AdapterFeedsTheLinesBackOnDsrAndCts) {
    bench.add_uart(kCom1, true);
    bench.write(kCom1 + 4, 0x03);
    EXPECT_EQ(bench.read(kMsr), 0x33);
    bench.write(kCom1 + 4, 0x01);
    EXPECT_EQ(bench.read(kMsr), 0x21);
}

TEST_F(WireTest, AbsentPortsReadAllOnesAndStrayAccessesAreFlagged) {
    EXPECT_EQ(bench.read(kMsr), 0xFF);
    EXPECT_THAT(bench.violations(), ::testing::IsEmpty());
    EXPECT_EQ(bench.read(0x378), 0xFF);
    bench.write(0x80, 1);
    EXPECT_THAT(bench.violations(), ::testing::ElementsAre("read of port 0x378", "write of port 0x80"));
    bench.forget_violations();  // expected here; the fixture checks for none
}

}  // namespace
