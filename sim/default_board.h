// The bench board that a program gets when it loads the simulated port
// driver without setting up a bench of its own.
#ifndef WLSIM_DEFAULT_BOARD_H
#define WLSIM_DEFAULT_BOARD_H

#include <memory>

#include "bench.h"

namespace wlsim {

// Adapter on 0x3F8, a bare UART on 0x2F8, and on the bus the receiver board's
// chips: PCF8574 expanders at indexes 1 and 2 and a PCF8591 converter at
// address 0 (2.55 V reference; AIN0 is its own output looped back, AIN1
// sweeps slowly up and down, AIN2 sits at 1.0 V and AIN3 at 2.0 V).
std::unique_ptr<Bench> make_default_board();

// With WLSIM_TRACE set (to anything but 0), every transaction is printed to
// standard output as it ends.
void print_transactions_if_asked(Bench &bench);

}  // namespace wlsim

#endif
