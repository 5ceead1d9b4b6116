#include "port_driver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "direct_ports.h"
#include "linux_serial_device.h"
#include "modem_uart.h"
#include "serial_device_lookup.h"
#include "uart_registers.h"

namespace dlportio {
namespace {

std::string hex(unsigned long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

}  // namespace

PortDriver::PortDriver(SystemCalls &system, PortDriverPaths paths)
    : system_(system),
      paths_(std::move(paths)),
      ports_([this](const PortId &port) { return open_backend(port); }) {}

uint8_t PortDriver::read(unsigned long port) { return ports_.read(port); }

void PortDriver::write(unsigned long port, uint8_t value) { ports_.write(port, value); }

void PortDriver::release() { ports_.release(); }

std::unique_ptr<RegisterBackend> PortDriver::open_backend(const PortId &serial) {
    const PortSetting setting = choice().setting(serial.name);
    switch (setting.kind) {
    case PortSetting::Kind::off:
        return nullptr;
    case PortSetting::Kind::device:
        return open_named(serial, setting.device);
    case PortSetting::Kind::unnamed:
        break;
    }
    return open_found(serial);
}

// A named device is the only one tried: when it cannot be opened the port
// reads empty until it can.
std::unique_ptr<RegisterBackend> PortDriver::open_named(const PortId &serial, const std::string &path) {
    auto device = std::make_unique<LinuxSerialDevice>(system_, serial.name, path, paths_.tty_class_root);
    Opened first = device->open();
    return modem_uart(std::move(device), std::move(first));
}

// The kernel's device for the port's I/O base, else the registers directly.
// A device that another program holds is not gone around.
std::unique_ptr<RegisterBackend> PortDriver::open_found(const PortId &serial) {
    const auto name = find_serial_device(paths_.tty_class_root, serial.base);
    if (!name) {
        if (auto direct = open_direct(serial)) return std::move(*direct);
        say(message(serial.name, "no serial port at " + hex(serial.base) + " (name a device with WIRELINK_" +
                                     serial.name + "=/dev/... or in ports.conf, or set " + serial.name +
                                     " = off)"));
        return nullptr;
    }
    const std::string path = "/dev/" + *name;
    // Its registers are the console's too, so no direct access either.
    if (is_active_console(paths_.tty_class_root, paths_.proc_consoles, *name)) {
        say(message(serial.name, path +
                                     " is the kernel's console, passed over; to use it anyway, name it "
                                     "(WIRELINK_" +
                                     serial.name + "=" + path + ", or " + serial.name + " = " + path +
                                     " in ports.conf)"));
        return nullptr;
    }
    auto device = std::make_unique<LinuxSerialDevice>(system_, serial.name, path, paths_.tty_class_root);
    Opened first = device->open();
    if (!first.lines && first.failure != OpenFailure::in_use) {
        if (auto direct = open_direct(serial)) return std::move(*direct);
    }
    return modem_uart(std::move(device), std::move(first));
}

// Nothing when the process may not reach the ports; a null backend when it
// may but must not, because another program of ours is on them (said so).
std::optional<std::unique_ptr<RegisterBackend>> PortDriver::open_direct(const PortId &serial) {
    if (!system_.claim_io_ports(serial.base, uart::kRegisterCount)) return std::nullopt;
    const std::string subject = std::string(serial.name) + " = I/O ports at " + hex(serial.base);
    const std::string lock_file = (paths_.lock_dir / ("wirelink-" + hex(serial.base) + ".lock")).string();
    const int fd = system_.open_lock_file(lock_file);
    if (fd < 0) {
        say(message(subject, "cannot open the lock file " + lock_file + ": " + std::strerror(-fd)));
        return std::unique_ptr<RegisterBackend>();
    }
    if (const int error = system_.lock(fd)) {
        system_.close_device(fd);
        say(message(subject, error == EWOULDBLOCK
                                 ? "in use by another program"
                                 : "cannot lock " + lock_file + ": " + std::strerror(error)));
        return std::unique_ptr<RegisterBackend>();
    }
    return std::make_unique<DirectPorts>(system_, serial.base, fd);
}

std::unique_ptr<RegisterBackend> PortDriver::modem_uart(std::unique_ptr<ModemDevice> device, Opened first) {
    return std::make_unique<ModemUart>(std::move(device), std::move(first), system_,
                                       [this](const std::string &line) { say(line); });
}

PortChoice &PortDriver::choice() {
    if (!choice_) {
        auto environment = [this](const std::string &name) { return system_.environment(name); };
        choice_ =
            std::make_unique<PortChoice>(environment, ports_conf_files(environment, paths_.system_config),
                                         [this](const std::string &line) { say(line); });
    }
    return *choice_;
}

void PortDriver::say(const std::string &line) { system_.print_message(line); }

}  // namespace dlportio
