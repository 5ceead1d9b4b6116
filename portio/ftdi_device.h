// An FTDI cable named "ftdi:...", opened through libftdi1 in synchronous
// bit-bang mode (ftdi_lines.h) on the very pins the adapter uses in UART
// mode.  While it is open the kernel's serial driver is detached from the
// interface (its ttyUSB goes away) and re-attached when it is closed.
//
// Opening takes a lock named after the serial number and interface, in the
// lock directory or, where that cannot be written, $XDG_RUNTIME_DIR, so that
// a second program is told the cable is in use before it touches it.
#ifndef DLPORTIO_FTDI_DEVICE_H
#define DLPORTIO_FTDI_DEVICE_H

#include <filesystem>
#include <string>
#include <vector>

#include "ftdi_api.h"
#include "ftdi_name.h"
#include "modem_lines.h"
#include "system_calls.h"

namespace dlportio {

// A cable as libusb shows it.
struct FtdiCable {
    std::string description;  // "FT232R USB UART"
    std::string serial;
    std::string name;  // "ftdi:SERIAL"
};

// Every FTDI cable that libusb reaches; an error text when it cannot look.
std::vector<FtdiCable> list_ftdi_cables(const FtdiApi &api, std::string &error);

class FtdiDevice final : public ModemDevice {
public:
    // port: "COM1" or "COM2", for the messages.
    FtdiDevice(const FtdiApi &api, SystemCalls &system, std::string port, FtdiName name,
               std::filesystem::path lock_dir);

    std::string label() const override;
    Opened open() override;

private:
    struct Found;
    Opened open_found(ftdi_context *ftdi, const Found &found);
    Opened start_bit_bang(ftdi_context *ftdi, int lock_fd);
    int take_lock(const std::string &serial, Opened &refusal);

    const FtdiApi &api_;
    SystemCalls &system_;
    std::string port_;
    FtdiName name_;
    std::filesystem::path lock_dir_;
};

}  // namespace dlportio

#endif
