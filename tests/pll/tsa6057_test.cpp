// TSA6057: the 17-bit divider in db0..db2, the reference select and the
// control bits that every calc keeps.
#include <climits>

#include "synth_test.h"

namespace {

using Tsa6057Test = SynthTest;

struct CalcCase {
    const char *name;
    int32_t control_bits;
    int32_t init_ref;
    int32_t freq;
    int32_t ref_select;
    int32_t divider;
    const char *data_bytes;  // subaddress, db0..db3 as traced
    int32_t step;            // the step the driver divided by

    friend void PrintTo(const CalcCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa6057Calc : public LayeredSynthTest<CalcCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC4);
    tsa6057_state own{};

    int32_t init(int32_t control_bits, int32_t ref) {
        return library() ? pll_tsa6057_init(control_bits, ref) : tsa6057_init(&own, control_bits, ref);
    }
    int32_t calc(int32_t freq, int32_t ref) {
        return library() ? pll_tsa6057_calc(freq, ref) : tsa6057_calc(&own, freq, ref);
    }
    int32_t send() { return library() ? pll_tsa6057_send(0) : tsa6057_send(&own, 0); }
};

TEST_P(Tsa6057Calc, ChipReceivesTheDataBytes) {
    const CalcCase &c = the_case();
    EXPECT_EQ(init(c.control_bits, c.init_ref), c.control_bits);
    EXPECT_EQ(calc(c.freq, c.ref_select), c.divider);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(send(), 1);
    EXPECT_EQ(trace(), std::string("S C4 A ") + c.data_bytes + " P");
    if (!library()) {
        EXPECT_EQ(own.step, c.step);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tsa6057Calc,
    ::testing::Combine(
        ::testing::Values(
            CalcCase{"Tune100MHzOn10kHz", 0, 64, 100'000'000, 64, 10'000, "00 A 21 A 4E A 44 A 00 A", 10'000},
            CalcCase{"Tune1MHzOn1kHz", 0, 0, 1'000'000, 0, 1'000, "00 A D1 A 07 A 04 A 00 A", 1'000},
            CalcCase{"SeventeenBitDivider", 0, 0, 100'000'000, 0, 100'000, "00 A 41 A 0D A 07 A 00 A", 1'000},
            CalcCase{"Tune98M1On25kHz", 0, 128, 98'100'000, 128, 3'924, "00 A A9 A 1E A 84 A 00 A", 25'000},
            // 32 is added to db2 as given; it lands in the control bits.
            CalcCase{"UnlistedSelectSteps25kHz", 0, 32, 98'100'000, 32, 3'924, "00 A A9 A 1E A 44 A 00 A",
                     25'000},
            CalcCase{"CalcReplacesTheReference", 0x08, 64, 100'000'000, 0, 100'000,
                     "00 A 41 A 0D A 0F A 00 A", 1'000},
            CalcCase{"DividerBit17Dropped", 0, 0, 131'073'000, 0, 131'073, "00 A 03 A 00 A 04 A 00 A", 1'000},
            CalcCase{"SmallestFrequency", 0, 0, INT32_MIN, 0, -2'147'483, "00 A CB A 76 A 06 A 00 A", 1'000},
            // The control bits 0x3C plus INT32_MAX leave 32 bits and wrap.
            CalcCase{"SelectWrapsInDb2", 0x38, 0, 100'000'000, INT32_MAX, 4'000, "00 A 41 A 1F A 3B A 00 A",
                     25'000}),
        kBothLayers),
    case_and_layer);

TEST_F(Tsa6057Test, RepeatedCalcsKeepTheControlBits) {
    wlsim::RecordingSlave &chip = chip_at(0xC4);
    pll_tsa6057_init(0x08, 0);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(pll_tsa6057_calc(100'000'000, 0), 100'000);
        pll_tsa6057_send(0);
    }
    pll_tsa6057_calc(1'000'000, 128);
    pll_tsa6057_send(0);
    pll_tsa6057_calc(1'000'000, 0);
    pll_tsa6057_send(0);
    EXPECT_EQ(trace(),
              "S C4 A 00 A 41 A 0D A 0F A 00 A P S C4 A 00 A 41 A 0D A 0F A 00 A P "
              "S C4 A 00 A 51 A 00 A 8C A 00 A P S C4 A 00 A D1 A 07 A 0C A 00 A P");
    const synth::Tsa6057Write last = synth::tsa6057_write(chip.last());
    EXPECT_EQ(last.hz(), 1'000'000);
    EXPECT_EQ(last.control_bits, 0x03);
}

TEST_F(Tsa6057Test, TunedFrequencyReadsBack) {
    wlsim::RecordingSlave &chip = chip_at(0xC4);
    tsa6057_state state{};
    tsa6057_init(&state, 0, 64);
    for (const auto &[hz, ref] : {std::pair{87'500'000, 64}, std::pair{108'000'000, 128}, std::pair{131'071'000, 0}}) {
        tsa6057_calc(&state, hz, ref);
        tsa6057_send(&state, 0);
        EXPECT_EQ(synth::tsa6057_write(chip.last()).hz(), hz);
    }
}

TEST_F(Tsa6057Test, SendBeforeCalcWritesTheInitialDb2) {
    chip_at(0xC4);
    tsa6057_state state{};
    tsa6057_init(&state, 0, 64);
    EXPECT_EQ(tsa6057_send(&state, 0), 1);
    EXPECT_EQ(trace(), "S C4 A 00 A 00 A 00 A 44 A 00 A P");
}

TEST_F(Tsa6057Test, InitSumWrapsInDb2) {
    tsa6057_state state{};
    EXPECT_EQ(tsa6057_init(&state, INT32_MAX, 128), INT32_MAX);
    EXPECT_EQ(state.db2, INT32_MIN + 128 + 3);
    EXPECT_EQ(state.step, 25'000);
}

TEST_F(Tsa6057Test, AbsentChipStillGetsEveryByte) {
    pll_tsa6057_init(0, 64);
    pll_tsa6057_calc(100'000'000, 64);
    EXPECT_EQ(pll_tsa6057_send(2), 0);
    EXPECT_EQ(trace(), "S C6 N 00 N 21 N 4E N 44 N 00 N P");
}

}  // namespace
