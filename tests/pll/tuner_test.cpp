// TSA5511, TSA5523 and SDA3302: the divider, step modes and band byte on the
// wire, the TSA5511's reference and refused zero steps, and what a send reports.
#include <climits>
#include <cstring>

#include "synth_test.h"

namespace {

using synth::row_name;
using Tsa5511 = SynthTest;

struct DividerRow : synth::Named {
    int32_t freq;
    int32_t step_mode;
    int32_t divider;
    const char *bytes;  // div_high, div_low, control, port or band as traced
    int32_t fref = 0;   // TSA5511 init argument
};

class Tsa5511Divider : public synth::Table<DividerRow> {};
class Tsa5523Divider : public synth::Table<DividerRow> {};
class Sda3302Divider : public synth::Table<DividerRow> {};

TEST_P(Tsa5511Divider, ReachesTheChip) {
    const DividerRow &row = GetParam();
    chip_at(0xC0);
    EXPECT_EQ(pll_tsa5511_init(0x8E, row.fref, 0x01), 0x8E);
    EXPECT_EQ(pll_tsa5511_calc(row.freq, row.step_mode), row.divider);
    EXPECT_EQ(bench.accesses(), 0u);  // init and calc stay off the bus
    EXPECT_EQ(pll_tsa5511_send(0), 1);
    EXPECT_EQ(trace(), std::string("S C0 A ") + row.bytes + " A P");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tsa5511Divider,
    ::testing::Values(DividerRow{"Tune100MHz", 100'000'000, 0, 1600, "06 A 40 A 8E A 01"},
                      DividerRow{"OddDivider", 100'062'500, 0, 1601, "06 A 41 A 8E A 01"},
                      DividerRow{"StepModeOneMakesItEven", 100'062'500, 1, 1600, "06 A 40 A 8E A 01"},
                      DividerRow{"OtherStepModesKeepIt", 100'062'500, 2, 1601, "06 A 41 A 8E A 01"},
                      DividerRow{"Reference6M4", 100'000'000, 0, 1000, "03 A E8 A 8E A 01", 6'400'000},
                      DividerRow{"Bit15LeavesBothBytes", 32'768 * 62'500, 0, 32'768, "00 A 00 A 8E A 01"},
                      DividerRow{"LargestFrequency", INT32_MAX, 0, 34'359, "06 A 37 A 8E A 01"},
                      DividerRow{"SmallestFrequency", INT32_MIN, 0, -34'359, "79 A C9 A 8E A 01"},
                      DividerRow{"NegativeMadeEven", -100'062'500, 1, -1602, "79 A BE A 8E A 01"},
                      // A reference of -64..-127 makes the step -1; INT32_MIN / -1
                      // does not fit and wraps to INT32_MIN.
                      DividerRow{"MinOverMinusOne", INT32_MIN, 0, INT32_MIN, "00 A 00 A 8E A 01", -64},
                      DividerRow{"MaxOverMinusOne", INT32_MAX, 0, -INT32_MAX, "00 A 01 A 8E A 01", -127},
                      DividerRow{"EvenStepDownToMin", INT32_MAX, 1, INT32_MIN, "00 A 00 A 8E A 01", -127}),
    row_name);

TEST_P(Tsa5523Divider, ReachesTheChip) {
    const DividerRow &row = GetParam();
    chip_at(0xC0);
    EXPECT_EQ(pll_tsa5523_init(0x8E), 0x8E);
    EXPECT_EQ(pll_tsa5523_calc(row.freq, row.step_mode), row.divider);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(pll_tsa5523_send(0), 1);
    EXPECT_EQ(trace(), std::string("S C0 A ") + row.bytes + " A P");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tsa5523Divider,
    ::testing::Values(DividerRow{"Tune100MHz", 100'000'000, 0, 2746, "0A A BA A 8E A A0"},
                      DividerRow{"Tune500MHz", 500'000'000, 0, 10'746, "29 A FA A 8E A 30"},
                      DividerRow{"OddDivider", 100'050'000, 0, 2747, "0A A BB A 8E A A0"},
                      DividerRow{"StepModeOneMakesItEven", 100'050'000, 1, 2746, "0A A BA A 8E A A0"},
                      DividerRow{"LowBandTop", 169'000'000, 0, 4126, "10 A 1E A 8E A A0"},
                      DividerRow{"MidBandBottom", 169'000'001, 0, 4126, "10 A 1E A 8E A 90"},
                      DividerRow{"MidBandTop", 454'000'000, 0, 9826, "26 A 62 A 8E A 90"},
                      DividerRow{"HighBandBottom", 454'000'001, 0, 9826, "26 A 62 A 8E A 30"},
                      // The offset is added without overflow: the true divider.
                      DividerRow{"LargestFrequency", INT32_MAX, 0, 43'695, "2A A AF A 8E A 30"},
                      DividerRow{"SmallestFrequency", INT32_MIN, 1, -42'204, "5B A 24 A 8E A A0"}),
    row_name);

TEST_P(Sda3302Divider, ReachesTheChip) {
    const DividerRow &row = GetParam();
    chip_at(0xC0);
    EXPECT_EQ(pll_sda3302_init(0xCE), 0xCE);
    EXPECT_EQ(pll_sda3302_calc(row.freq, row.step_mode), row.divider);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(pll_sda3302_send(0), 1);
    EXPECT_EQ(trace(), std::string("S C0 A ") + row.bytes + " A P");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Sda3302Divider,
    ::testing::Values(DividerRow{"Exactly100MHzOscillator", 62'700'000, 0, 1600, "06 A 40 A CE A 01"},
                      DividerRow{"Tune100MHzTruncates", 100'000'000, 0, 2196, "08 A 94 A CE A 01"},
                      DividerRow{"OddDivider", 100'062'500, 0, 2197, "08 A 95 A CE A 01"},
                      DividerRow{"StepModeOneMakesItEven", 100'062'500, 1, 2196, "08 A 94 A CE A 01"},
                      DividerRow{"StepModeOneKeepsEven", 100'125'000, 1, 2198, "08 A 96 A CE A 01"},
                      DividerRow{"StepModeTwoMultipleOfFour", 100'125'000, 2, 2196, "08 A 94 A CE A 01"},
                      DividerRow{"OtherStepModesKeepIt", 100'125'000, 3, 2198, "08 A 96 A CE A 01"},
                      DividerRow{"LowBandTop", 122'000'000, 0, 2548, "09 A F4 A CE A 01"},
                      DividerRow{"MidBandBottom", 122'000'001, 0, 2548, "09 A F4 A CE A 02"},
                      DividerRow{"MidBandTop", 471'000'000, 0, 8132, "1F A C4 A CE A 02"},
                      DividerRow{"HighBandBottom", 471'000'001, 0, 8132, "1F A C4 A CE A 04"},
                      DividerRow{"LargestFrequency", INT32_MAX, 0, 34'956, "08 A 8C A CE A 04"},
                      DividerRow{"SmallestFrequency", INT32_MIN, 2, -33'760, "7C A 20 A CE A 01"}),
    row_name);

// The floating-point steps must never land just below a whole divider.
TEST(Sda3302ExactSteps, EveryWholeStepYieldsItsExactQuotient) {
    sda3302_state state{};
    sda3302_init(&state, 0xCE);
    int failures = 0;
    for (int32_t steps = -33'000; steps <= 34'000 && failures < 10; ++steps) {
        const int32_t freq = steps * 62'500 - 37'300'000;
        const int32_t below = steps > 0 ? steps - 1 : steps;  // 1 Hz short: the step before, toward zero
        if (sda3302_calc(&state, freq, 0) != steps || sda3302_calc(&state, freq - 1, 0) != below) {
            ADD_FAILURE() << "offset frequency " << steps << " x 62.5 kHz";
            ++failures;
        }
    }
}

TEST(Tsa5511Init, StoresTheReferenceAndItsStep) {
    const struct {
        int32_t argument, fref, step;
    } cases[] = {{0, 4'000'000, 62'500}, {6'400'000, 6'400'000, 100'000}, {-127, -127, -1}, {63, 63, 0}};
    for (const auto &c : cases) {
        tsa5511_state state{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(tsa5511_init(&state, 0x1CE, c.argument, -7), 0x1CE);
        const tsa5511_state expected{0, 0, 0x1CE, -7, c.fref, c.step};
        EXPECT_EQ(std::memcmp(&state, &expected, sizeof state), 0) << "reference " << c.argument;
    }
}

// A step of 0 would divide by zero: calc refuses with 0, a divider no chip
// accepts, and keeps the record, as it does on the library's before any init.
TEST_F(Tsa5511, ZeroStepIsRefused) {
    chip_at(0xC0);
    EXPECT_EQ(pll_tsa5511_calc(100'000'000, 0), 0);
    pll_tsa5511_send(0);
    EXPECT_EQ(trace(), "S C0 A 00 A 00 A 00 A 00 A P");
    for (const int32_t fref : {1, 63, -63}) {
        tsa5511_state state{0x06, 0x40, 0x8E, 0x01, fref, 0};
        const tsa5511_state before = state;
        EXPECT_EQ(tsa5511_calc(&state, 100'000'000, 0), 0);
        EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0) << "reference " << fref;
    }
}

// Every byte and the STOP go out whatever the chip answers; the result is the
// last byte's acknowledge.
TEST_F(Tsa5511, SendReportsTheLastAcknowledge) {
    wlsim::RecordingSlave &chip = chip_at(0xC0);
    pll_tsa5511_init(0x8E, 0, 0x01);
    pll_tsa5511_calc(100'000'000, 0);
    const struct {
        int32_t offset;
        int nack_from;
        const char *trace;
    } cases[] = {{INT32_MAX, -1, "S BF N 06 N 40 N 8E N 01 N P"},  // the offset wraps to eight bits
                 {0, 0, "S C0 A 06 N 40 N 8E N 01 N P"},
                 {0, 3, "S C0 A 06 A 40 A 8E A 01 N P"}};
    for (const auto &c : cases) {
        chip.nack_from_byte(c.nack_from);
        forget_history();
        EXPECT_EQ(pll_tsa5511_send(c.offset), 0);
        EXPECT_EQ(trace(), c.trace);
    }
}

}  // namespace
