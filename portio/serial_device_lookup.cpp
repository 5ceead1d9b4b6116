#include "serial_device_lookup.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace dlportio {
namespace {

bool is_serial_entry(const std::string &name) { return name.size() > 4 && name.starts_with("ttyS"); }

// The kernel writes "port" in hex and "type" in decimal.
std::optional<unsigned long> read_number(const std::filesystem::path &file, int base) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) return std::nullopt;
    errno = 0;
    char *end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, base);
    if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
    return value;
}

// The words of a file: console/active is one line of names, /proc/consoles
// a line per console that starts with its name.
bool names_in(const std::filesystem::path &file, const std::string &name, bool first_word_only) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (word == name) return true;
            if (first_word_only) break;
        }
    }
    return false;
}

std::vector<std::string> serial_entries(const std::filesystem::path &root) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (is_serial_entry(name)) names.push_back(std::move(name));
    }
    // Directory order is arbitrary; take ttyS0 before ttyS1 whatever it is.
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::optional<std::string> find_serial_device(const std::filesystem::path &tty_class_root,
                                              unsigned long io_base) {
    for (const std::string &name : serial_entries(tty_class_root)) {
        if (read_number(tty_class_root / name / "type", 10) == 0) continue;
        if (read_number(tty_class_root / name / "port", 16) == io_base) return name;
    }
    return std::nullopt;
}

bool is_active_console(const std::filesystem::path &tty_class_root,
                       const std::filesystem::path &proc_consoles, const std::string &tty_name) {
    return names_in(tty_class_root / "console" / "active", tty_name, false) ||
           names_in(proc_consoles, tty_name, true);
}

std::optional<std::string> tty_driver(const std::filesystem::path &tty_class_root,
                                      const std::string &tty_name) {
    std::error_code error;
    const auto driver = std::filesystem::read_symlink(tty_class_root / tty_name / "device" / "driver", error);
    if (error || driver.filename().empty()) return std::nullopt;
    return driver.filename().string();
}

}  // namespace dlportio
