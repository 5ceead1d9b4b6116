// SDA3302: divider for freq + 37.3 MHz in 62.5 kHz steps through double
// precision, the two step modes, band from freq.
#include <climits>

#include "synth_test.h"

namespace {

using Sda3302Test = SynthTest;

constexpr int32_t kControl = 0xCE;

struct CalcCase {
    const char *name;
    int32_t freq;
    int32_t step_mode;
    int32_t divider;
    const char *data_bytes;  // div_high, div_low, control, band as traced

    friend void PrintTo(const CalcCase &c, std::ostream *os) { *os << c.name; }
};

class Sda3302Calc : public LayeredSynthTest<CalcCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
    sda3302_state own{};

    int32_t init() { return library() ? pll_sda3302_init(kControl) : sda3302_init(&own, kControl); }
    int32_t calc(int32_t freq, int32_t mode) {
        return library() ? pll_sda3302_calc(freq, mode) : sda3302_calc(&own, freq, mode);
    }
    int32_t send() { return library() ? pll_sda3302_send(0) : sda3302_send(&own, 0); }
};

TEST_P(Sda3302Calc, ChipReceivesDividerAndBand) {
    const CalcCase &c = the_case();
    EXPECT_EQ(init(), kControl);
    EXPECT_EQ(calc(c.freq, c.step_mode), c.divider);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(send(), 1);
    EXPECT_EQ(trace(), std::string("S C0 A ") + c.data_bytes + " P");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Sda3302Calc,
    ::testing::Combine(
        ::testing::Values(CalcCase{"Exactly100MHzOscillator", 62'700'000, 0, 1600, "06 A 40 A CE A 01 A"},
                          CalcCase{"Tune100MHzTruncates", 100'000'000, 0, 2196, "08 A 94 A CE A 01 A"},
                          CalcCase{"OddDivider", 100'062'500, 0, 2197, "08 A 95 A CE A 01 A"},
                          CalcCase{"StepModeOneMakesItEven", 100'062'500, 1, 2196, "08 A 94 A CE A 01 A"},
                          CalcCase{"StepModeOneKeepsEven", 100'125'000, 1, 2198, "08 A 96 A CE A 01 A"},
                          CalcCase{"StepModeTwoMultipleOfFour", 100'125'000, 2, 2196, "08 A 94 A CE A 01 A"},
                          CalcCase{"OtherStepModesKeepIt", 100'125'000, 3, 2198, "08 A 96 A CE A 01 A"},
                          CalcCase{"LowBandTop", 122'000'000, 0, 2548, "09 A F4 A CE A 01 A"},
                          CalcCase{"MidBandBottom", 122'000'001, 0, 2548, "09 A F4 A CE A 02 A"},
                          CalcCase{"MidBandTop", 471'000'000, 0, 8132, "1F A C4 A CE A 02 A"},
                          CalcCase{"HighBandBottom", 471'000'001, 0, 8132, "1F A C4 A CE A 04 A"},
                          CalcCase{"LargestFrequency", INT32_MAX, 0, 34'956, "08 A 8C A CE A 04 A"},
                          CalcCase{"SmallestFrequency", INT32_MIN, 2, -33'760, "7C A 20 A CE A 01 A"}),
        kBothLayers),
    case_and_layer);

// The floating-point steps must never land just below a whole divider.
TEST(Sda3302Divider, EveryWholeStepYieldsItsExactQuotient) {
    sda3302_state state{};
    sda3302_init(&state, kControl);
    int failures = 0;
    for (int32_t steps = -33'000; steps <= 34'000 && failures < 10; ++steps) {
        const int32_t freq = steps * 62'500 - 37'300'000;
        if (sda3302_calc(&state, freq, 0) != steps) {
            ADD_FAILURE() << "offset frequency " << steps << " x 62.5 kHz";
            ++failures;
        }
        // One hertz short of the step is the step before, toward zero.
        const int32_t below = steps > 0 ? steps - 1 : steps;
        if (sda3302_calc(&state, freq - 1, 0) != below) {
            ADD_FAILURE() << "1 Hz below " << steps << " x 62.5 kHz";
            ++failures;
        }
    }
}

TEST_F(Sda3302Test, TunedFrequencyReadsBack) {
    wlsim::RecordingSlave &chip = chip_at(0xC0);
    pll_sda3302_init(kControl);
    for (const int32_t hz : {62'700'000, 87'700'000, 462'700'000, 837'700'000}) {
        pll_sda3302_calc(hz, 0);
        pll_sda3302_send(0);
        EXPECT_EQ(synth::sda3302_hz(chip.last()), hz);
    }
}

TEST_F(Sda3302Test, SendBeforeCalcWritesTheInitialBand) {
    chip_at(0xC0);
    sda3302_state state{};
    sda3302_init(&state, kControl);
    EXPECT_EQ(sda3302_send(&state, 0), 1);
    EXPECT_EQ(trace(), "S C0 A 00 A 00 A CE A 02 A P");
}

TEST_F(Sda3302Test, AbsentChipStillGetsEveryByte) {
    pll_sda3302_init(kControl);
    pll_sda3302_calc(62'700'000, 0);
    EXPECT_EQ(pll_sda3302_send(2), 0);
    EXPECT_EQ(trace(), "S C2 N 06 N 40 N CE N 01 N P");
}

}  // namespace
