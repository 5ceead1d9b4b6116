// The names of FTDI cables: "ftdi:" (the only one plugged in), "ftdi:SERIAL"
// (its USB serial number, as /dev/serial/by-id shows it) and "ftdi:SERIAL:B"
// (interface B, C or D of a chip with more than one).  Platform-neutral.
#ifndef DLPORTIO_FTDI_NAME_H
#define DLPORTIO_FTDI_NAME_H

#include <optional>
#include <string>

namespace dlportio {

constexpr const char *kFtdiPrefix = "ftdi:";

struct FtdiName {
    std::string serial;    // empty: the only cable
    char interface = 'A';  // 'A' to 'D'

    bool operator==(const FtdiName &) const = default;
};

bool is_ftdi_name(const std::string &device);
// Nothing when the text after "ftdi:" is not a serial number with an
// optional ":A" to ":D".
std::optional<FtdiName> parse_ftdi_name(const std::string &device);
std::string ftdi_name_text(const FtdiName &name);

}  // namespace dlportio

#endif
