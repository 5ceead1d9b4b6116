// The PC serial port's UART (8250/16550) as the port driver presents it.
#ifndef DLPORTIO_UART_REGISTERS_H
#define DLPORTIO_UART_REGISTERS_H

#include <cstdint>

namespace dlportio::uart {

constexpr unsigned kRegisterCount = 8;

// Offsets from the port's I/O base.
constexpr unsigned kData = 0;
constexpr unsigned kModemControl = 4;
constexpr unsigned kModemStatus = 6;

// Modem control register: the two outputs that reach the connector.
constexpr uint8_t kMcrDtr = 0x01;
constexpr uint8_t kMcrRts = 0x02;

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

}  // namespace dlportio::uart

#endif
