// libwirelink on an FTDI cable: every chip operation makes the same line
// changes and gives the same values through runs of steps as through the
// registers, in the USB exchanges of the goals; a stretching slave, a stuck
// clock and a cable pulled out mid-transaction.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "chip_operations.h"
#include "ftdi_rig.h"
#include "wirelink.h"

namespace {

using chip_operations::Operation;

struct Seen {
    std::vector<int32_t> results;
    std::vector<uint8_t> line_states;
    std::string trace;
    int exchanges = 0;
};

Seen run_on_cable(const Operation &operation, bool runs, int stretch = 0) {
    new_ftdi_rig();
    FtdiRig &rig = ftdi_rig();
    rig.offer_runs = runs;
    rig.board.synthesizer.stretch_clock(stretch);
    lcd_BACKLIGHT = 1;  // what the display calls of the run before left
    lcd_ADRESS = 0;
    Seen seen;
    EXPECT_EQ(init_iic(1), 0x3F8);
    rig.board.bus.monitor().clear();
    rig.cable.line_states.clear();
    const int before = rig.cable.writes;
    seen.results = operation.run();
    seen.exchanges = rig.cable.writes - before;
    seen.line_states = rig.cable.line_states;
    seen.trace = rig.board.bus.monitor().text();
    EXPECT_LE(rig.cable.most_outstanding, rig.cable.fifo);
    EXPECT_EQ(rig.cable.latency_waits, 0);
    if (stretch == 0) {
        EXPECT_THAT(rig.board.bus.monitor().violations(), ::testing::IsEmpty());
    }
    EXPECT_THAT(rig.system.messages, ::testing::IsEmpty());
    return seen;
}

class FtdiBothPaths : public ::testing::TestWithParam<Operation> {};

TEST_P(FtdiBothPaths, SameLineStatesAndValuesInFewerExchanges) {
    const Seen registers = run_on_cable(GetParam(), false);
    const Seen runs = run_on_cable(GetParam(), true);
    ASSERT_FALSE(registers.line_states.empty());
    EXPECT_EQ(runs.results, registers.results);
    EXPECT_EQ(runs.trace, registers.trace);
    EXPECT_EQ(runs.line_states, registers.line_states);
    EXPECT_LT(runs.exchanges, registers.exchanges);
}

INSTANTIATE_TEST_SUITE_P(ChipOperations, FtdiBothPaths, ::testing::ValuesIn(chip_operations::all()),
                         chip_operations::name_of);

// USB exchanges per operation.  Each primitive whose result the caller
// uses (an acknowledge, a byte read) ends a run; a START goes out with the
// address after it.  A PCF8574 write is three; a single-channel converter
// read seven (two transactions); a display character forty-two (six
// expander writes and a busy-flag read per character).
TEST(FtdiFastPath, ExchangesPerOperation) {
    const struct {
        Operation operation;
        int most_exchanges;
    } goals[] = {
        {{"expander_write", [] { return std::vector<int32_t>{iic_tx_pcf8574(0x5A, 1)}; }}, 3},
        {{"four_converter_reads",
          [] {
              std::vector<int32_t> values;
              for (int32_t channel = 0; channel < 4; ++channel)
                  values.push_back(ad_pcf8591_readchan(channel, 0));
              return values;
          }},
         28},
        {{"display_line", [] { return std::vector<int32_t>{lcd_write_str("Hello, bench 123")}; }}, 672},
    };
    for (const auto &goal : goals) {
        const Seen seen = run_on_cable(goal.operation, true);
        EXPECT_LE(seen.exchanges, goal.most_exchanges) << goal.operation.name;
    }
}

// The first transaction that meets the stretching fails; the later ones are
// served clock by clock and give what the register path gives.
TEST(FtdiFastPath, StretchingFailsOneTransactionThenIsServed) {
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
    const Seen registers = run_on_cable(stretched, false, 300);
    const Seen runs = run_on_cable(stretched, true, 300);
    ASSERT_EQ(runs.results.size(), 6u);
    EXPECT_EQ(registers.results[0], 1);
    EXPECT_EQ(runs.results[0], 0);
    EXPECT_EQ(std::vector<int32_t>(runs.results.begin() + 1, runs.results.end()),
              std::vector<int32_t>(registers.results.begin() + 1, registers.results.end()));
}

TEST(FtdiFastPath, StuckClockFailsAndTheBusRecovers) {
    new_ftdi_rig();
    FtdiRig &rig = ftdi_rig();
    ASSERT_EQ(init_iic(1), 0x3F8);
    rig.board.bus.stick_scl_low(true);
    EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0);
    rig.board.bus.stick_scl_low(false);
    EXPECT_EQ(iic_tx_pcf8574(0x34, 1), 1);
    EXPECT_EQ(rig.board.one.latch(), 0x34);
}

// Pulled out mid-transaction: the call fails, so does the next one at once,
// the loss is said once, and the cable is used again when it is back.
TEST(FtdiFastPath, UnpluggedMidTransactionFailsAtOnceAndComesBack) {
    new_ftdi_rig();
    FtdiRig &rig = ftdi_rig();
    ASSERT_EQ(init_iic(1), 0x3F8);
    rig.cable.unplug_after_writes = rig.cable.writes + 1;
    EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0);
    int32_t value = 7;
    EXPECT_EQ(_iic_rx_pcf8574(&value, 1), 0);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(rig.board.one.latch(), 0xFF);
    ASSERT_EQ(rig.system.messages.size(), 1u);
    EXPECT_THAT(rig.system.messages[0], ::testing::HasSubstr("the device went away"));
    rig.cable.plugged = true;
    rig.cable.unplug_after_writes = -1;
    rig.system.sleep_until(rig.system.clock + std::chrono::seconds(1));
    EXPECT_EQ(init_iic(1), 0x3F8);
    EXPECT_EQ(iic_tx_pcf8574(0x34, 1), 1);
    EXPECT_EQ(rig.board.one.latch(), 0x34);
}

}  // namespace
