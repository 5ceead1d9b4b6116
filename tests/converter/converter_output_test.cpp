// Setting the analog output: codes and their wrap-around on the wire, the
// code kept whole in the record, and the calls that must be refused.
#include <cstdio>
#include <limits>

#include "converter_fixture.h"
#include "recording_slave.h"

namespace {

using wlsim::kCom1;

struct CodeCase {
    int32_t millivolts;
    int32_t code;  // kept whole in the record
    uint8_t wire;  // what the chip receives

    friend void PrintTo(const CodeCase &c, std::ostream *os) { *os << c.millivolts << " mV"; }
};

class SetCode : public ConverterTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(SetCode, CodeIsStoredWholeAndSentAsItsLowByte) {
    const CodeCase &c = GetParam();
    char expected[32];
    std::snprintf(expected, sizeof expected, "S 90 A 40 A %02X A P", c.wire);

    EXPECT_EQ(ad_pcf8591_setda(c.millivolts, 0), 1);
    EXPECT_EQ(trace(), expected);
    EXPECT_EQ(converter.dac(), c.wire);

    pcf8591_state record{};
    pcf8591_init(&record, 0, volts(2550));
    forget_history();
    EXPECT_EQ(pcf8591_setda(&record, volts(c.millivolts), 0), 1);
    EXPECT_EQ(record.dac, c.code);
    EXPECT_EQ(trace(), expected);
}

INSTANTIATE_TEST_SUITE_P(Reference2550, SetCode,
                         ::testing::Values(CodeCase{2500, 250, 0xFA}, CodeCase{1275, 128, 0x80},
                                           CodeCase{2549, 255, 0xFF}, CodeCase{10, 1, 0x01},
                                           CodeCase{1, 0, 0x00}, CodeCase{2550, 256, 0x00},
                                           CodeCase{2560, 257, 0x01}, CodeCase{-10, -1, 0xFF}),
                         [](const auto &info) {
                             const int32_t mv = info.param.millivolts;
                             return (mv < 0 ? "minus" : "") + std::to_string(mv < 0 ? -mv : mv);
                         });

TEST_F(ConverterTest, SetIgnoresTheStoredInputProgramming) {
    ad_pcf8591_init(0x10, 2550);
    EXPECT_EQ(ad_pcf8591_setda(1275, 0), 1);
    EXPECT_EQ(trace(), "S 90 A 40 A 80 A P");
    EXPECT_THAT(converter.controls(), ::testing::ElementsAre(0x40));
}

TEST_F(ConverterTest, OutputLoopedBackIsReadAgain) {
    converter.loop_back_output(0);
    ad_pcf8591_setda(1275, 0);
    EXPECT_EQ(ad_pcf8591_readchan(0, 0), 128);
}

struct FailureCase {
    int nack_from;  // first data byte withheld; -1 for the address
    const char *trace;

    friend void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.nack_from; }
};

class SetFailure : public ConverterTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SetFailure, UnacknowledgedByteEndsTheTransferButTheCodeIsKept) {
    auto &chip = bench.add<wlsim::RecordingSlave>(kCom1, 0x96);
    if (GetParam().nack_from < 0)
        chip.nack_address(true);
    else
        chip.nack_from_byte(GetParam().nack_from);
    pcf8591_state record{};
    pcf8591_init(&record, 0, volts(2550));
    EXPECT_EQ(pcf8591_setda(&record, volts(2500), 3), 0);
    EXPECT_EQ(record.dac, 250);
    EXPECT_EQ(trace(), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(Bytes, SetFailure,
                         ::testing::Values(FailureCase{-1, "S 96 N P"}, FailureCase{0, "S 96 A 40 N P"},
                                           FailureCase{1, "S 96 A 40 A FA N P"}));

// Codes beyond 32 bits saturate, keeping their sign on the wire as full
// scale (0xFF) or zero (0x00).
struct ExtremeCase {
    const char *name;
    float vref;
    float volts;
    int32_t code;
    const char *trace;

    friend void PrintTo(const ExtremeCase &c, std::ostream *os) { *os << c.name; }
};

class SetExtreme : public ConverterTest, public ::testing::WithParamInterface<ExtremeCase> {};

TEST_P(SetExtreme, SaturatesOrRefuses) {
    const ExtremeCase &c = GetParam();
    pcf8591_state record{};
    pcf8591_init(&record, 0, c.vref);
    record.dac = 77;
    EXPECT_EQ(pcf8591_setda(&record, c.volts, 0), c.trace[0] != '\0' ? 1 : 0);
    EXPECT_EQ(record.dac, c.code);
    EXPECT_EQ(trace(), c.trace);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Values, SetExtreme,
    ::testing::Values(ExtremeCase{"Huge", 2.55f, 1e30f, INT32_MAX, "S 90 A 40 A FF A P"},
                      ExtremeCase{"HugeNegative", 2.55f, -1e30f, INT32_MIN, "S 90 A 40 A 00 A P"},
                      ExtremeCase{"TinyReference", 1e-38f, 1.0f, INT32_MAX, "S 90 A 40 A FF A P"},
                      ExtremeCase{"ZeroReference", 0.0f, 1.0f, 77, ""},
                      ExtremeCase{"NotANumber", 2.55f, kNaN, 77, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConverterTest, HugeMillivoltsSaturateThroughThePublicEntry) {
    ad_pcf8591_init(0, 1);
    EXPECT_EQ(ad_pcf8591_setda(INT32_MAX, 0), 1);
    EXPECT_EQ(ad_pcf8591_setda(INT32_MIN, 0), 1);
    EXPECT_THAT(converter.dac_writes(), ::testing::ElementsAre(0xFF, 0x00));
}

class BeforeInit : public StandardBoardTest {
protected:
    void SetUp() override { claim(); }
};

TEST_F(BeforeInit, SetWithoutAReferenceIsRefused) {
    EXPECT_EQ(ad_pcf8591_setda(2500, 0), 0);
    EXPECT_EQ(ad_pcf8591_aout(0), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
