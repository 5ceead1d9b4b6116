// What every synthesizer driver shares: null records refused, both layers on
// records of their own, sends before any calc and to an absent chip, and the
// TSA5511/TSA5523 status read.
#include <climits>
#include <functional>

#include "synth_test.h"

namespace {

using synth::row_name;

constexpr int32_t kFref = 12'800'000;

struct CallRow : synth::Named {
    uint8_t chip;  // address byte of a write-only chip on the bus, 0 for none
    std::function<int32_t()> call;
    int32_t result;
    const char *trace;  // empty: not one port access
};

class SynthCall : public synth::Table<CallRow> {};

TEST_P(SynthCall, GivesItsResultOnTheWire) {
    const CallRow &row = GetParam();
    if (row.chip)
        bench.add<wlsim::RecordingSlave>(wlsim::kCom1, row.chip, wlsim::RecordingSlave::WriteOnly{});
    EXPECT_EQ(row.call(), row.result);
    EXPECT_EQ(trace(), row.trace);
    if (*row.trace == '\0') {
        EXPECT_EQ(bench.accesses(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    NullRecord, SynthCall,
    ::testing::Values(
        CallRow{"tsa5511_init", 0, [] { return tsa5511_init(nullptr, 1, 0, 2); }, 0, ""},
        CallRow{"tsa5511_calc", 0, [] { return tsa5511_calc(nullptr, 100'000'000, 0); }, 0, ""},
        CallRow{"tsa5511_send", 0, [] { return tsa5511_send(nullptr, 0); }, 0, ""},
        CallRow{"tsa5523_init", 0, [] { return tsa5523_init(nullptr, 1); }, 0, ""},
        CallRow{"tsa5523_calc", 0, [] { return tsa5523_calc(nullptr, 100'000'000, 0); }, 0, ""},
        CallRow{"tsa5523_send", 0, [] { return tsa5523_send(nullptr, 0); }, 0, ""},
        CallRow{"tbb200_init", 0, [] { return tbb200_init(nullptr, 0, kFref, 64); }, 0, ""},
        CallRow{"tbb200_calc", 0, [] { return tbb200_calc(nullptr, 25'000, 145'000'000); }, 0, ""},
        CallRow{"tbb200_send_status", 0, [] { return tbb200_send_status(nullptr, 0xF8); }, 0, ""},
        CallRow{"tbb200_send_r_cnt", 0, [] { return tbb200_send_r_cnt(nullptr); }, 0, ""},
        CallRow{"tbb200_send_n_cnt", 0, [] { return tbb200_send_n_cnt(nullptr); }, 0, ""},
        CallRow{"tsa6057_init", 0, [] { return tsa6057_init(nullptr, 1, 64); }, 0, ""},
        CallRow{"tsa6057_calc", 0, [] { return tsa6057_calc(nullptr, 100'000'000, 64); }, 0, ""},
        CallRow{"tsa6057_send", 0, [] { return tsa6057_send(nullptr, 0); }, 0, ""},
        CallRow{"sda3302_init", 0, [] { return sda3302_init(nullptr, 1); }, 0, ""},
        CallRow{"sda3302_calc", 0, [] { return sda3302_calc(nullptr, 100'000'000, 0); }, 0, ""},
        CallRow{"sda3302_send", 0, [] { return sda3302_send(nullptr, 0); }, 0, ""}),
    row_name);

// The library's record and a caller's (filled with leftovers that init must
// clear) are tuned apart and sent one after the other.
INSTANTIATE_TEST_SUITE_P(
    BothLayers, SynthCall,
    ::testing::Values(CallRow{"tsa5511", 0xC0,
                              [] {
                                  tsa5511_state own{9, 9, 9, 9, 9, 9};
                                  pll_tsa5511_init(0x8E, 0, 0x01);
                                  tsa5511_init(&own, 0x11, 0, 0x22);
                                  pll_tsa5511_calc(100'000'000, 0);
                                  tsa5511_calc(&own, 200'000'000, 0);
                                  return pll_tsa5511_send(0) + tsa5511_send(&own, 0);
                              },
                              2, "S C0 A 06 A 40 A 8E A 01 A P S C0 A 0C A 80 A 11 A 22 A P"},
                      CallRow{"tsa5523", 0xC0,
                              [] {
                                  tsa5523_state own{9, 9, 9, 9};
                                  pll_tsa5523_init(0x8E);
                                  tsa5523_init(&own, 0x11);
                                  pll_tsa5523_calc(100'000'000, 0);
                                  tsa5523_calc(&own, 500'000'000, 0);
                                  return pll_tsa5523_send(0) + tsa5523_send(&own, 0);
                              },
                              2, "S C0 A 0A A BA A 8E A A0 A P S C0 A 29 A FA A 11 A 30 A P"},
                      CallRow{"sda3302", 0xC0,
                              [] {
                                  sda3302_state own{9, 9, 9, 9};
                                  pll_sda3302_init(0xCE);
                                  sda3302_init(&own, 0x11);
                                  pll_sda3302_calc(62'700'000, 0);
                                  sda3302_calc(&own, 100'000'000, 0);
                                  return pll_sda3302_send(0) + sda3302_send(&own, 0);
                              },
                              2, "S C0 A 06 A 40 A CE A 01 A P S C0 A 08 A 94 A 11 A 01 A P"},
                      CallRow{"tsa6057", 0xC4,
                              [] {
                                  tsa6057_state own{9, 9, 9, 9, 9, 9};
                                  pll_tsa6057_init(0, 64);
                                  tsa6057_init(&own, 0, 128);
                                  pll_tsa6057_calc(100'000'000, 64);
                                  tsa6057_calc(&own, 98'100'000, 128);
                                  return pll_tsa6057_send(0) + tsa6057_send(&own, 0);
                              },
                              2, "S C4 A 00 A 21 A 4E A 44 A 00 A P S C4 A 00 A A9 A 1E A 84 A 00 A P"},
                      // R = 1024; T = 11600 = 181 * 64 + 16.
                      CallRow{"tbb200", 0xC5,
                              [] {
                                  tbb200_state own{9, 9, 9, 9, 9, 9, 9, 9, 9};
                                  pll_tbb200_init(1, kFref, 64);
                                  tbb200_init(&own, 1, kFref, 64);
                                  pll_tbb200_calc(25'000, 145'000'000);
                                  tbb200_calc(&own, 12'500, 145'000'000);
                                  return pll_tbb200_send_status(0xF0) + pll_tbb200_send_r_cnt() +
                                         pll_tbb200_send_n_cnt() + tbb200_send_status(&own, 0x0F) +
                                         tbb200_send_r_cnt(&own) + tbb200_send_n_cnt(&own);
                              },
                              6,
                              "S C5 A 09 A F0 A P S C5 A 05 A 02 A 00 A P S C5 A 0D A 02 A 80 A 5A A P "
                              "S C5 A 09 A 0F A P S C5 A 05 A 04 A 00 A P S C5 A 0D A 01 A 00 A B5 A P"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(SendBeforeCalc, SynthCall,
                         ::testing::Values(CallRow{"tsa5523", 0xC0,
                                                   [] {
                                                       pll_tsa5523_init(0x8E);
                                                       return pll_tsa5523_send(0);
                                                   },
                                                   1, "S C0 A 00 A 00 A 8E A 02 A P"},
                                           CallRow{"sda3302", 0xC0,
                                                   [] {
                                                       pll_sda3302_init(0xCE);
                                                       return pll_sda3302_send(0);
                                                   },
                                                   1, "S C0 A 00 A 00 A CE A 02 A P"},
                                           CallRow{"tsa6057", 0xC4,
                                                   [] {
                                                       pll_tsa6057_init(0, 64);
                                                       return pll_tsa6057_send(0);
                                                   },
                                                   1, "S C4 A 00 A 00 A 00 A 44 A 00 A P"},
                                           CallRow{"tbb200SingleModulus", 0xC4,
                                                   [] {
                                                       pll_tbb200_init(0, kFref, 64);
                                                       return pll_tbb200_send_r_cnt() +
                                                              pll_tbb200_send_n_cnt();
                                                   },
                                                   2, "S C4 A 04 A 00 A 00 A P S C4 A 0C A 00 A 00 A P"},
                                           CallRow{
                                               "tbb200Swallow", 0xC5,
                                               [] {
                                                   pll_tbb200_init(1, kFref, 64);
                                                   return pll_tbb200_send_r_cnt() + pll_tbb200_send_n_cnt();
                                               },
                                               2, "S C5 A 05 A 00 A 00 A P S C5 A 0D A 00 A 00 A 00 A P"}),
                         row_name);

// Every byte and the STOP still go out; the offset is added unchanged.
INSTANTIATE_TEST_SUITE_P(AbsentChip, SynthCall,
                         ::testing::Values(CallRow{"tsa5511", 0,
                                                   [] {
                                                       pll_tsa5511_init(0x8E, 0, 0x01);
                                                       pll_tsa5511_calc(100'000'000, 0);
                                                       return pll_tsa5511_send(2);
                                                   },
                                                   0, "S C2 N 06 N 40 N 8E N 01 N P"},
                                           CallRow{"tsa5523", 0,
                                                   [] {
                                                       pll_tsa5523_init(0x8E);
                                                       pll_tsa5523_calc(100'000'000, 0);
                                                       return pll_tsa5523_send(4);
                                                   },
                                                   0, "S C4 N 0A N BA N 8E N A0 N P"},
                                           CallRow{"sda3302", 0,
                                                   [] {
                                                       pll_sda3302_init(0xCE);
                                                       pll_sda3302_calc(62'700'000, 0);
                                                       return pll_sda3302_send(2);
                                                   },
                                                   0, "S C2 N 06 N 40 N CE N 01 N P"},
                                           CallRow{"tsa6057", 0,
                                                   [] {
                                                       pll_tsa6057_init(0, 64);
                                                       pll_tsa6057_calc(100'000'000, 64);
                                                       return pll_tsa6057_send(2);
                                                   },
                                                   0, "S C6 N 00 N 21 N 4E N 44 N 00 N P"},
                                           CallRow{"tbb200", 0,
                                                   [] {
                                                       pll_tbb200_init(0, kFref, 64);
                                                       pll_tbb200_calc(25'000, 145'000'000);
                                                       return pll_tbb200_send_n_cnt();
                                                   },
                                                   0, "S C4 N 0C N 16 N A8 N P"}),
                         row_name);

struct ReadRow : synth::Named {
    int32_t address_offset;
    uint8_t status;
    int32_t result;
    const char *trace;
};

class StatusRead : public synth::Table<ReadRow> {};

TEST_P(StatusRead, ReturnsTheStatusByteOrZeroThroughAllFourExports) {
    const ReadRow &row = GetParam();
    chip_at(0xC0).set_status(row.status);
    for (auto read : {pll_tsa5511_read, tsa5511_read, pll_tsa5523_read, tsa5523_read}) {
        forget_history();
        EXPECT_EQ(read(row.address_offset), row.result);
        EXPECT_EQ(trace(), row.trace);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, StatusRead,
                         ::testing::Values(ReadRow{"InLock", 0, 0x48, 0x48, "S C1 A 48 N P"},
                                           ReadRow{"AllOnes", 0, 0xFF, 0xFF, "S C1 A FF N P"},
                                           ReadRow{"ZeroStatus", 0, 0x00, 0, "S C1 A 00 N P"},
                                           ReadRow{"Absent", 2, 0x48, 0, "S C3 N P"},
                                           ReadRow{"HighOffsetBitsDropped", INT32_MIN, 0x48, 0x48,
                                                   "S C1 A 48 N P"}),
                         row_name);

}  // namespace
