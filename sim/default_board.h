// The bench board that a program gets when it loads the simulated port
// driver without setting up a bench of its own.
#ifndef WLSIM_DEFAULT_BOARD_H
#define WLSIM_DEFAULT_BOARD_H

#include <memory>

#include "bench.h"
#include "hd44780.h"

namespace wlsim {

struct DefaultBoard {
    std::unique_ptr<Bench> bench;
    Hd44780 *display = nullptr;  // owned by the bench
};

// Adapter on 0x3F8, a bare UART on 0x2F8, and on the bus the receiver board's
// chips: a character display behind the PCF8574 at index 0, PCF8574
// expanders at indexes 1 and 2, and a PCF8591 converter at address 0 (2.55 V
// reference; AIN0 is its own output looped back, AIN1 sweeps slowly up and
// down, AIN2 sits at 1.0 V and AIN3 at 2.0 V).  With WLSIM_RUNS=n the ports
// run up to n line steps per exchange (Bench::offer_runs).
DefaultBoard make_default_board();

// With WLSIM_TRACE set (to anything but 0), every transaction is printed to
// standard output as it ends ("i2c: S 70 A 08 A P"), and so is every display
// line that a write changes ("lcd 1: |Hello, bench    |").
void print_activity_if_asked(DefaultBoard &board);

// With WLSIM_VCD=file, SDA and SCL are written to that Value Change Dump file
// at 1 us per port access until the program ends.  A file that cannot be
// written is reported on standard error and the program runs on without it.
void record_waveforms_if_asked(DefaultBoard &board);

}  // namespace wlsim

#endif
