// Reading the converter: control bytes, the stale first byte of every read,
// the chip that does not answer, and channels outside 0..3.
#include <cstring>

#include "converter_fixture.h"
#include "recording_slave.h"

namespace {

using wlsim::kCom1;

class ConverterRead : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        for (int input = 0; input < 4; ++input) converter.set_input_code(input, 0x11 * (input + 1));
    }
};

TEST_F(ConverterRead, SingleChannelReadDiscardsThePreviousConversion) {
    EXPECT_EQ(ad_pcf8591_readchan(2, 0), 0x33);
    EXPECT_EQ(trace(), "S 90 A 46 A P S 91 A 80 A 33 N P");
    // Auto-increment moved the chip on to channel 3, whose result now leads
    // the next read and must not be taken for channel 0.
    forget_history();
    EXPECT_EQ(ad_pcf8591_readchan(0, 0), 0x11);
    EXPECT_EQ(trace(), "S 90 A 44 A P S 91 A 44 A 11 N P");
}

TEST_F(ConverterRead, ReadingFollowsTheInputNotThePreviousRead) {
    for (uint8_t code : {10, 20, 255, 0}) {
        converter.set_input_code(1, code);
        EXPECT_EQ(ad_pcf8591_readchan(1, 0), code);
    }
}

TEST_F(ConverterRead, FourChannelReadAtAddressOneInTwoDifferentialMode) {
    auto &second = bench.add<wlsim::Pcf8591>(kCom1, 1);
    second.set_input_code(0, 0x50);
    second.set_input_code(1, 0x20);
    second.set_input_code(2, 0x10);
    second.set_input_code(3, 0x30);
    pcf8591_state record{};
    pcf8591_init(&record, 0x30, volts(2550));
    EXPECT_EQ(pcf8591_read4chan(&record, 1), 1);
    // Two channels, AIN0-AIN1 and AIN2-AIN3 in two's complement, alternate.
    EXPECT_EQ(trace(), "S 92 A 74 A P S 93 A 80 A 30 A E0 A 30 A E0 N P");
    EXPECT_THAT(record.reading, ::testing::ElementsAre(0x30, 0xE0, 0x30, 0xE0));
}

struct AbsentCase {
    const char *name;
    bool read_before;  // a good read of the channel before the chip went away
    int32_t expected;

    friend void PrintTo(const AbsentCase &c, std::ostream *os) { *os << c.name; }
};

class AbsentConverter : public ConverterRead, public ::testing::WithParamInterface<AbsentCase> {};

// The second STOP meets an idle bus: lowering SDA with SCL high is itself a
// START, so the wire shows an empty START-STOP pair.
TEST_P(AbsentConverter, ReadReturnsThePreviousReadingAfterTwoStops) {
    if (GetParam().read_before) ad_pcf8591_readchan(1, 0);
    converter.set_present(false);
    forget_history();
    EXPECT_EQ(ad_pcf8591_readchan(1, 0), GetParam().expected);
    EXPECT_EQ(trace(), "S 90 N P S P");
    pcf8591_state record{};
    record.reading[2] = 7;
    EXPECT_EQ(pcf8591_read4chan(&record, 0), 0);
    EXPECT_THAT(record.reading, ::testing::ElementsAre(0, 0, 7, 0));
}

INSTANTIATE_TEST_SUITE_P(Readings, AbsentConverter,
                         ::testing::Values(AbsentCase{"NeverRead", false, 0}, AbsentCase{"ReadBefore", true, 0x22}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConverterRead, UnacknowledgedControlByteEndsTheRead) {
    auto &refuser = bench.add<wlsim::RecordingSlave>(kCom1, 0x96);
    refuser.nack_from_byte(0);
    pcf8591_state record{};
    EXPECT_EQ(pcf8591_readchan(&record, 3, 3), 0);
    EXPECT_EQ(trace(), "S 96 A 47 N P S P");
}

struct AoutCase {
    uint8_t reading;
    int32_t millivolts;

    friend void PrintTo(const AoutCase &c, std::ostream *os) { *os << int{c.reading}; }
};

class Aout : public ConverterRead, public ::testing::WithParamInterface<AoutCase> {};

// The reference is held as the single-precision 2.5499999523 V, so 128
// gives 1274 mV, not 1275.
TEST_P(Aout, StoredReadingInMillivoltsWithoutBusTraffic) {
    converter.set_input_code(3, GetParam().reading);
    ad_pcf8591_readchan(3, 0);
    forget_history();
    EXPECT_EQ(ad_pcf8591_aout(3), GetParam().millivolts);
    EXPECT_EQ(bench.accesses(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Reference2550, Aout,
                         ::testing::Values(AoutCase{0, 0}, AoutCase{1, 9}, AoutCase{100, 996}, AoutCase{128, 1274},
                                           AoutCase{255, 2540}));

TEST_F(ConverterRead, InitClearsTheRecordAndNeverTouchesTheBus) {
    ad_pcf8591_readchan(1, 0);
    pcf8591_state record{0x7F, 9.0f, 300, {1, 2, 3, 4}};
    forget_history();
    EXPECT_EQ(pcf8591_init(&record, 0x20, 2.5f), 0);
    EXPECT_EQ(ad_pcf8591_init(0, 2550), 0);
    EXPECT_EQ(record.mode, 0x20);
    EXPECT_EQ(record.vref, 2.5f);
    EXPECT_EQ(record.dac, 0);
    EXPECT_THAT(record.reading, ::testing::Each(0));
    EXPECT_EQ(ad_pcf8591_aout(1), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

class OutOfRangeChannel : public ConverterRead, public ::testing::WithParamInterface<int32_t> {};

TEST_P(OutOfRangeChannel, IsRefusedWithoutTouchingBusOrRecord) {
    const int32_t channel = GetParam();
    pcf8591_state record{};
    pcf8591_init(&record, 0, volts(2550));
    const pcf8591_state before = record;
    EXPECT_EQ(pcf8591_readchan(&record, channel, 0), 0);
    EXPECT_EQ(pcf8591_aout(&record, channel), 0.0f);
    EXPECT_EQ(ad_pcf8591_readchan(channel, 0), 0);
    EXPECT_EQ(ad_pcf8591_aout(channel), 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Channels, OutOfRangeChannel, ::testing::Values(-1, 4, INT32_MIN, INT32_MAX));

TEST_F(ConverterRead, NullRecordIsRefusedWithoutBusTraffic) {
    EXPECT_EQ(pcf8591_init(nullptr, 0, 2.55f), 0);
    EXPECT_EQ(pcf8591_readchan(nullptr, 0, 0), 0);
    EXPECT_EQ(pcf8591_read4chan(nullptr, 0), 0);
    EXPECT_EQ(pcf8591_setda(nullptr, 1.0f, 0), 0);
    EXPECT_EQ(pcf8591_aout(nullptr, 0), 0.0f);
    EXPECT_EQ(bench.accesses(), 0u);
}

}  // namespace
