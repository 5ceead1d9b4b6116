// TBB200: R and the main counter from frequency ratios, the three registers in
// transactions of their own, and the refused zero divisors.
#include <climits>
#include <cstring>

#include "synth_test.h"

namespace {

using Tbb200 = SynthTest;

constexpr int32_t kFref = 12'800'000;

struct ProgramRow : synth::Named {
    int32_t mode;
    int32_t prescaler;
    int32_t fstep;
    int32_t freq;
    int32_t total;
    const char *trace;  // send status 0xF0, send R, send main counter
    int32_t fref = kFref;
};

class Tbb200Program : public synth::Table<ProgramRow> {};

TEST_P(Tbb200Program, ChipReceivesEachRegister) {
    const ProgramRow &row = GetParam();
    // The chip has no read direction: it answers its address byte, bit 0 too.
    const auto address = static_cast<uint8_t>(0xC4u + static_cast<uint32_t>(row.mode));
    bench.add<wlsim::RecordingSlave>(wlsim::kCom1, address, wlsim::RecordingSlave::WriteOnly{});
    EXPECT_EQ(pll_tbb200_init(row.mode, row.fref, row.prescaler), 0xF8);
    EXPECT_EQ(pll_tbb200_calc(row.fstep, row.freq), row.total);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(pll_tbb200_send_status(0xF0) + pll_tbb200_send_r_cnt() + pll_tbb200_send_n_cnt(), 3);
    EXPECT_EQ(trace(), row.trace);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tbb200Program,
    ::testing::Values(ProgramRow{"SingleModulus", 0, 64, 25'000, 145'000'000, 5800,
                                 "S C4 A 08 A F0 A P S C4 A 04 A 02 A 00 A P S C4 A 0C A 16 A A8 A P"},
                      ProgramRow{"SingleModulusIgnoresThePrescaler", 0, 0, 25'000, 145'000'000, 5800,
                                 "S C4 A 08 A F0 A P S C4 A 04 A 02 A 00 A P S C4 A 0C A 16 A A8 A P"},
                      // N = 90, A = 40.
                      ProgramRow{"Swallow", 1, 64, 25'000, 145'000'000, 5800,
                                 "S C5 A 09 A F0 A P S C5 A 05 A 02 A 00 A P S C5 A 0D A 02 A 80 A 5A A P"},
                      ProgramRow{"AnyOtherModeSwallows", 2, 64, 25'000, 145'000'000, 5800,
                                 "S C6 A 0A A F0 A P S C6 A 06 A 02 A 00 A P S C6 A 0E A 02 A 80 A 5A A P"},
                      // N = 4096, A = 1: N's bit 12 is added into A's nibble.
                      ProgramRow{"LargeMainCountCarries", 1, 2, 25'000, 8193 * 25'000, 8193,
                                 "S C5 A 09 A F0 A P S C5 A 05 A 02 A 00 A P S C5 A 0D A 00 A 20 A 00 A P"},
                      ProgramRow{"NegativeSwallow", 1, 64, 25'000, -145'000'000, -5800,
                                 "S C5 A 09 A F0 A P S C5 A 05 A 02 A 00 A P S C5 A 0D A FD A 7F A A6 A P"},
                      ProgramRow{"ReferenceMinOverMinusOne", 0, 64, -1, 5800, -5800,
                                 "S C4 A 08 A F0 A P S C4 A 04 A 00 A 00 A P S C4 A 0C A E9 A 58 A P",
                                 INT32_MIN},
                      ProgramRow{"TotalAndMainMinOverMinusOne", 1, -1, -1, INT32_MIN, INT32_MIN,
                                 "S C5 A 09 A F0 A P S C5 A 05 A B0 A 00 A P S C5 A 0D A 00 A 00 A 00 A P"},
                      // The mode is added to the address and register-select bytes unchecked.
                      ProgramRow{"ModeWraps", INT32_MAX, 64, 25'000, 145'000'000, 5800,
                                 "S C3 A 07 A F0 A P S C3 A 03 A 02 A 00 A P S C3 A 0B A 02 A 80 A 5A A P"}),
    synth::row_name);

TEST_F(Tbb200, SendStatusKeepsItsArgumentEvenUnacknowledged) {
    tbb200_state state{};
    tbb200_init(&state, 0, kFref, 64);
    EXPECT_EQ(tbb200_send_status(&state, 0x00), 0);
    EXPECT_EQ(state.status, 0x00);
    EXPECT_EQ(trace(), "S C4 N 08 N 00 N P");
}

// Division by a zero step or prescaler is refused: calc returns 0, a ratio no
// chip is programmed with, and keeps the record.
TEST_F(Tbb200, ZeroDivisorIsRefused) {
    const struct { int32_t mode, prescaler, fstep; } cases[] = {{0, 64, 0}, {1, 64, 0}, {1, 0, 25'000}};
    for (const auto &c : cases) {
        tbb200_state state{};
        tbb200_init(&state, c.mode, kFref, c.prescaler);
        state.n_byte3 = 0x77;  // stands for an earlier calculation
        const tbb200_state before = state;
        EXPECT_EQ(tbb200_calc(&state, c.fstep, 145'000'000), 0);
        EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0)
            << c.mode << ' ' << c.prescaler << ' ' << c.fstep;
    }
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
