// A UART whose modem lines are those of an open serial device: the modem
// control register drives DTR and RTS, the modem status register reads CTS,
// DSR, RI and DCD, and the rest is kept in memory without reaching the device.
#ifndef DLPORTIO_MODEM_UART_H
#define DLPORTIO_MODEM_UART_H

#include <array>
#include <cstdint>

#include "register_backend.h"
#include "system_calls.h"
#include "uart_registers.h"

namespace dlportio {

class ModemUart final : public RegisterBackend {
public:
    // Takes ownership of fd; initial_lines is what TIOCMGET gave on it.
    ModemUart(SystemCalls& system, int fd, int initial_lines);
    ~ModemUart() override;
    ModemUart(const ModemUart&) = delete;
    ModemUart& operator=(const ModemUart&) = delete;

    uint8_t read(unsigned offset) override;
    void write(unsigned offset, uint8_t value) override;

private:
    uint8_t read_modem_status();
    void write_modem_control(uint8_t value);

    SystemCalls& system_;
    int fd_;
    // The last value written to each register; the modem control entry is
    // what the register reads back.
    std::array<uint8_t, uart::kRegisterCount> written_{};
    // Inputs (upper nibble of the status register) when the register was
    // last read, or when the device was opened.
    uint8_t inputs_;
};

}  // namespace dlportio

#endif
