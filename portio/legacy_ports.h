// The PC's two standard serial ports, COM1 (0x3F8) and COM2 (0x2F8), as
// absolute port addresses.  Each port's registers are reached through a
// backend that is opened at the port's first access and kept; any other
// address, a port without a backend, and every port after release behave as
// an empty ISA slot: reads give 0xFF and writes are dropped.
#ifndef DLPORTIO_LEGACY_PORTS_H
#define DLPORTIO_LEGACY_PORTS_H

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "register_backend.h"

namespace dlportio {

// A port's name ("COM1") and I/O base.
struct PortId {
    const char *name;
    unsigned long base;
};

class LegacyPorts {
public:
    // Opens a port's backend; null leaves the port empty.
    using Open = std::function<std::unique_ptr<RegisterBackend>(const PortId &port)>;

    explicit LegacyPorts(Open open);

    uint8_t read(unsigned long port);
    void write(unsigned long port, uint8_t value);
    // Runs of line steps on the port at base (port_extension.h).
    uint32_t run_limit(unsigned long base);
    int32_t run_steps(unsigned long base, const uint8_t *steps, uint8_t *samples, uint32_t count,
                      uint32_t delay);
    // Closes the backend of the port at base, if open; the next access opens
    // it anew.  False when base is not a serial port's.
    bool reopen(unsigned long base);
    // Closes every backend (a device puts its settings back); the ports read
    // empty from then on.  For the end of the process.
    void release();

private:
    struct SerialPort {
        PortId id;
        bool opened = false;                       // reaching it was tried
        std::unique_ptr<RegisterBackend> backend;  // null: nothing to reach
    };

    RegisterBackend *backend_at(unsigned long port, unsigned &offset);

    Open open_;
    std::array<SerialPort, 2> serial_ports_;
    bool released_ = false;
};

}  // namespace dlportio

#endif
