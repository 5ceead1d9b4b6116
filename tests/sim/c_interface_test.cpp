// The C interface that programs loading the simulated driver by name use
// (the Windows tests): it reports the attached bench and never throws.
#include "wire_test.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

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

// The end one access after the last change keeps that change for readers.
TEST_F(CInterfaceTest, WaveformFileEndsOneAccessAfterTheLastChange) {
    ASSERT_EQ(init_iic(1), 0x3F8);
    set_port_delay(0);
    const std::string path = ::testing::TempDir() + "wirelink_c_interface.vcd";
    EXPECT_EQ(wlsim_vcd_start(nullptr, 1000), 0);
    EXPECT_EQ(wlsim_vcd_start(path.c_str(), 0), 0);
    EXPECT_EQ(wlsim_vcd_start("/nonexistent/wirelink.vcd", 1000), 0);
    wlsim_forget_history();
    ASSERT_EQ(wlsim_vcd_start(path.c_str(), 250), 1);
    iic_tx_pcf8574(0x5A, 1);
    iic_stop();  // its last access raises SDA
    const uint64_t accesses = wlsim_accesses();
    wlsim_vcd_stop();
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    EXPECT_THAT(lines, ::testing::Contains("$timescale 10 ns $end"));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_THAT(std::vector<std::string>(lines.end() - 3, lines.end()),
                ::testing::ElementsAre("#" + std::to_string(25 * accesses), "1\"",
                                       "#" + std::to_string(25 * (accesses + 1))));
    std::remove(path.c_str());
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
