// The TSA5511 and TSA5523 status read, through all four of its exports.
#include <climits>

#include "synth_test.h"

namespace {

using ReadFunction = int32_t WIRELINK_CALL (*)(int32_t);

struct ReadCase {
    const char *name;
    int32_t address_offset;
    uint8_t status;
    int32_t result;
    const char *trace;

    friend void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }
};

struct Reader {
    const char *name;
    ReadFunction read;
};

class StatusRead : public SynthTest, public ::testing::WithParamInterface<std::tuple<ReadCase, Reader>> {
protected:
    wlsim::RecordingSlave &chip = chip_at(0xC0);
};

TEST_P(StatusRead, ReturnsTheStatusByteOrZero) {
    const auto &[c, reader] = GetParam();
    chip.set_status(c.status);
    EXPECT_EQ(reader.read(c.address_offset), c.result);
    EXPECT_EQ(trace(), c.trace);
    EXPECT_THAT(chip.transactions(), ::testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Chips, StatusRead,
    ::testing::Combine(::testing::Values(ReadCase{"InLock", 0, 0x48, 0x48, "S C1 A 48 N P"},
                                         ReadCase{"AllOnes", 0, 0xFF, 0xFF, "S C1 A FF N P"},
                                         ReadCase{"ZeroStatus", 0, 0x00, 0, "S C1 A 00 N P"},
                                         ReadCase{"Absent", 2, 0x48, 0, "S C3 N P"},
                                         ReadCase{"HighOffsetBitsDropped", INT32_MIN, 0x48, 0x48, "S C1 A 48 N P"}),
                       ::testing::Values(Reader{"pll_tsa5511_read", pll_tsa5511_read},
                                         Reader{"tsa5511_read", tsa5511_read},
                                         Reader{"pll_tsa5523_read", pll_tsa5523_read},
                                         Reader{"tsa5523_read", tsa5523_read})),
    [](const auto &info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
