// Every worker refuses a null record: result 0 and not one port access.
#include <functional>

#include "synth_test.h"

namespace {

struct NullCase {
    const char *name;
    std::function<int32_t()> call;

    friend void PrintTo(const NullCase &c, std::ostream *os) { *os << c.name; }
};

class NullRecord : public SynthTest, public ::testing::WithParamInterface<NullCase> {};

TEST_P(NullRecord, IsRefusedWithoutBusTraffic) {
    EXPECT_EQ(GetParam().call(), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Workers, NullRecord,
    ::testing::Values(NullCase{"tsa5511_init", [] { return tsa5511_init(nullptr, 1, 0, 2); }},
                      NullCase{"tsa5511_calc", [] { return tsa5511_calc(nullptr, 100'000'000, 0); }},
                      NullCase{"tsa5511_send", [] { return tsa5511_send(nullptr, 0); }},
                      NullCase{"tsa5523_init", [] { return tsa5523_init(nullptr, 1); }},
                      NullCase{"tsa5523_calc", [] { return tsa5523_calc(nullptr, 100'000'000, 0); }},
                      NullCase{"tsa5523_send", [] { return tsa5523_send(nullptr, 0); }},
                      NullCase{"tbb200_init", [] { return tbb200_init(nullptr, 0, 12'800'000, 64); }},
                      NullCase{"tbb200_calc", [] { return tbb200_calc(nullptr, 25'000, 145'000'000); }},
                      NullCase{"tbb200_send_status", [] { return tbb200_send_status(nullptr, 0xF8); }},
                      NullCase{"tbb200_send_r_cnt", [] { return tbb200_send_r_cnt(nullptr); }},
                      NullCase{"tbb200_send_n_cnt", [] { return tbb200_send_n_cnt(nullptr); }},
                      NullCase{"tsa6057_init", [] { return tsa6057_init(nullptr, 1, 64); }},
                      NullCase{"tsa6057_calc", [] { return tsa6057_calc(nullptr, 100'000'000, 64); }},
                      NullCase{"tsa6057_send", [] { return tsa6057_send(nullptr, 0); }},
                      NullCase{"sda3302_init", [] { return sda3302_init(nullptr, 1); }},
                      NullCase{"sda3302_calc", [] { return sda3302_calc(nullptr, 100'000'000, 0); }},
                      NullCase{"sda3302_send", [] { return sda3302_send(nullptr, 0); }}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
