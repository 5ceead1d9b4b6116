// TSA5523: divider for freq + 37.3 MHz on 50 kHz, band from freq.
#include <climits>

#include "synth_test.h"

namespace {

using Tsa5523Test = SynthTest;

constexpr int32_t kControl = 0x8E;

struct CalcCase {
    const char *name;
    int32_t freq;
    int32_t step_mode;
    int32_t divider;
    const char *data_bytes;  // div_high, div_low, control, band as traced
    int32_t band;

    friend void PrintTo(const CalcCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa5523Calc : public LayeredSynthTest<CalcCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
    tsa5523_state own{};

    int32_t init() { return library() ? pll_tsa5523_init(kControl) : tsa5523_init(&own, kControl); }
    int32_t calc(int32_t freq, int32_t mode) {
        return library() ? pll_tsa5523_calc(freq, mode) : tsa5523_calc(&own, freq, mode);
    }
    int32_t send() { return library() ? pll_tsa5523_send(0) : tsa5523_send(&own, 0); }
};

TEST_P(Tsa5523Calc, ChipReceivesDividerAndBand) {
    const CalcCase &c = the_case();
    EXPECT_EQ(init(), kControl);
    EXPECT_EQ(calc(c.freq, c.step_mode), c.divider);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(send(), 1);
    EXPECT_EQ(trace(), std::string("S C0 A ") + c.data_bytes + " P");
    EXPECT_EQ(synth::tuner_write(chip.last()).fourth, c.band);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tsa5523Calc,
    ::testing::Combine(
        ::testing::Values(CalcCase{"Tune100MHz", 100'000'000, 0, 2746, "0A A BA A 8E A A0 A", 0xA0},
                          CalcCase{"Tune500MHz", 500'000'000, 0, 10'746, "29 A FA A 8E A 30 A", 0x30},
                          CalcCase{"OddDivider", 100'050'000, 0, 2747, "0A A BB A 8E A A0 A", 0xA0},
                          CalcCase{"StepModeOneMakesItEven", 100'050'000, 1, 2746, "0A A BA A 8E A A0 A", 0xA0},
                          CalcCase{"LowBandTop", 169'000'000, 0, 4126, "10 A 1E A 8E A A0 A", 0xA0},
                          CalcCase{"MidBandBottom", 169'000'001, 0, 4126, "10 A 1E A 8E A 90 A", 0x90},
                          CalcCase{"MidBandTop", 454'000'000, 0, 9826, "26 A 62 A 8E A 90 A", 0x90},
                          CalcCase{"HighBandBottom", 454'000'001, 0, 9826, "26 A 62 A 8E A 30 A", 0x30},
                          // The offset is added in 64 bits: no overflow, the true divider.
                          CalcCase{"LargestFrequency", INT32_MAX, 0, 43'695, "2A A AF A 8E A 30 A", 0x30},
                          CalcCase{"SmallestFrequency", INT32_MIN, 1, -42'204, "5B A 24 A 8E A A0 A", 0xA0}),
        kBothLayers),
    case_and_layer);

TEST_F(Tsa5523Test, TunedFrequencyReadsBack) {
    wlsim::RecordingSlave &chip = chip_at(0xC0);
    tsa5523_state state{};
    tsa5523_init(&state, kControl);
    for (const int32_t hz : {48'250'000, 100'000'000, 471'250'000, 855'250'000}) {
        tsa5523_calc(&state, hz, 0);
        tsa5523_send(&state, 0);
        EXPECT_EQ(synth::tsa5523_hz(chip.last()), hz);
    }
}

TEST_F(Tsa5523Test, SendBeforeCalcWritesTheInitialBand) {
    chip_at(0xC0);
    pll_tsa5523_init(kControl);
    EXPECT_EQ(pll_tsa5523_send(0), 1);
    EXPECT_EQ(trace(), "S C0 A 00 A 00 A 8E A 02 A P");
}

TEST_F(Tsa5523Test, AbsentChipStillGetsEveryByte) {
    tsa5523_state state{};
    tsa5523_init(&state, kControl);
    tsa5523_calc(&state, 100'000'000, 0);
    EXPECT_EQ(tsa5523_send(&state, 4), 0);
    EXPECT_EQ(trace(), "S C4 N 0A N BA N 8E N A0 N P");
}

}  // namespace
