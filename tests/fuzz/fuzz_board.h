// The bench the fuzzer drives: the adapter on 0x3F8 with every kind of chip
// on its bus, a bare UART on 0x2F8, and the faults a program can switch.
#ifndef WIRELINK_TESTS_FUZZ_FUZZ_BOARD_H
#define WIRELINK_TESTS_FUZZ_FUZZ_BOARD_H

#include "bench.h"
#include "fuzz_input.h"
#include "hd44780.h"
#include "pcf8591.h"
#include "recording_slave.h"

struct FuzzBoard {
    FuzzBoard();

    // Applies the fault the input names next.
    void apply_fault(FuzzInput &in);

    // Whether nothing can be clocked on the adapter's bus right now.
    bool clock_dead() const { return scl_stuck || unplugged; }

    wlsim::Bench bench;
    wlsim::Pcf8574 &display_port;
    wlsim::Hd44780 &display;
    wlsim::Pcf8574 &expander;
    wlsim::Pcf8591 &converter;
    wlsim::RecordingSlave &tuner;
    wlsim::RecordingSlave &synthesizer;
    bool scl_stuck = false;
    bool unplugged = false;
};

#endif
