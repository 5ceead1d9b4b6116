#include "port_driver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

#include "direct_ports.h"
#include "ftdi_name.h"
#include "linux_serial_device.h"
#include "modem_uart.h"
#include "serial_device_lookup.h"
#include "uart16550.h"

#if defined(WIRELINK_WITH_FTDI)
#include "ftdi_device.h"
#endif

namespace dlportio {
namespace {

// Measured on the simulated bench at 1 ms per USB exchange (bench/run.sh):
// a PCF8574 write, 76 round trips through the tty, 3 exchanges.
constexpr const char *kFtdiSpeedUp = "about 25 times faster";

std::string hex(unsigned long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

}  // namespace

PortDriver::PortDriver(SystemCalls &system, PortDriverPaths paths, const FtdiApi *ftdi)
    : system_(system),
      paths_(std::move(paths)),
      ftdi_(ftdi),
      ports_([this](const PortId &port) { return open_backend(port); }) {}

uint8_t PortDriver::read(unsigned long port) { return ports_.read(port); }

void PortDriver::write(unsigned long port, uint8_t value) { ports_.write(port, value); }

void PortDriver::release() { ports_.release(); }

int32_t PortDriver::use_device(unsigned long base, const char *device) {
    const char *port = base == uart16550::kCom1 ? "COM1" : base == uart16550::kCom2 ? "COM2" : nullptr;
    if (port == nullptr) return -EINVAL;
    std::optional<PortSetting> setting;
    if (device != nullptr) {
        setting = port_setting_of(device);
        if (!setting) return -EINVAL;
    }
    choice().name(port, setting);
    ports_.reopen(base);
    return 0;
}

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
    if (is_ftdi_name(path)) return open_ftdi(serial, path);
    suggest_ftdi_name(serial, path);
    auto device = std::make_unique<LinuxSerialDevice>(system_, serial.name, path, paths_.tty_class_root);
    Opened first = device->open();
    return modem_uart(std::move(device), std::move(first));
}

std::unique_ptr<RegisterBackend> PortDriver::open_ftdi(const PortId &serial, const std::string &name) {
    const std::string subject = std::string(serial.name) + " = " + name;
    const auto parsed = parse_ftdi_name(name);
    if (!parsed) {
        say(message(subject, "not an FTDI cable's name (\"ftdi:\", \"ftdi:SERIAL\" or \"ftdi:SERIAL:B\")"));
        return nullptr;
    }
#if defined(WIRELINK_WITH_FTDI)
    if (ftdi_ != nullptr) {
        auto device = std::make_unique<FtdiDevice>(*ftdi_, system_, serial.name, *parsed, paths_.lock_dir);
        Opened first = device->open();
        return modem_uart(std::move(device), std::move(first));
    }
#endif
    say(message(subject,
                "this wirelink was built without libftdi1; name the cable's /dev/ttyUSB device instead"));
    return nullptr;
}

// An FTDI cable through the kernel's serial driver costs a USB round trip
// per line change; the same cable by its serial number runs whole bytes.
void PortDriver::suggest_ftdi_name(const PortId &serial, const std::string &path) {
    if (ftdi_ == nullptr) return;
    std::error_code error;
    const std::string tty = std::filesystem::weakly_canonical(path, error).filename().string();
    if (error || !tty.starts_with("ttyUSB") || tty_driver(paths_.tty_class_root, tty) != "ftdi_sio") return;
    const std::filesystem::path interface = paths_.tty_class_root / tty / "device" / "..";
    std::ifstream serial_file(interface / ".." / "serial");
    std::string number;
    if (!std::getline(serial_file, number) || number.empty()) return;
    std::ifstream interface_file(interface / "bInterfaceNumber");
    int index = 0;
    interface_file >> index;
    const std::string name =
        "ftdi:" + number + (index > 0 && index < 4 ? ":" + std::string(1, char('A' + index)) : "");
    say(message(std::string(serial.name) + " = " + path, "an FTDI cable; " + name +
                                                             " runs whole bytes per USB exchange, " +
                                                             kFtdiSpeedUp + " than through " + tty));
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
    if (!system_.claim_io_ports(serial.base, uart16550::kRegisterCount)) return std::nullopt;
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
