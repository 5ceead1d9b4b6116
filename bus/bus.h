// What the chip drivers use of the bus: the exported line operations and
// primitives of wirelink.h, plus the bounded wait for SCL.
#ifndef WIRELINK_BUS_BUS_H
#define WIRELINK_BUS_BUS_H

#include "wirelink.h"

namespace wirelink {

// Polls SCL until it reads high.  Returns false when the wait gave up (see
// scl_wait.cpp for the bound).
bool wait_for_scl();

// Forgets that SCL was found stuck; a new claim starts with full waits.
void reset_scl_wait();

}  // namespace wirelink

#endif
