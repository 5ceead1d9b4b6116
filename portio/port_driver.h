// Absolute port addresses mapped onto the two standard serial ports, COM1
// (0x3F8) and COM2 (0x2F8).  Any other address, a port switched off, and a
// serial port that cannot be reached behave as an empty ISA slot: it reads
// 0xFF and ignores writes.
//
// Each port's device is chosen at its first access: the one the user named
// (WIRELINK_COM1, ports.conf), else the ttyS* whose I/O base is the port's,
// else the port's registers themselves (direct port I/O, for a process that
// holds the I/O permission).  A USB device is never taken unless named, nor
// a serial port that the kernel uses as its console.
#ifndef DLPORTIO_PORT_DRIVER_H
#define DLPORTIO_PORT_DRIVER_H

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "legacy_ports.h"
#include "modem_lines.h"
#include "port_choice.h"
#include "register_backend.h"
#include "system_calls.h"

namespace dlportio {

struct FtdiApi;

struct PortDriverPaths {
    std::filesystem::path tty_class_root = "/sys/class/tty";
    std::filesystem::path system_config = "/etc/wirelink/ports.conf";
    std::filesystem::path lock_dir = "/run/lock";  // for direct port I/O
    std::filesystem::path proc_consoles = "/proc/consoles";
};

class PortDriver {
public:
    // ftdi: libftdi1's functions, for ports named "ftdi:..."; null in a
    // build without them.
    PortDriver(SystemCalls &system, PortDriverPaths paths, const FtdiApi *ftdi = nullptr);

    uint8_t read(unsigned long port);
    void write(unsigned long port, uint8_t value);
    uint32_t run_limit(unsigned long base) { return ports_.run_limit(base); }
    int32_t run_steps(unsigned long base, const uint8_t *steps, uint8_t *samples, uint32_t count,
                      uint32_t delay) {
        return ports_.run_steps(base, steps, samples, count, delay);
    }
    // The device for the port at base from its next access on (port_extension.h's
    // use_device): 0, or -EINVAL.
    int32_t use_device(unsigned long base, const char *device);
    // Closes every device, putting its settings back; the ports read empty
    // from then on.  For the end of the process.
    void release();

private:
    std::unique_ptr<RegisterBackend> open_backend(const PortId &serial);
    std::unique_ptr<RegisterBackend> open_named(const PortId &serial, const std::string &path);
    std::unique_ptr<RegisterBackend> open_ftdi(const PortId &serial, const std::string &name);
    void suggest_ftdi_name(const PortId &serial, const std::string &path);
    std::unique_ptr<RegisterBackend> open_found(const PortId &serial);
    std::optional<std::unique_ptr<RegisterBackend>> open_direct(const PortId &serial);
    std::unique_ptr<RegisterBackend> modem_uart(std::unique_ptr<ModemDevice> device, Opened first);
    PortChoice &choice();
    void say(const std::string &line);

    SystemCalls &system_;
    PortDriverPaths paths_;
    const FtdiApi *ftdi_;
    std::unique_ptr<PortChoice> choice_;
    LegacyPorts ports_;
};

}  // namespace dlportio

#endif
