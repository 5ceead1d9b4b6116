// Reading the converter: control bytes, the stale first byte of every read,
// the chip that does not answer, stored readings in millivolts, and what is
// refused.
#include <cstring>

#include "converter_fixture.h"
#include "default_board.h"
#include "recording_slave.h"

namespace {

using ConverterRead = ConverterTest;

TEST_F(ConverterRead, SingleChannelReadDiscardsThePreviousConversion) {
    EXPECT_EQ(ad_pcf8591_readchan(2, 0), 0x33);
    EXPECT_EQ(trace(), "S 90 A 46 A P S 91 A 80 A 33 N P");
    // Auto-increment moved the chip on to channel 3, whose result now leads
    // the next read and must not be taken for channel 0.
    forget_history();
    EXPECT_EQ(ad_pcf8591_readchan(0, 0), 0x11);
    EXPECT_EQ(trace(), "S 90 A 44 A P S 91 A 44 A 11 N P");
}

TEST_F(ConverterRead, FourChannelReadAtAddressOneInTwoDifferentialMode) {
    auto &second = bench.add<wlsim::Pcf8591>(wlsim::kCom1, 1);
    const uint8_t levels[4] = {0x50, 0x20, 0x10, 0x30};
    for (int input = 0; input < 4; ++input) second.set_input_code(input, levels[input]);
    pcf8591_state record{};
    pcf8591_init(&record, 0x30, volts(2550));
    EXPECT_EQ(pcf8591_read4chan(&record, 1), 1);
    // Two channels, AIN0-AIN1 and AIN2-AIN3 in two's complement, alternate.
    EXPECT_EQ(trace(), "S 92 A 74 A P S 93 A 80 A 30 A E0 A 30 A E0 N P");
    EXPECT_THAT(record.reading, ::testing::ElementsAre(0x30, 0xE0, 0x30, 0xE0));
}

// The simulated chip's input programming: AIN0..AIN3 at 20, 100, 160, 120;
// the four results step through the mode's channels and wrap round.
TEST_F(ConverterTest, FourChannelReadFollowsTheInputProgramming) {
    const uint8_t levels[4] = {20, 100, 160, 120};
    for (int input = 0; input < 4; ++input) converter.set_input_code(input, levels[input]);
    const struct {
        int32_t mode, readings[4];
    } cases[] = {{0x00, {20, 100, 160, 120}},
                 {0x10, {156, 236, 40, 156}},
                 {0x20, {20, 100, 40, 20}},
                 {0x30, {176, 40, 176, 40}}};
    for (const auto &c : cases) {
        pcf8591_state record{};
        pcf8591_init(&record, c.mode, volts(2550));
        EXPECT_EQ(pcf8591_read4chan(&record, 0), 1);
        EXPECT_THAT(record.reading, ::testing::ElementsAreArray(c.readings)) << "mode " << c.mode;
    }
}

// The second STOP meets an idle bus: lowering SDA with SCL high is itself a
// START, so the wire shows an empty START-STOP pair.
TEST_F(ConverterRead, AbsentChipLeavesThePreviousReadingAfterTwoStops) {
    converter.set_present(false);
    EXPECT_EQ(ad_pcf8591_readchan(1, 0), 0);
    EXPECT_EQ(trace(), "S 90 N P S P");
    converter.set_present(true);
    EXPECT_EQ(ad_pcf8591_readchan(1, 0), 0x22);
    converter.set_present(false);
    EXPECT_EQ(ad_pcf8591_readchan(1, 0), 0x22);
    pcf8591_state record{};
    record.reading[2] = 7;
    EXPECT_EQ(pcf8591_read4chan(&record, 0), 0);
    EXPECT_THAT(record.reading, ::testing::ElementsAre(0, 0, 7, 0));
}

TEST_F(ConverterRead, UnacknowledgedControlByteEndsTheRead) {
    bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0x96).nack_from_byte(0);
    pcf8591_state record{};
    EXPECT_EQ(pcf8591_readchan(&record, 3, 3), 0);
    EXPECT_EQ(trace(), "S 96 A 47 N P S P");
}

// The reference is held as the single-precision 2.5499999523 V, so 128 gives
// 1274 mV, not 1275.
TEST_F(ConverterRead, AoutGivesTheStoredReadingInMillivoltsWithoutBusTraffic) {
    const struct {
        uint8_t reading;
        int32_t millivolts;
    } cases[] = {{0, 0}, {1, 9}, {100, 996}, {128, 1274}, {255, 2540}};
    for (const auto &c : cases) {
        converter.set_input_code(3, c.reading);
        ad_pcf8591_readchan(3, 0);
        forget_history();
        EXPECT_EQ(ad_pcf8591_aout(3), c.millivolts) << int{c.reading};
        EXPECT_EQ(bench.accesses(), 0u);
    }
}

TEST_F(ConverterRead, InitClearsTheRecordAndNeverTouchesTheBus) {
    ad_pcf8591_readchan(1, 0);
    pcf8591_state record{0x7F, 9.0f, 300, {1, 2, 3, 4}};
    forget_history();
    EXPECT_EQ(pcf8591_init(&record, 0x20, 2.5f), 0);
    EXPECT_EQ(ad_pcf8591_init(0, 2550), 0);
    const pcf8591_state expected{0x20, 2.5f, 0, {0, 0, 0, 0}};
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
    EXPECT_EQ(ad_pcf8591_aout(1), 0);
    EXPECT_EQ(bench.accesses(), 0u);
}

TEST_F(ConverterRead, OutOfRangeChannelsAndNullRecordsAreRefusedWithoutBusTraffic) {
    pcf8591_state record{};
    pcf8591_init(&record, 0, volts(2550));
    const pcf8591_state before = record;
    for (const int32_t channel : {-1, 4, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(pcf8591_readchan(&record, channel, 0), 0) << "channel " << channel;
        EXPECT_EQ(pcf8591_aout(&record, channel), 0.0f);
        EXPECT_EQ(ad_pcf8591_readchan(channel, 0), 0);
        EXPECT_EQ(ad_pcf8591_aout(channel), 0);
    }
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_EQ(pcf8591_init(nullptr, 0, 2.55f) + pcf8591_readchan(nullptr, 0, 0) +
                  pcf8591_read4chan(nullptr, 0) + pcf8591_setda(nullptr, 1.0f, 0),
              0);
    EXPECT_EQ(pcf8591_aout(nullptr, 0), 0.0f);
    EXPECT_EQ(bench.accesses(), 0u);
}

// What the bench program does at start and on its timer, on the board it gets
// without a bench of its own.
TEST(DefaultBoard, ConverterAnswersTheBenchProgram) {
    wlsim::attach(nullptr);
    set_port_delay(10);
    ASSERT_EQ(init_iic(0), 0x3F8);
    ad_pcf8591_init(0, 2550);
    EXPECT_EQ(ad_pcf8591_setda(2500, 0), 1);
    EXPECT_EQ(ad_pcf8591_readchan(0, 0), 250);  // its own output, looped back
    EXPECT_EQ(ad_pcf8591_readchan(2, 0), 100);  // 1.0 V
    EXPECT_EQ(ad_pcf8591_readchan(3, 0), 200);  // 2.0 V
    const int32_t first = ad_pcf8591_readchan(1, 0);
    int32_t last = first;
    for (int poll = 0; poll < 20 && last == first; ++poll) last = ad_pcf8591_readchan(1, 0);
    EXPECT_NE(last, first) << "AIN1 should drift as simulated time passes";
    EXPECT_THAT(wlsim::attached().violations(), ::testing::IsEmpty());
}

}  // namespace
