#include "port_option.h"

#include <algorithm>
#include <cctype>

#include "failure.h"
#include "numbers.h"

namespace cli {
namespace {

std::string lower(std::string text) {
    for (char &c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "com3" is a typing slip or a Windows habit, not a device under /dev.
bool names_another_com_port(const std::string &name) {
    return name.size() > 3 && name.starts_with("com") &&
           std::all_of(name.begin() + 3, name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool has_blank(const std::string &text) {
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

const char *const kPortNames = "com1, com2, search, off or a device (/dev/ttyUSB0, ftdi:SERIAL)";

}  // namespace

PortOption parse_port_option(const std::string &port, const std::string &slot) {
    const std::string name = lower(port);
    if (name.empty()) throw usage_error(std::string("--port: empty; give ") + kPortNames);
    PortOption option;
    if (name == "com1" || name == "com2" || name == "search") {
        if (!slot.empty()) throw usage_error("--slot: goes with a device or off, not with --port " + port);
        option.port_choice = name == "search" ? 0 : name == "com1" ? 1 : 2;
        return option;
    }
    if (names_another_com_port(name) || has_blank(port)) {
        throw usage_error("--port: '" + port + "' is not " + kPortNames);
    }
    option.port_choice = slot.empty() ? 1 : static_cast<int32_t>(parse_number(slot, "--slot", 1, 2));
    option.device = port;
    return option;
}

}  // namespace cli
