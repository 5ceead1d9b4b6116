#include "serial_device_lookup.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace dlportio {
namespace {

bool is_serial_entry(const std::string& name) {
    return name.size() > 4 && name.starts_with("ttyS");
}

std::optional<unsigned long> read_io_base(const std::filesystem::path& port_file) {
    std::ifstream in(port_file);
    std::string text;
    if (!(in >> text)) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
    return value;
}

std::vector<std::string> serial_entries(const std::filesystem::path& root) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (is_serial_entry(name)) names.push_back(std::move(name));
    }
    // Directory order is arbitrary; take ttyS0 before ttyS1 whatever it is.
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::optional<std::string> find_serial_device(const std::filesystem::path& tty_class_root,
                                              unsigned long io_base) {
    for (const std::string& name : serial_entries(tty_class_root)) {
        if (read_io_base(tty_class_root / name / "port") == io_base) return name;
    }
    return std::nullopt;
}

}  // namespace dlportio
