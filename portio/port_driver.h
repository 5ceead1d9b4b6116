// Absolute port addresses mapped onto the two standard serial ports.  Any
// other address, and a serial port that cannot be reached, behaves as an
// empty ISA slot: it reads 0xFF and ignores writes.
#ifndef DLPORTIO_PORT_DRIVER_H
#define DLPORTIO_PORT_DRIVER_H

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "register_backend.h"
#include "system_calls.h"

namespace dlportio {

class PortDriver {
public:
    // tty_class_root is where the serial devices are looked up (normally
    // /sys/class/tty); the device files themselves are opened from /dev.
    PortDriver(SystemCalls& system, std::filesystem::path tty_class_root);

    uint8_t read(unsigned long port);
    void write(unsigned long port, uint8_t value);

private:
    struct SerialPort {
        unsigned long base;
        bool opened = false;                       // reaching it was tried
        std::unique_ptr<RegisterBackend> backend;  // null: nothing there
    };

    SerialPort* serial_port_at(unsigned long port);
    RegisterBackend* backend_of(SerialPort& serial);
    std::unique_ptr<RegisterBackend> open_modem_device(unsigned long base);
    std::unique_ptr<RegisterBackend> open_backend(unsigned long base);

    SystemCalls& system_;
    std::filesystem::path tty_class_root_;
    std::array<SerialPort, 2> serial_ports_;
};

}  // namespace dlportio

#endif
