// TSA5511: divider on fref / 64, the five-byte write, and what a zero step
// or an extreme argument does.
#include <climits>
#include <cstring>

#include "synth_test.h"

namespace {

using Tsa5511Test = SynthTest;

constexpr int32_t kControl = 0x8E;
constexpr int32_t kPort = 0x01;

struct CalcCase {
    const char *name;
    int32_t fref;  // init argument
    int32_t freq;
    int32_t step_mode;
    int32_t divider;
    const char *trace;  // of send(0)
    int64_t tuned_hz;

    friend void PrintTo(const CalcCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa5511Calc : public LayeredSynthTest<CalcCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
    tsa5511_state own{};

    int32_t init(int32_t fref) {
        return library() ? pll_tsa5511_init(kControl, fref, kPort) : tsa5511_init(&own, kControl, fref, kPort);
    }
    int32_t calc(int32_t freq, int32_t mode) {
        return library() ? pll_tsa5511_calc(freq, mode) : tsa5511_calc(&own, freq, mode);
    }
    int32_t send(int32_t offset) { return library() ? pll_tsa5511_send(offset) : tsa5511_send(&own, offset); }
};

TEST_P(Tsa5511Calc, ChipReceivesTheDividerBytes) {
    const CalcCase &c = the_case();
    EXPECT_EQ(init(c.fref), kControl);
    EXPECT_EQ(calc(c.freq, c.step_mode), c.divider);
    EXPECT_EQ(bench.accesses(), 0u);  // calc stays off the bus
    EXPECT_EQ(send(0), 1);
    EXPECT_EQ(trace(), c.trace);
    EXPECT_EQ(synth::tsa5511_hz(chip.last(), c.fref == 0 ? 4'000'000 : c.fref), c.tuned_hz);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tsa5511Calc,
    ::testing::Combine(
        ::testing::Values(
            CalcCase{"Tune100MHz", 0, 100'000'000, 0, 1600, "S C0 A 06 A 40 A 8E A 01 A P", 100'000'000},
            CalcCase{"OddDivider", 0, 100'062'500, 0, 1601, "S C0 A 06 A 41 A 8E A 01 A P", 100'062'500},
            CalcCase{"StepModeOneMakesItEven", 0, 100'062'500, 1, 1600, "S C0 A 06 A 40 A 8E A 01 A P",
                     100'000'000},
            CalcCase{"OtherStepModesKeepIt", 0, 100'062'500, 2, 1601, "S C0 A 06 A 41 A 8E A 01 A P",
                     100'062'500},
            CalcCase{"Reference6M4", 6'400'000, 100'000'000, 0, 1000, "S C0 A 03 A E8 A 8E A 01 A P",
                     100'000'000},
            CalcCase{"Bit15LeavesBothBytes", 0, 32'768 * 62'500, 0, 32'768, "S C0 A 00 A 00 A 8E A 01 A P", 0},
            CalcCase{"LargestFrequency", 0, INT32_MAX, 0, 34'359, "S C0 A 06 A 37 A 8E A 01 A P",
                     1'591 * 62'500}),
        kBothLayers),
    case_and_layer);

struct InitCase {
    const char *name;
    int32_t fref_argument;
    int32_t fref;
    int32_t step;

    friend void PrintTo(const InitCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa5511Init : public ::testing::TestWithParam<InitCase> {};

TEST_P(Tsa5511Init, StoresReferenceAndStep) {
    tsa5511_state state{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(tsa5511_init(&state, 0x1CE, GetParam().fref_argument, -7), 0x1CE);
    const tsa5511_state expected{0, 0, 0x1CE, -7, GetParam().fref, GetParam().step};
    EXPECT_EQ(std::memcmp(&state, &expected, sizeof state), 0);
}

INSTANTIATE_TEST_SUITE_P(References, Tsa5511Init,
                         ::testing::Values(InitCase{"ZeroKeeps4MHz", 0, 4'000'000, 62'500},
                                           InitCase{"Given6M4", 6'400'000, 6'400'000, 100'000},
                                           InitCase{"TruncatedStep", 4'000'063, 4'000'063, 62'500},
                                           InitCase{"NegativeTruncatesTowardZero", -127, -127, -1},
                                           InitCase{"BelowOneStep", 63, 63, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

// A step of 0 would divide by zero: calc refuses, keeps the record and
// returns 0, a divider no chip accepts.
struct ZeroStepCase {
    const char *name;
    int32_t fref;

    friend void PrintTo(const ZeroStepCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa5511ZeroStep : public SynthTest, public ::testing::WithParamInterface<ZeroStepCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
};

TEST_P(Tsa5511ZeroStep, CalcIsRefusedAndTheRecordKept) {
    tsa5511_state state{0x06, 0x40, kControl, kPort, GetParam().fref, 0};
    const tsa5511_state before = state;
    EXPECT_EQ(tsa5511_calc(&state, 100'000'000, 0), 0);
    EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0);
    tsa5511_send(&state, 0);
    EXPECT_EQ(trace(), "S C0 A 06 A 40 A 8E A 01 A P");
}

INSTANTIATE_TEST_SUITE_P(References, Tsa5511ZeroStep,
                         ::testing::Values(ZeroStepCase{"NeverInitialised", 0}, ZeroStepCase{"One", 1},
                                           ZeroStepCase{"Largest", 63}, ZeroStepCase{"Smallest", -63}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Tsa5511Test, LibraryRecordBeforeInitRefusesAndSendsZeros) {
    chip_at(0xC0);
    EXPECT_EQ(pll_tsa5511_calc(100'000'000, 0), 0);
    EXPECT_EQ(pll_tsa5511_send(0), 1);
    EXPECT_EQ(trace(), "S C0 A 00 A 00 A 00 A 00 A P");
}

// A reference of -64..-127 makes the step -1; INT32_MIN / -1 does not fit and
// wraps to INT32_MIN.
struct ExtremeCase {
    const char *name;
    int32_t fref;
    int32_t freq;
    int32_t step_mode;
    int32_t divider;
    const char *divider_bytes;

    friend void PrintTo(const ExtremeCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa5511Extreme : public SynthTest, public ::testing::WithParamInterface<ExtremeCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
};

TEST_P(Tsa5511Extreme, DividerStaysDefined) {
    const ExtremeCase &c = GetParam();
    pll_tsa5511_init(kControl, c.fref, kPort);
    EXPECT_EQ(pll_tsa5511_calc(c.freq, c.step_mode), c.divider);
    pll_tsa5511_send(0);
    EXPECT_EQ(trace(), std::string("S C0 A ") + c.divider_bytes + " 8E A 01 A P");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, Tsa5511Extreme,
    ::testing::Values(ExtremeCase{"MinOverMinusOne", -64, INT32_MIN, 0, INT32_MIN, "00 A 00 A"},
                      ExtremeCase{"MaxOverMinusOne", -127, INT32_MAX, 0, -INT32_MAX, "00 A 01 A"},
                      ExtremeCase{"EvenStepDownToMin", -127, INT32_MAX, 1, INT32_MIN, "00 A 00 A"},
                      ExtremeCase{"NegativeFrequency", 0, -100'062'500, 1, -1602, "79 A BE A"},
                      ExtremeCase{"SmallestFrequency", 0, INT32_MIN, 0, -34'359, "79 A C9 A"}),
    [](const auto &info) { return std::string(info.param.name); });

struct SendCase {
    const char *name;
    int32_t address_offset;
    int nack_from_byte;  // -1: the chip acknowledges everything
    int32_t result;
    const char *trace;

    friend void PrintTo(const SendCase &c, std::ostream *os) { *os << c.name; }
};

class Tsa5511Send : public SynthTest, public ::testing::WithParamInterface<SendCase> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
};

// Every byte and the STOP go out whatever the chip answers.
TEST_P(Tsa5511Send, ReportsTheLastAcknowledge) {
    const SendCase &c = GetParam();
    chip.nack_from_byte(c.nack_from_byte);
    pll_tsa5511_init(kControl, 0, kPort);
    pll_tsa5511_calc(100'000'000, 0);
    EXPECT_EQ(pll_tsa5511_send(c.address_offset), c.result);
    EXPECT_EQ(trace(), c.trace);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Tsa5511Send,
    ::testing::Values(SendCase{"Absent", 2, -1, 0, "S C2 N 06 N 40 N 8E N 01 N P"},
                      SendCase{"OffsetWrapsToEightBits", INT32_MAX, -1, 0, "S BF N 06 N 40 N 8E N 01 N P"},
                      SendCase{"RefusesEverything", 0, 0, 0, "S C0 A 06 N 40 N 8E N 01 N P"},
                      SendCase{"RefusesThePortByte", 0, 3, 0, "S C0 A 06 A 40 A 8E A 01 N P"}),
    [](const auto &info) { return std::string(info.param.name); });

// The library's record and a caller's are separate.
TEST_F(Tsa5511Test, WorkersLeaveTheLibraryRecordAlone) {
    chip_at(0xC0);
    pll_tsa5511_init(kControl, 0, kPort);
    pll_tsa5511_calc(100'000'000, 0);
    tsa5511_state own{};
    tsa5511_init(&own, 0x11, 0, 0x22);
    tsa5511_calc(&own, 200'000'000, 0);
    pll_tsa5511_send(0);
    tsa5511_send(&own, 0);
    EXPECT_EQ(trace(), "S C0 A 06 A 40 A 8E A 01 A P S C0 A 0C A 80 A 11 A 22 A P");
}

}  // namespace
