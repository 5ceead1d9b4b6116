// The modem lines as pins of an FTDI chip in bit-bang mode: D0 TXD, D1 RXD,
// D2 RTS#, D3 CTS#, D4 DTR#, D5 DSR#, D6 DCD#, D7 RI#.  They are active low
// as in UART mode: an asserted line is a 0 bit, on TTL and RS-232 cables
// alike.  The adapter drives SCL from RTS and SDA from DTR.
#ifndef DLPORTIO_FTDI_PINS_H
#define DLPORTIO_FTDI_PINS_H

#include <cstdint>

#include "uart16550.h"

namespace dlportio::ftdi_pins {

constexpr uint8_t kTxd = 0x01, kRts = 0x04, kCts = 0x08, kDtr = 0x10, kDsr = 0x20, kDcd = 0x40, kRi = 0x80;
// The outputs: RTS#, DTR#, and TXD held at 1 (idle); the rest are inputs.
constexpr uint8_t kOutputMask = kTxd | kRts | kDtr;

// DTR and RTS (modem control bits) as the pin byte that drives them.
constexpr uint8_t pins_for(uint8_t outputs) {
    uint8_t pins = kTxd;
    if (!(outputs & uart16550::kMcrDtr)) pins |= kDtr;
    if (!(outputs & uart16550::kMcrRts)) pins |= kRts;
    return pins;
}

// The outputs that a pin byte shows.
constexpr uint8_t outputs_of(uint8_t pins) {
    uint8_t outputs = 0;
    if (!(pins & kDtr)) outputs |= uart16550::kMcrDtr;
    if (!(pins & kRts)) outputs |= uart16550::kMcrRts;
    return outputs;
}

// The inputs of a pin sample as the modem status register's upper nibble.
constexpr uint8_t inputs_of(uint8_t pins) {
    uint8_t inputs = 0;
    if (!(pins & kCts)) inputs |= uart16550::kMsrCts;
    if (!(pins & kDsr)) inputs |= uart16550::kMsrDsr;
    if (!(pins & kRi)) inputs |= uart16550::kMsrRi;
    if (!(pins & kDcd)) inputs |= uart16550::kMsrDcd;
    return inputs;
}

}  // namespace dlportio::ftdi_pins

#endif
