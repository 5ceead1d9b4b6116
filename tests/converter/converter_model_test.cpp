// The simulated converter itself (input programming, the DAC register) and
// the default bench board that a program without a bench of its own talks to.
#include "converter_fixture.h"
#include "default_board.h"

namespace {

struct ProgrammingCase {
    const char *name;
    int32_t mode;
    int32_t readings[4];

    friend void PrintTo(const ProgrammingCase &c, std::ostream *os) { *os << c.name; }
};

class InputProgramming : public ConverterTest, public ::testing::WithParamInterface<ProgrammingCase> {};

// AIN0..AIN3 at codes 20, 100, 160 and 120; differences are two's
// complement.  The four results of a read step through the mode's channels
// and wrap round.
TEST_P(InputProgramming, ChannelsAndWrapFollowTheMode) {
    const uint8_t levels[4] = {20, 100, 160, 120};
    for (int input = 0; input < 4; ++input) converter.set_input_code(input, levels[input]);
    pcf8591_state record{};
    pcf8591_init(&record, GetParam().mode, volts(2550));
    EXPECT_EQ(pcf8591_read4chan(&record, 0), 1);
    EXPECT_THAT(record.reading, ::testing::ElementsAreArray(GetParam().readings));
}

INSTANTIATE_TEST_SUITE_P(Modes, InputProgramming,
                         ::testing::Values(ProgrammingCase{"FourSingle", 0x00, {20, 100, 160, 120}},
                                           ProgrammingCase{"ThreeDifferential", 0x10, {156, 236, 40, 156}},
                                           ProgrammingCase{"Mixed", 0x20, {20, 100, 40, 20}},
                                           ProgrammingCase{"TwoDifferential", 0x30, {176, 40, 176, 40}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConverterTest, EveryByteAfterTheControlByteLoadsTheDac) {
    iic_start();
    iic_send_byte(0x90);
    iic_send_byte(0x40);
    iic_send_byte(0x11);
    iic_send_byte(0x22);
    iic_stop();
    EXPECT_THAT(converter.controls(), ::testing::ElementsAre(0x40));
    EXPECT_THAT(converter.dac_writes(), ::testing::ElementsAre(0x11, 0x22));
    EXPECT_EQ(converter.dac(), 0x22);
}

// What the bench program does at start and on its timer, on the board it gets
// without a bench of its own.
class DefaultBoard : public ::testing::Test {
protected:
    void SetUp() override {
        wlsim::attach(nullptr);
        set_port_delay(10);
        ASSERT_EQ(init_iic(0), 0x3F8);
        ad_pcf8591_init(0, 2550);
    }
};

TEST_F(DefaultBoard, ConverterAnswersTheBenchProgram) {
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
