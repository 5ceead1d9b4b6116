// The I2C timing measured from the bench's waveform file is what the line
// sequences imply, counted in port accesses at a port delay of d: the
// numbers the README's timing table and its standard-mode claims rest on.
#include "wire_test.h"

#include <cstdio>

#include "i2c_timing.h"
#include "operations.h"

namespace {

class WaveTiming : public StandardBoardTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        fit_chips(bench);
        claim();
    }
};

TEST_P(WaveTiming, MeasuredTimesFollowTheLineSequences) {
    const double d = GetParam();
    const std::string path =
        ::testing::TempDir() + "wirelink_wave_timing_" + std::to_string(GetParam()) + ".vcd";
    set_port_delay(GetParam());
    iic_stop();
    bench.record_waveforms(path, 1000);
    timing_run();
    bench.stop_waveforms();
    const I2cTiming timing(read_vcd_lines(path));
    std::remove(path.c_str());

    // A byte read has the shortest clock: SCL low for d + 2 accesses, high
    // for d + 4 (the SCL and SDA reads, the line change's read and write).
    EXPECT_DOUBLE_EQ(timing.value(Parameter::fscl), 1000.0 / (2 * d + 6));
    EXPECT_DOUBLE_EQ(timing.value(Parameter::low), d + 2);
    EXPECT_DOUBLE_EQ(timing.value(Parameter::high), d + 3);  // a byte sent
    EXPECT_DOUBLE_EQ(timing.value(Parameter::hd_sta), 2 * d + 2);
    EXPECT_DOUBLE_EQ(timing.value(Parameter::su_sta), 2 * d + 3);  // the repeated START
    EXPECT_DOUBLE_EQ(timing.value(Parameter::su_dat), d + 2);
    EXPECT_DOUBLE_EQ(timing.value(Parameter::hd_dat), 0);  // a chip's acknowledge
    EXPECT_DOUBLE_EQ(timing.value(Parameter::su_sto), 2 * d + 3);
    EXPECT_DOUBLE_EQ(timing.value(Parameter::buf), 4 * d + 7);
    EXPECT_EQ(timing.within_mode(false), GetParam() >= 3);
    EXPECT_TRUE(timing.within_mode(true));
}

INSTANTIATE_TEST_SUITE_P(Delays, WaveTiming, ::testing::Values(0, 1, 2, 3, 10, 100));

}  // namespace
