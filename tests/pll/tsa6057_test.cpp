// TSA6057: the 17-bit divider in db0..db2, the reference select and the
// control bits that every calc keeps.
#include <climits>

#include "synth_test.h"

namespace {

using Tsa6057 = SynthTest;

struct CalcRow : synth::Named {
    int32_t control_bits;
    int32_t init_ref;
    int32_t freq;
    int32_t ref_select;
    int32_t divider;
    const char *data_bytes;  // subaddress, db0..db3 as traced
};

class Tsa6057Calc : public synth::Table<CalcRow> {};

TEST_P(Tsa6057Calc, ChipReceivesTheDataBytes) {
    const CalcRow &row = GetParam();
    chip_at(0xC4);
    EXPECT_EQ(pll_tsa6057_init(row.control_bits, row.init_ref), row.control_bits);
    EXPECT_EQ(pll_tsa6057_calc(row.freq, row.ref_select), row.divider);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(pll_tsa6057_send(0), 1);
    EXPECT_EQ(trace(), std::string("S C4 A ") + row.data_bytes + " A P");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tsa6057Calc,
    ::testing::Values(
        CalcRow{"Tune100MHzOn10kHz", 0, 64, 100'000'000, 64, 10'000, "00 A 21 A 4E A 44 A 00"},
        CalcRow{"Tune1MHzOn1kHz", 0, 0, 1'000'000, 0, 1'000, "00 A D1 A 07 A 04 A 00"},
        CalcRow{"SeventeenBitDivider", 0, 0, 100'000'000, 0, 100'000, "00 A 41 A 0D A 07 A 00"},
        CalcRow{"Tune98M1On25kHz", 0, 128, 98'100'000, 128, 3'924, "00 A A9 A 1E A 84 A 00"},
        // 32 is added to db2 as given; it lands in the control bits.
        CalcRow{"UnlistedSelectSteps25kHz", 0, 32, 98'100'000, 32, 3'924, "00 A A9 A 1E A 44 A 00"},
        CalcRow{"CalcReplacesTheReference", 0x08, 64, 100'000'000, 0, 100'000, "00 A 41 A 0D A 0F A 00"},
        CalcRow{"DividerBit17Dropped", 0, 0, 131'073'000, 0, 131'073, "00 A 03 A 00 A 04 A 00"},
        CalcRow{"SmallestFrequency", 0, 0, INT32_MIN, 0, -2'147'483, "00 A CB A 76 A 06 A 00"},
        // The control bits 0x3C plus INT32_MAX leave 32 bits and wrap.
        CalcRow{"SelectWrapsInDb2", 0x38, 0, 100'000'000, INT32_MAX, 4'000, "00 A 41 A 1F A 3B A 00"}),
    synth::row_name);

TEST_F(Tsa6057, RepeatedCalcsKeepTheControlBits) {
    chip_at(0xC4);
    pll_tsa6057_init(0x08, 0);
    for (const auto &[freq, ref] :
         {std::pair{100'000'000, 0}, {100'000'000, 0}, {1'000'000, 128}, {1'000'000, 0}}) {
        pll_tsa6057_calc(freq, ref);
        pll_tsa6057_send(0);
    }
    EXPECT_EQ(trace(),
              "S C4 A 00 A 41 A 0D A 0F A 00 A P S C4 A 00 A 41 A 0D A 0F A 00 A P "
              "S C4 A 00 A 51 A 00 A 8C A 00 A P S C4 A 00 A D1 A 07 A 0C A 00 A P");
}

TEST_F(Tsa6057, InitSumWrapsInDb2) {
    tsa6057_state state{};
    EXPECT_EQ(tsa6057_init(&state, INT32_MAX, 128), INT32_MAX);
    EXPECT_EQ(state.db2, INT32_MIN + 128 + 3);
    EXPECT_EQ(state.step, 25'000);
}

}  // namespace
