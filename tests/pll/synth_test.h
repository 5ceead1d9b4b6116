// A claimed standard board for the synthesizer tests, and the two layers
// every driver is reached through: the pll_ entries on the library's record
// and the workers on a record of the test's own.
#ifndef WIRELINK_TESTS_PLL_SYNTH_TEST_H
#define WIRELINK_TESTS_PLL_SYNTH_TEST_H

#include <string>
#include <tuple>

#include "recording_slave.h"
#include "synth_decode.h"
#include "wire_test.h"

enum class Layer { library, worker };

inline void PrintTo(Layer layer, std::ostream *os) { *os << (layer == Layer::library ? "library" : "worker"); }

inline const auto kBothLayers = ::testing::Values(Layer::library, Layer::worker);

class SynthTest : public StandardBoardTest {
protected:
    void SetUp() override { claim(); }

    wlsim::RecordingSlave &chip_at(uint8_t address_byte) {
        return bench.add<wlsim::RecordingSlave>(wlsim::kCom1, address_byte);
    }
};

// A test over a table of cases, run once per layer.
template <typename Case>
class LayeredSynthTest : public SynthTest, public ::testing::WithParamInterface<std::tuple<Case, Layer>> {
protected:
    const Case &the_case() const { return std::get<0>(this->GetParam()); }
    bool library() const { return std::get<1>(this->GetParam()) == Layer::library; }
};

// Test names "<case name>_library" and "<case name>_worker".
inline constexpr auto case_and_layer = [](const auto &info) {
    const bool library = std::get<1>(info.param) == Layer::library;
    return std::string(std::get<0>(info.param).name) + (library ? "_library" : "_worker");
};

#endif
