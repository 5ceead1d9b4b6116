// A serial device on Linux, named by its path (/dev/ttyUSB0, a link in
// /dev/serial/by-id, /dev/ttyS4), whose modem lines are driven and read with
// the modem ioctls.
//
// Opening takes the device for this process alone (flock and TIOCEXCL), and
// turns off hardware flow control, which some USB drivers let take RTS away;
// closing puts the settings back.  A CDC-ACM device is refused: its driver
// reports CTS always set, so SCL could never be read back.
#ifndef DLPORTIO_LINUX_SERIAL_DEVICE_H
#define DLPORTIO_LINUX_SERIAL_DEVICE_H

#include <filesystem>
#include <string>

#include "modem_lines.h"
#include "system_calls.h"

namespace dlportio {

class LinuxSerialDevice final : public ModemDevice {
public:
    // port: "COM1" or "COM2", for the messages.  tty_class_root: normally
    // /sys/class/tty, where the device's driver is looked up.
    LinuxSerialDevice(SystemCalls &system, std::string port, std::string path,
                      std::filesystem::path tty_class_root);

    std::string label() const override;
    Opened open() override;

private:
    Opened claim(int fd, bool inputs_reported_late);

    SystemCalls &system_;
    std::string port_;
    std::string path_;
    std::filesystem::path tty_class_root_;
};

}  // namespace dlportio

#endif
