// The PC serial port's UART (8250/16550) as the adapter uses it: the two
// standard port bases, the register offsets and the modem control and status
// bits.  The adapter ties SDA to DTR and SCL to RTS and reads them back on
// DSR and CTS.  One definition for the library, the port drivers, the
// simulated bench and the command-line tool.
#ifndef WIRELINK_UART16550_H
#define WIRELINK_UART16550_H

#include <cstdint>

namespace uart16550 {

// I/O bases of the two standard serial ports.
constexpr uint32_t kCom1 = 0x3F8;
constexpr uint32_t kCom2 = 0x2F8;

// A UART decodes eight consecutive port addresses from its base.
constexpr unsigned kRegisterCount = 8;

// Offsets from the port's I/O base.
constexpr unsigned kData = 0;
constexpr unsigned kModemControl = 4;
constexpr unsigned kModemStatus = 6;

// Modem control register: the two outputs that reach the connector.
constexpr uint8_t kMcrDtr = 0x01;
constexpr uint8_t kMcrRts = 0x02;
// Bits 5..7 of a 16550's modem control register read as 0.
constexpr uint8_t kMcrWritable = 0x1F;

// Modem status register: the inputs in the upper nibble, and in the lower
// nibble their change indicators, set by the UART and cleared by reading.
constexpr uint8_t kMsrDeltaCts = 0x01;
constexpr uint8_t kMsrDeltaDsr = 0x02;
constexpr uint8_t kMsrTrailingEdgeRi = 0x04;
constexpr uint8_t kMsrDeltaDcd = 0x08;
constexpr uint8_t kMsrCts = 0x10;
constexpr uint8_t kMsrDsr = 0x20;
constexpr uint8_t kMsrRi = 0x40;
constexpr uint8_t kMsrDcd = 0x80;

// What an ISA port with nothing behind it reads.
constexpr uint8_t kEmptyPort = 0xFF;

}  // namespace uart16550

#endif
