// A claimed standard board for the synthesizer tests, and table rows that
// name themselves in test names and failure messages.
#ifndef WIRELINK_TESTS_PLL_SYNTH_TEST_H
#define WIRELINK_TESTS_PLL_SYNTH_TEST_H

#include <concepts>
#include <string>

#include "recording_slave.h"
#include "wire_test.h"

class SynthTest : public StandardBoardTest {
protected:
    void SetUp() override { claim(); }

    wlsim::RecordingSlave &chip_at(uint8_t address_byte) {
        return bench.add<wlsim::RecordingSlave>(wlsim::kCom1, address_byte);
    }
};

namespace synth {

// The base of every table row: its name, which also names it in failure messages.
struct Named {
    const char *name;
    template <std::derived_from<Named> Row>
    friend void PrintTo(const Row &row, std::ostream *os) {
        *os << row.name;
    }
};

template <typename Row>
class Table : public SynthTest, public ::testing::WithParamInterface<Row> {};

inline constexpr auto row_name = [](const auto &info) { return std::string(info.param.name); };

}  // namespace synth

#endif
