// The C interface that programs loading the simulated driver by name use
// (the Windows tests): it reports the attached bench and never throws.
#include "wire_test.h"

#include <cstring>

#include "wlsim_c.h"

namespace {

class CInterfaceTest : public StandardBoardTest {};
class CInterfaceBareTest : public WireTest {};

TEST_F(CInterfaceTest, TraceIsCutToTheBufferAndReportsItsFullLength) {
    ASSERT_EQ(init_iic(1), 0x3F8);
    bench.bus().monitor().clear();
    iic_tx_pcf8574(0x5A, 1);
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(wlsim_trace_text(buffer, sizeof buffer), 6);  // "S 72 N"
    EXPECT_STREQ(buffer, "S 72 N");
    char small[4];
    EXPECT_EQ(wlsim_trace_text(small, sizeof small), 6);
    EXPECT_STREQ(small, "S 7");
    EXPECT_EQ(wlsim_trace_text(nullptr, 0), 6);
}

TEST_F(CInterfaceTest, ForgettingClearsTraceAndCounts) {
    ASSERT_EQ(init_iic(1), 0x3F8);
    iic_tx_pcf8574(0x5A, 1);
    ASSERT_NE(wlsim_accesses(), 0u);
    wlsim_forget_history();
    EXPECT_EQ(wlsim_accesses(), 0u);
    EXPECT_EQ(wlsim_trace_text(nullptr, 0), 0);
}

TEST_F(CInterfaceTest, StuckClockFailsTheWrite) {
    ASSERT_EQ(init_iic(1), 0x3F8);
    wlsim_stick_scl_low(1);
    EXPECT_EQ(iic_tx_pcf8574(0x5A, 1), 0);
    wlsim_stick_scl_low(0);
    iic_stop();
    EXPECT_TRUE(bench.bus().scl());
}

TEST_F(CInterfaceBareTest, WithoutAnAdapterPortTheAnswersAreSafe) {
    bench.add_uart(wlsim::kCom2, true);
    char buffer[4] = "xyz";
    EXPECT_EQ(wlsim_trace_text(buffer, sizeof buffer), -1);
    EXPECT_STREQ(buffer, "xyz");
    wlsim_forget_history();
    wlsim_stick_scl_low(1);
    EXPECT_EQ(wlsim_violations(), 0);
}

TEST_F(CInterfaceBareTest, ViolationsCountStrayPortAccesses) {
    standard_ports();
    bench.read(0x378);
    EXPECT_EQ(wlsim_violations(), 1);
    bench.forget_violations();
}

}  // namespace
