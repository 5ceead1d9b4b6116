// TBB200: R and the main counter from frequency ratios, three registers in
// transactions of their own, and the refused zero steps.
#include <climits>
#include <cstring>

#include "synth_test.h"

namespace {

using Tbb200Test = SynthTest;

constexpr int32_t kFref = 12'800'000;

// The chip has no read direction; in swallow mode it is written at 0xC5.
wlsim::RecordingSlave &tbb200_at(wlsim::Bench &bench, int32_t mode) {
    return bench.add<wlsim::RecordingSlave>(wlsim::kCom1, static_cast<uint8_t>(0xC4 + mode),
                                            wlsim::RecordingSlave::WriteOnly{});
}

struct ProgramCase {
    const char *name;
    int32_t mode;
    int32_t prescaler;
    int32_t fstep;
    int32_t freq;
    int32_t total;
    const char *trace;  // send status 0xF0, send R, send main counter
    int64_t tuned_hz;

    friend void PrintTo(const ProgramCase &c, std::ostream *os) { *os << c.name; }
};

class Tbb200Program : public LayeredSynthTest<ProgramCase> {
protected:
    tbb200_state own{};

    int32_t init(int32_t mode, int32_t prescaler) {
        return library() ? pll_tbb200_init(mode, kFref, prescaler) : tbb200_init(&own, mode, kFref, prescaler);
    }
    int32_t calc(int32_t fstep, int32_t freq) {
        return library() ? pll_tbb200_calc(fstep, freq) : tbb200_calc(&own, fstep, freq);
    }
    int32_t send_status(int32_t status) {
        return library() ? pll_tbb200_send_status(status) : tbb200_send_status(&own, status);
    }
    int32_t send_r() { return library() ? pll_tbb200_send_r_cnt() : tbb200_send_r_cnt(&own); }
    int32_t send_n() { return library() ? pll_tbb200_send_n_cnt() : tbb200_send_n_cnt(&own); }
};

TEST_P(Tbb200Program, ChipReceivesEachRegister) {
    const ProgramCase &c = the_case();
    wlsim::RecordingSlave &chip = tbb200_at(bench, c.mode);
    EXPECT_EQ(init(c.mode, c.prescaler), 0xF8);
    EXPECT_EQ(calc(c.fstep, c.freq), c.total);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(send_status(0xF0), 1);
    EXPECT_EQ(send_r(), 1);
    EXPECT_EQ(send_n(), 1);
    EXPECT_EQ(trace(), c.trace);
    ASSERT_EQ(chip.transactions().size(), 3u);
    EXPECT_EQ(synth::tbb200_frequency(chip.transactions()[1], chip.transactions()[2], kFref, c.prescaler),
              c.tuned_hz);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tbb200Program,
    ::testing::Combine(
        ::testing::Values(
            ProgramCase{"SingleModulus", 0, 64, 25'000, 145'000'000, 5800,
                        "S C4 A 08 A F0 A P S C4 A 04 A 02 A 00 A P S C4 A 0C A 16 A A8 A P", 145'000'000},
            ProgramCase{"SingleModulusIgnoresThePrescaler", 0, 0, 25'000, 145'000'000, 5800,
                        "S C4 A 08 A F0 A P S C4 A 04 A 02 A 00 A P S C4 A 0C A 16 A A8 A P", 145'000'000},
            ProgramCase{"Swallow", 1, 64, 25'000, 145'000'000, 5800,
                        "S C5 A 09 A F0 A P S C5 A 05 A 02 A 00 A P S C5 A 0D A 02 A 80 A 5A A P", 145'000'000},
            ProgramCase{"AnyOtherModeSwallows", 2, 64, 25'000, 145'000'000, 5800,
                        "S C6 A 0A A F0 A P S C6 A 06 A 02 A 00 A P S C6 A 0E A 02 A 80 A 5A A P", 145'000'000},
            // N = 4096, A = 1: N's bit 12 is added into A's nibble, so the chip
            // sees A = 2, N = 0.
            ProgramCase{"LargeMainCountCarries", 1, 2, 25'000, 8193 * 25'000, 8193,
                        "S C5 A 09 A F0 A P S C5 A 05 A 02 A 00 A P S C5 A 0D A 00 A 20 A 00 A P", 2 * 25'000}),
        kBothLayers),
    case_and_layer);

TEST_F(Tbb200Test, SendStatusKeepsItsArgumentEvenUnacknowledged) {
    tbb200_state state{};
    tbb200_init(&state, 0, kFref, 64);
    EXPECT_EQ(tbb200_send_status(&state, 0x00), 0);
    EXPECT_EQ(state.status, 0x00);
    EXPECT_EQ(trace(), "S C4 N 08 N 00 N P");
}

struct BeforeCalcCase {
    const char *name;
    int32_t mode;
    const char *trace;

    friend void PrintTo(const BeforeCalcCase &c, std::ostream *os) { *os << c.name; }
};

class Tbb200BeforeCalc : public SynthTest, public ::testing::WithParamInterface<BeforeCalcCase> {};

TEST_P(Tbb200BeforeCalc, CountersAreZero) {
    tbb200_at(bench, GetParam().mode);
    pll_tbb200_init(GetParam().mode, kFref, 64);
    pll_tbb200_send_r_cnt();
    pll_tbb200_send_n_cnt();
    EXPECT_EQ(trace(), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Tbb200BeforeCalc,
    ::testing::Values(BeforeCalcCase{"SingleModulus", 0, "S C4 A 04 A 00 A 00 A P S C4 A 0C A 00 A 00 A P"},
                      BeforeCalcCase{"Swallow", 1, "S C5 A 05 A 00 A 00 A P S C5 A 0D A 00 A 00 A 00 A P"}),
    [](const auto &info) { return std::string(info.param.name); });

// Division by a zero step is refused: the record stays as it was and calc
// returns 0, a ratio no chip is programmed with.
struct ZeroStepCase {
    const char *name;
    int32_t mode;
    int32_t prescaler;
    int32_t fstep;

    friend void PrintTo(const ZeroStepCase &c, std::ostream *os) { *os << c.name; }
};

class Tbb200ZeroStep : public SynthTest, public ::testing::WithParamInterface<ZeroStepCase> {};

TEST_P(Tbb200ZeroStep, CalcIsRefused) {
    const ZeroStepCase &c = GetParam();
    tbb200_at(bench, c.mode);
    tbb200_state state{};
    tbb200_init(&state, c.mode, kFref, c.prescaler);
    state.n_byte3 = 0x77;  // stands for an earlier calculation
    const tbb200_state before = state;
    EXPECT_EQ(tbb200_calc(&state, c.fstep, 145'000'000), 0);
    EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0);
    EXPECT_EQ(pll_tbb200_init(c.mode, kFref, c.prescaler), 0xF8);
    EXPECT_EQ(pll_tbb200_calc(c.fstep, 145'000'000), 0);
    pll_tbb200_send_n_cnt();
    EXPECT_THAT(trace(), ::testing::EndsWith("00 A 00 A P"));
}

INSTANTIATE_TEST_SUITE_P(Steps, Tbb200ZeroStep,
                         ::testing::Values(ZeroStepCase{"StepSingleModulus", 0, 64, 0},
                                           ZeroStepCase{"StepSwallow", 1, 64, 0},
                                           ZeroStepCase{"PrescalerSwallow", 1, 0, 25'000}),
                         [](const auto &info) { return std::string(info.param.name); });

struct ExtremeCase {
    const char *name;
    int32_t mode;
    int32_t fref;
    int32_t prescaler;
    int32_t fstep;
    int32_t freq;
    int32_t total;
    const char *trace;  // send R, send main counter

    friend void PrintTo(const ExtremeCase &c, std::ostream *os) { *os << c.name; }
};

class Tbb200Extreme : public SynthTest, public ::testing::WithParamInterface<ExtremeCase> {};

TEST_P(Tbb200Extreme, CountersStayDefined) {
    const ExtremeCase &c = GetParam();
    tbb200_at(bench, c.mode);
    tbb200_state state{};
    tbb200_init(&state, c.mode, c.fref, c.prescaler);
    EXPECT_EQ(tbb200_calc(&state, c.fstep, c.freq), c.total);
    tbb200_send_r_cnt(&state);
    tbb200_send_n_cnt(&state);
    EXPECT_EQ(trace(), c.trace);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Tbb200Extreme,
    ::testing::Values(
        ExtremeCase{"ReferenceMinOverMinusOne", 0, INT32_MIN, 64, -1, 5800, -5800,
                    "S C4 A 04 A 00 A 00 A P S C4 A 0C A E9 A 58 A P"},
        ExtremeCase{"TotalAndMainMinOverMinusOne", 1, kFref, -1, -1, INT32_MIN, INT32_MIN,
                    "S C5 A 05 A B0 A 00 A P S C5 A 0D A 00 A 00 A 00 A P"},
        ExtremeCase{"NegativeSwallow", 1, kFref, 64, 25'000, -145'000'000, -5800,
                    "S C5 A 05 A 02 A 00 A P S C5 A 0D A FD A 7F A A6 A P"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Tbb200Test, ModeWrapsInTheAddressAndRegisterBytes) {
    tbb200_state state{};
    tbb200_init(&state, INT32_MAX, kFref, 64);
    tbb200_send_status(&state, 0x5A);
    EXPECT_EQ(trace(), "S C3 N 07 N 5A N P");
}

}  // namespace
