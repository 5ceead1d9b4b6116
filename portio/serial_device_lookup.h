// What the kernel's tty class (normally /sys/class/tty) tells about serial
// devices: which one owns an I/O base, and which driver serves a device.
#ifndef DLPORTIO_SERIAL_DEVICE_LOOKUP_H
#define DLPORTIO_SERIAL_DEVICE_LOOKUP_H

#include <filesystem>
#include <optional>
#include <string>

namespace dlportio {

// Looks through tty_class_root for a ttyS* entry whose "port" file holds
// io_base (written like "0x3F8") and returns the entry's name, e.g. "ttyS0".
// Entries whose "type" is 0 (no UART answered there) are passed over.
// Nothing when no entry matches or the tree cannot be read.
std::optional<std::string> find_serial_device(const std::filesystem::path &tty_class_root,
                                              unsigned long io_base);

// Whether the kernel uses the tty as a console: named in the tty class's
// console/active (normally /sys/class/tty/console/active) or in
// proc_consoles (normally /proc/consoles).
bool is_active_console(const std::filesystem::path &tty_class_root,
                       const std::filesystem::path &proc_consoles, const std::string &tty_name);

// The name of the driver behind a tty, e.g. "ftdi_sio" for "ttyUSB0";
// nothing when the tree does not tell.
std::optional<std::string> tty_driver(const std::filesystem::path &tty_class_root,
                                      const std::string &tty_name);

}  // namespace dlportio

#endif
