#include "windows_port_driver.h"

#include <utility>

#include "modem_uart.h"
#include "uart16550.h"
#include "windows_serial_device.h"

namespace dlportio {

WindowsPortDriver::WindowsPortDriver(const SerialApi &api, PortChoice::Environment environment,
                                     std::filesystem::path ini_file, Report report)
    : api_(api),
      timing_(api),
      report_(std::move(report)),
      choice_(std::move(environment), {std::move(ini_file)}, report_, kWindowsDevices),
      ports_([this](const PortId &port) { return open_backend(port); }) {}

uint8_t WindowsPortDriver::read(unsigned long port) { return ports_.read(port); }

void WindowsPortDriver::write(unsigned long port, uint8_t value) { ports_.write(port, value); }

void WindowsPortDriver::release() { ports_.release(); }

std::unique_ptr<RegisterBackend> WindowsPortDriver::open_backend(const PortId &serial) {
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
