#include "ftdi_name.h"

#include <algorithm>
#include <cctype>

namespace dlportio {

bool is_ftdi_name(const std::string &device) { return device.starts_with(kFtdiPrefix); }

std::optional<FtdiName> parse_ftdi_name(const std::string &device) {
    if (!is_ftdi_name(device)) return std::nullopt;
    std::string rest = device.substr(std::char_traits<char>::length(kFtdiPrefix));
    FtdiName name;
    if (const std::size_t colon = rest.find(':'); colon != std::string::npos) {
        const std::string interface = rest.substr(colon + 1);
        if (interface.size() != 1) return std::nullopt;
        name.interface = static_cast<char>(std::toupper(static_cast<unsigned char>(interface[0])));
        if (name.interface < 'A' || name.interface > 'D') return std::nullopt;
        rest.erase(colon);
        if (rest.empty()) return std::nullopt;
    }
    const auto printable = [](unsigned char c) { return std::isgraph(c) != 0 && c != ':'; };
    if (!std::all_of(rest.begin(), rest.end(), printable)) return std::nullopt;
    name.serial = rest;
    return name;
}

std::string ftdi_name_text(const FtdiName &name) {
    std::string text = kFtdiPrefix + name.serial;
    if (name.interface != 'A') text += std::string(":") + name.interface;
    return text;
}

}  // namespace dlportio
