#include "windows_port_driver.h"

#include <utility>

#include "modem_uart.h"
#include "uart_registers.h"
#include "windows_serial_device.h"

namespace dlportio {

WindowsPortDriver::WindowsPortDriver(const SerialApi &api, PortChoice::Environment environment,
                                     std::filesystem::path ini_file, Report report)
    : api_(api),
      timing_(api),
      report_(std::move(report)),
      choice_(std::move(environment), {std::move(ini_file)}, report_, kWindowsDevices),
      serial_ports_{SerialPort{"COM1", 0x3F8, false, nullptr}, SerialPort{"COM2", 0x2F8, false, nullptr}} {}

uint8_t WindowsPortDriver::read(unsigned long port) {
    unsigned offset = 0;
    RegisterBackend *backend = backend_at(port, offset);
    return backend ? backend->read(offset) : uart::kEmptyPort;
}

void WindowsPortDriver::write(unsigned long port, uint8_t value) {
    unsigned offset = 0;
    if (RegisterBackend *backend = backend_at(port, offset)) backend->write(offset, value);
}

void WindowsPortDriver::release() {
    released_ = true;
    for (SerialPort &serial : serial_ports_) serial.backend.reset();
}

// A port's COM port is chosen at its first access and kept; one that cannot
// be opened, or goes away, is looked for again by its backend.
RegisterBackend *WindowsPortDriver::backend_at(unsigned long port, unsigned &offset) {
    for (SerialPort &serial : serial_ports_) {
        if (port < serial.base || port - serial.base >= uart::kRegisterCount) continue;
        if (!serial.opened && !released_) {
            serial.opened = true;
            serial.backend = open_backend(serial);
        }
        offset = static_cast<unsigned>(port - serial.base);
        return serial.backend.get();
    }
    return nullptr;
}

std::unique_ptr<RegisterBackend> WindowsPortDriver::open_backend(const SerialPort &serial) {
    const PortSetting setting = choice_.setting(serial.name);
    if (setting.kind == PortSetting::Kind::off) return nullptr;
    const std::string path = setting.kind == PortSetting::Kind::device
                                 ? setting.device
                                 : std::string(kWindowsDevices.directory) + serial.name;
    auto device = std::make_unique<WindowsSerialDevice>(api_, serial.name, path);
    Opened first = device->open();
    return std::make_unique<ModemUart>(std::move(device), std::move(first), timing_, report_);
}

}  // namespace dlportio
