#include "port_driver.h"

#include <optional>
#include <string>
#include <utility>

#include "direct_ports.h"
#include "modem_uart.h"
#include "serial_device_lookup.h"
#include "uart_registers.h"

namespace dlportio {

PortDriver::PortDriver(SystemCalls& system, std::filesystem::path tty_class_root)
    : system_(system),
      tty_class_root_(std::move(tty_class_root)),
      serial_ports_{SerialPort{0x3F8, false, nullptr}, SerialPort{0x2F8, false, nullptr}} {}

uint8_t PortDriver::read(unsigned long port) {
    SerialPort* serial = serial_port_at(port);
    RegisterBackend* backend = serial ? backend_of(*serial) : nullptr;
    if (!backend) return uart::kEmptyPort;
    return backend->read(static_cast<unsigned>(port - serial->base));
}

void PortDriver::write(unsigned long port, uint8_t value) {
    SerialPort* serial = serial_port_at(port);
    RegisterBackend* backend = serial ? backend_of(*serial) : nullptr;
    if (backend) backend->write(static_cast<unsigned>(port - serial->base), value);
}

PortDriver::SerialPort* PortDriver::serial_port_at(unsigned long port) {
    for (SerialPort& serial : serial_ports_) {
        if (port >= serial.base && port - serial.base < uart::kRegisterCount) return &serial;
    }
    return nullptr;
}

// Opened at the first access and kept for the life of the driver; a port
// that could not be reached is not tried again.
RegisterBackend* PortDriver::backend_of(SerialPort& serial) {
    if (!serial.opened) {
        serial.opened = true;
        serial.backend = open_backend(serial.base);
    }
    return serial.backend.get();
}

std::unique_ptr<RegisterBackend> PortDriver::open_backend(unsigned long base) {
    if (auto device = open_modem_device(base)) return device;
    if (system_.claim_io_ports(base, uart::kRegisterCount)) {
        return std::make_unique<DirectPorts>(system_, base);
    }
    return nullptr;
}

// A device that opens but refuses the modem-line calls (not a real UART)
// is no use either.
std::unique_ptr<RegisterBackend> PortDriver::open_modem_device(unsigned long base) {
    const std::optional<std::string> name = find_serial_device(tty_class_root_, base);
    if (!name) return nullptr;
    const int fd = system_.open_device("/dev/" + *name);
    if (fd < 0) return nullptr;
    const std::optional<int> lines = system_.get_modem_lines(fd);
    if (!lines) {
        system_.close_device(fd);
        return nullptr;
    }
    return std::make_unique<ModemUart>(system_, fd, *lines);
}

}  // namespace dlportio
