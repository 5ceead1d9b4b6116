// A converter at address 0 on the usual board, its inputs at codes 0x11, 0x22,
// 0x33 and 0x44, the bus claimed and the library's converter set up as the
// bench program does it.
#ifndef WIRELINK_TESTS_CONVERTER_FIXTURE_H
#define WIRELINK_TESTS_CONVERTER_FIXTURE_H

#include "pcf8591.h"
#include "wire_test.h"

class ConverterTest : public StandardBoardTest {
protected:
    void SetUp() override {
        for (int input = 0; input < 4; ++input) converter.set_input_code(input, 0x11 * (input + 1));
        claim();
        ad_pcf8591_init(0, 2550);
    }

    // The reference exactly as the library's entries hold it.
    static float volts(int32_t millivolts) { return static_cast<float>(millivolts * 0.001); }

    wlsim::Pcf8591 &converter = bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
};

#endif
