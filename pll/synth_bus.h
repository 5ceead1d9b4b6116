// Bytes of a synthesizer write.  A write always runs to its STOP, so the bus
// is free again whatever the chip answered; only the acknowledge of the last
// byte, the one that tells whether the chip took the whole write, counts.
#ifndef WIRELINK_PLL_SYNTH_BUS_H
#define WIRELINK_PLL_SYNTH_BUS_H

#include <cstdint>
#include <initializer_list>

#include "wrapping_math.h"

namespace wirelink::pll {

// Sends every byte whatever the chip answers; returns the acknowledge flag of
// the last one (0 for no bytes).
int32_t send_bytes(std::initializer_list<int32_t> bytes);

}  // namespace wirelink::pll

#endif
