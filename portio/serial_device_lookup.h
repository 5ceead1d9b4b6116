// Which serial device owns an I/O base, as the kernel's tty class tells.
#ifndef DLPORTIO_SERIAL_DEVICE_LOOKUP_H
#define DLPORTIO_SERIAL_DEVICE_LOOKUP_H

#include <filesystem>
#include <optional>
#include <string>

namespace dlportio {

// Looks through tty_class_root (normally /sys/class/tty) for a ttyS* entry
// whose "port" file holds io_base (written like "0x3F8") and returns the
// entry's name, e.g. "ttyS0".  Nothing when no entry matches or the tree
// cannot be read.
std::optional<std::string> find_serial_device(const std::filesystem::path& tty_class_root,
                                              unsigned long io_base);

}  // namespace dlportio

#endif
