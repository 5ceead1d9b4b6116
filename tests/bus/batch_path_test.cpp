// Runs of line steps (a port driver with the extension): every chip
// operation makes the very line changes of the register path and gives the
// same values, in a few exchanges; stretching, a stuck clock and a port
// without runs on the same driver.
#include "wire_test.h"

#include <functional>
#include <vector>

#include "chip_operations.h"
#include "default_board.h"
#include "pcf8591.h"
#include "recording_slave.h"

namespace {

using wlsim::kCom1;

constexpr uint32_t kRunLimit = 4096;

// What one operation did at the wire and gave back.
struct Seen {
    std::vector<int32_t> results;
    std::vector<uint8_t> line_states;
    std::string trace;
    uint64_t runs;

    bool operator==(const Seen &other) const {
        return results == other.results && line_states == other.line_states && trace == other.trace;
    }
};

using chip_operations::Operation;

// The receiver board, a synthesizer at 0xC0 and a chip that stretches
// every clock low period when asked.
Seen run_on_board(const Operation &operation, uint32_t run_limit, int stretch = 0) {
    wlsim::DefaultBoard board = wlsim::make_default_board();
    wlsim::Bench &bench = *board.bench;
    wlsim::RecordingSlave &synthesizer = bench.add<wlsim::RecordingSlave>(kCom1, 0xC0);
    synthesizer.stretch_clock(stretch);
    synthesizer.set_status(0x5C);
    bench.offer_runs(run_limit);
    wlsim::attach(&bench);
    lcd_BACKLIGHT = 1;  // what the display calls of the run before left
    lcd_ADRESS = 0;
    Seen seen;
    if (init_iic(1) == 0x3F8) {
        bench.reset_counts();
        bench.bus().monitor().clear();
        bench.log_accesses(true);
        seen.results = operation.run();
        seen.line_states = bench.line_states();
        seen.trace = bench.bus().monitor().text();
        seen.runs = bench.runs();
    }
    EXPECT_THAT(bench.violations(), ::testing::IsEmpty());
    // A transaction cut short by a held clock leaves its slave mid-byte.
    if (stretch == 0) {
        EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
    }
    wlsim::attach(nullptr);
    return seen;
}

class BothPaths : public ::testing::TestWithParam<Operation> {};

TEST_P(BothPaths, SameLineStatesAndValuesInFewerExchanges) {
    const Seen registers = run_on_board(GetParam(), 0);
    const Seen runs = run_on_board(GetParam(), kRunLimit);
    ASSERT_FALSE(registers.line_states.empty());
    EXPECT_EQ(registers.runs, 0u);
    EXPECT_GT(runs.runs, 0u);
    EXPECT_EQ(runs.results, registers.results);
    EXPECT_EQ(runs.trace, registers.trace);
    EXPECT_EQ(runs.line_states, registers.line_states);
}

INSTANTIATE_TEST_SUITE_P(ChipOperations, BothPaths, ::testing::ValuesIn(chip_operations::all()),
                         chip_operations::name_of);

class RunsTest : public StandardBoardTest {
protected:
    void SetUp() override {
        bench.offer_runs(kRunLimit);
        claim();
    }
    wlsim::Pcf8574 &expander = bench.add_pcf8574(1);
};

// The goal of the fast path: a START with the address, the data byte, the STOP.
TEST_F(RunsTest, ExpanderWriteIsThreeExchanges) {
    EXPECT_EQ(iic_tx_pcf8574(0x5A, 1), 1);
    EXPECT_EQ(bench.runs(), 3u);
    EXPECT_EQ(bench.accesses(), 0u);
    EXPECT_EQ(trace(), "S 72 A 5A A P");
}

// Between acknowledges nothing waits for the wire: a STOP goes out with
// the next START, read bytes with their STOP, a probe's address with its STOP.
TEST_F(RunsTest, ExchangesOnlyWhereAnAcknowledgeDecidesWhatFollows) {
    bench.add<wlsim::Pcf8591>(kCom1, 0);
    const wirelink_msg probe{0x39, 0, 0, nullptr};
    const struct {
        const char *operation;
        std::function<void()> run;
        uint64_t exchanges;
    } rows[] = {
        {"converter read", [] { ad_pcf8591_readchan(1, 0); }, 4},
        {"expander read", [] { iic_rx_pcf8574(1); }, 2},
        {"probe", [&] { wirelink_transfer(&probe, 1); }, 1},
    };
    for (const auto &row : rows) {
        bench.reset_counts();
        row.run();
        EXPECT_EQ(bench.runs(), row.exchanges) << row.operation;
    }
}

// A stuck clock fails the call at once, reads no data, and the bus is cleared
// once the clock is free again.
TEST_F(RunsTest, StuckClockFailsPromptly) {
    bench.bus().stick_scl_low(true);
    EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0);
    int32_t value = 7;
    EXPECT_EQ(_iic_rx_pcf8574(&value, 1), 0);
    EXPECT_EQ(value, 0);
    EXPECT_LT(bench.runs() + bench.accesses(), 25'000u + 200u);  // one full wait, in the bus clear
    bench.bus().stick_scl_low(false);
    EXPECT_EQ(iic_tx_pcf8574(0x34, 1), 1);
    EXPECT_EQ(expander.latch(), 0x34);
}

// A chip that stretches every clock: the first transaction that meets it
// fails (its bytes never reached the wire whole), the later ones are served
// clock by clock and give what the register path gives.
TEST(StretchingOnRuns, OneTransactionFailsThenEveryClockIsWaitedFor) {
    const Operation stretched{"stretched", [] {
                                  pll_tsa5511_init(0x8E, 0, 0x01);
                                  pll_tsa5511_calc(100'000'000, 0);
                                  std::vector<int32_t> results;
                                  for (int i = 0; i < 3; ++i) {
                                      results.push_back(pll_tsa5511_send(0));
                                      results.push_back(pll_tsa5511_read(0));
                                  }
                                  return results;
                              }};
    const Seen registers = run_on_board(stretched, 0, 20);
    const Seen runs = run_on_board(stretched, kRunLimit, 20);
    ASSERT_EQ(registers.results.size(), 6u);
    ASSERT_EQ(runs.results.size(), 6u);
    EXPECT_EQ(registers.results[0], 1);
    EXPECT_EQ(runs.results[0], 0);  // the write that met the stretch
    EXPECT_EQ(std::vector<int32_t>(runs.results.begin() + 1, runs.results.end()),
              std::vector<int32_t>(registers.results.begin() + 1, registers.results.end()));
}

// Runs longer than the port takes are split; the wire does not see it.
TEST_F(RunsTest, RunsAreSplitAtTheLimit) {
    bench.offer_runs(5);
    EXPECT_EQ(iic_tx_pcf8574(0x5A, 1), 1);
    EXPECT_EQ(trace(), "S 72 A 5A A P");
    EXPECT_GT(bench.runs(), 3u);
}

}  // namespace
