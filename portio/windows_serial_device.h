// A COM port reached through the Windows serial API, which drives the modem
// lines of any serial port, USB-serial adapters included, without a kernel
// driver of ours or administrator rights.
//
// Opening takes the port for this process alone (share mode 0), puts DTR and
// RTS under the program's control with CTS and DSR flow control off, and
// lowers both lines, SCL first; closing puts the original settings back.
// Every failed call after that is taken for a port that went away (a pulled
// USB cable leaves a handle on which every call fails): the port is closed
// and opened afresh later.
#ifndef DLPORTIO_WINDOWS_SERIAL_DEVICE_H
#define DLPORTIO_WINDOWS_SERIAL_DEVICE_H

#include <string>

#include "modem_lines.h"
#include "windows_serial_api.h"

namespace dlportio {

class WindowsSerialDevice final : public ModemDevice {
public:
    // port: "COM1" or "COM2", the legacy port it stands for; path: the
    // device to open, "\\.\COM7".
    WindowsSerialDevice(const SerialApi &api, std::string port, std::string path);

    std::string label() const override;
    Opened open() override;

private:
    Opened failure(DWORD error) const;
    Opened claim(HANDLE handle);

    const SerialApi &api_;
    std::string port_;
    std::string path_;
};

// "Windows error 5 (ERROR_ACCESS_DENIED)".
std::string windows_error_text(DWORD error);

}  // namespace dlportio

#endif
