// The operating-system calls that the port driver makes, behind one seam so
// that the register model can be exercised against a fake serial device.
#ifndef DLPORTIO_SYSTEM_CALLS_H
#define DLPORTIO_SYSTEM_CALLS_H

#include <cstdint>
#include <optional>
#include <string>

namespace dlportio {

// Modem lines travel as the TIOCM_* bits of <sys/ioctl.h>.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    // An open descriptor, or -1 when the device cannot be opened.
    virtual int open_device(const std::string& path) = 0;
    virtual void close_device(int fd) = 0;

    // TIOCMGET; nothing when the device refuses it.
    virtual std::optional<int> get_modem_lines(int fd) = 0;
    // TIOCMBIS / TIOCMBIC: only the lines named change.
    virtual void raise_modem_lines(int fd, int lines) = 0;
    virtual void lower_modem_lines(int fd, int lines) = 0;

    // Direct port I/O, for when no device can be opened.  Only the ports
    // granted by claim_io_ports may be passed to in_port/out_port.
    virtual bool claim_io_ports(unsigned long first, unsigned count) = 0;
    virtual uint8_t in_port(unsigned long port) = 0;
    virtual void out_port(unsigned long port, uint8_t value) = 0;

    // Spends about the time of one UART register access on the ISA bus.
    virtual void spend_register_access_time() = 0;
};

}  // namespace dlportio

#endif
