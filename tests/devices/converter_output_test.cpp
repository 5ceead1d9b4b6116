// Setting the analog output: codes and their wrap-around on the wire, the
// code kept whole in the record, and the values that must be refused.
#include <limits>

#include "converter_fixture.h"
#include "recording_slave.h"

namespace {

// With the 2.55 V reference, codes at and beyond full scale wrap on the wire
// (only the low byte is sent) but the record keeps them whole.
TEST_F(ConverterTest, SetSendsTheCodesLowByteAndKeepsTheCodeWhole) {
    const struct {
        int32_t millivolts, code;
    } cases[] = {{2500, 250}, {1275, 128}, {2549, 255}, {10, 1}, {1, 0}, {2550, 256}, {2560, 257}, {-10, -1}};
    pcf8591_state record{};
    pcf8591_init(&record, 0, volts(2550));
    std::vector<uint8_t> wire;
    for (const auto &c : cases) {
        EXPECT_EQ(ad_pcf8591_setda(c.millivolts, 0), 1);
        EXPECT_EQ(pcf8591_setda(&record, volts(c.millivolts), 0), 1);
        EXPECT_EQ(record.dac, c.code) << c.millivolts << " mV";
        wire.insert(wire.end(), 2, static_cast<uint8_t>(c.code));
    }
    EXPECT_EQ(converter.dac_writes(), wire);
}

TEST_F(ConverterTest, SetIgnoresTheStoredInputProgramming) {
    ad_pcf8591_init(0x10, 2550);
    EXPECT_EQ(ad_pcf8591_setda(1275, 0), 1);
    EXPECT_EQ(trace(), "S 90 A 40 A 80 A P");
}

// An unacknowledged byte ends the transfer; the code is stored all the same.
TEST_F(ConverterTest, SetFailureKeepsTheCode) {
    auto &chip = bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0x96);
    const struct {
        int nack_from;
        const char *trace;
    } cases[] = {{-1, "S 96 N P"}, {0, "S 96 A 40 N P"}, {1, "S 96 A 40 A FA N P"}};  // -1: the address
    for (const auto &c : cases) {
        chip.nack_address(c.nack_from < 0);
        chip.nack_from_byte(c.nack_from);
        forget_history();
        pcf8591_state record{};
        pcf8591_init(&record, 0, volts(2550));
        EXPECT_EQ(pcf8591_setda(&record, volts(2500), 3), 0);
        EXPECT_EQ(record.dac, 250);
        EXPECT_EQ(trace(), c.trace);
    }
}

// Codes beyond 32 bits saturate, keeping their sign on the wire as full scale
// (0xFF) or zero (0x00); a zero reference or a NaN is refused untouched.
TEST_F(ConverterTest, SetSaturatesOrRefusesExtremeValues) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float vref, volts;
        int32_t code;
        const char *trace;
    } cases[] = {{2.55f, 1e30f, INT32_MAX, "S 90 A 40 A FF A P"},
                 {2.55f, -1e30f, INT32_MIN, "S 90 A 40 A 00 A P"},
                 {1e-38f, 1.0f, INT32_MAX, "S 90 A 40 A FF A P"},
                 {0.0f, 1.0f, 77, ""},
                 {2.55f, nan, 77, ""}};
    for (const auto &c : cases) {
        forget_history();
        pcf8591_state record{};
        pcf8591_init(&record, 0, c.vref);
        record.dac = 77;
        EXPECT_EQ(pcf8591_setda(&record, c.volts, 0), *c.trace ? 1 : 0)
            << c.vref << " V, " << c.volts << " V";
        EXPECT_EQ(record.dac, c.code);
        EXPECT_EQ(trace(), c.trace);
    }
    converter.clear_history();
    ad_pcf8591_init(0, 1);
    EXPECT_EQ(ad_pcf8591_setda(INT32_MAX, 0) + ad_pcf8591_setda(INT32_MIN, 0), 2);
    EXPECT_THAT(converter.dac_writes(), ::testing::ElementsAre(0xFF, 0x00));
}

}  // namespace
