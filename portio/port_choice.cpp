#include "port_choice.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

#include "ftdi_name.h"

namespace dlportio {
namespace {

std::string trimmed(const std::string &text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string upper(std::string text) {
    for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool is_port(const std::string &name) { return name == "COM1" || name == "COM2"; }

bool names(const NamedBackend &backend, const std::string &value) {
    const std::string name = upper(std::string(backend.name));
    const std::string text = upper(value);
    return backend.match == NamedBackend::Match::whole ? text == name : text.starts_with(name);
}

// A bare name such as "ttyUSB0" or "COM7" is taken to live in the
// platform's device directory.
PortSetting device_setting(const std::string &value, DeviceNaming naming) {
    const bool bare = value.find_first_of(naming.separators) == std::string::npos;
    return PortSetting{kDefaultBackend, bare ? naming.directory + value : value};
}

std::optional<PortSetting> setting_of(const std::string &value, DeviceNaming naming) {
    if (value.empty() ||
        std::any_of(value.begin(), value.end(), [](unsigned char c) { return std::isspace(c) != 0; }))
        return std::nullopt;
    for (const NamedBackend &backend : kNamedBackends) {
        if (names(backend, value)) {
            return PortSetting{backend.kind, backend.match == NamedBackend::Match::whole ? "" : value};
        }
    }
    return device_setting(value, naming);
}

// "[ports]" opens the section that counts; lines before any section count too.
std::optional<std::string> section_name(const std::string &content) {
    if (content.size() < 2 || content.front() != '[' || content.back() != ']') return std::nullopt;
    return upper(trimmed(content.substr(1, content.size() - 2)));
}

// Notepad may put a byte-order mark first; one for UTF-16 means a file
// that cannot be read line by line as text here.
bool strip_byte_order_mark(std::string &first_line, const std::string &file_name, const Report &report) {
    if (first_line.starts_with("\xEF\xBB\xBF")) first_line.erase(0, 3);
    if (!first_line.starts_with("\xFF\xFE") && !first_line.starts_with("\xFE\xFF")) return true;
    report(message(file_name,
                   "saved as UTF-16 (\"Unicode\"); save it as UTF-8 or ANSI text, "
                   "file ignored"));
    return false;
}

}  // namespace

std::map<std::string, PortSetting> parse_ports_conf(std::istream &text, const std::string &file_name,
                                                    const Report &report, DeviceNaming naming) {
    std::map<std::string, PortSetting> settings;
    std::map<std::string, int> set_on_line;
    bool in_ports_section = true;
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) {
        if (number == 1 && !strip_byte_order_mark(line, file_name, report)) break;
        const std::string content = trimmed(line.substr(0, line.find('#')));
        if (content.empty() || content.front() == ';') continue;
        if (const auto section = section_name(content)) {
            in_ports_section = *section == "PORTS";
            continue;
        }
        if (!in_ports_section) continue;
        const std::string where = file_name + ":" + std::to_string(number);
        const std::size_t equals = content.find('=');
        const std::string port = upper(trimmed(content.substr(0, equals)));
        const auto setting = equals == std::string::npos
                                 ? std::nullopt
                                 : setting_of(trimmed(content.substr(equals + 1)), naming);
        if (!setting || !is_port(port)) {
            report(message(where, "\"" + content +
                                      "\" is not \"COM1 = <device>\", \"COM2 = <device>\" or "
                                      "\"COMn = off\"; line ignored"));
        } else if (set_on_line.contains(port)) {
            report(message(where, port + " is already set on line " + std::to_string(set_on_line[port]) +
                                      "; line ignored"));
        } else {
            settings[port] = *setting;
            set_on_line[port] = number;
        }
    }
    return settings;
}

PortChoice::PortChoice(Environment environment, std::vector<std::filesystem::path> files, Report report,
                       DeviceNaming naming)
    : environment_(std::move(environment)),
      files_(std::move(files)),
      report_(std::move(report)),
      naming_(naming) {}

std::optional<PortSetting> port_setting_of(const std::string &value, DeviceNaming naming) {
    return setting_of(value, naming);
}

void PortChoice::name(const std::string &port, std::optional<PortSetting> setting) {
    if (setting) {
        named_[port] = *setting;
    } else {
        named_.erase(port);
    }
}

PortSetting PortChoice::setting(const std::string &port) {
    if (const auto it = named_.find(port); it != named_.end()) return it->second;
    if (const auto value = environment_("WIRELINK_" + port)) {
        const std::string text = trimmed(*value);
        if (const auto setting = setting_of(text, naming_)) return *setting;
        if (!text.empty()) {
            report_(message("WIRELINK_" + port, "\"" + text +
                                                    "\" is neither a device path nor \"off\"; "
                                                    "the variable is ignored"));
        }
    }
    for (std::size_t file = 0; file < files_.size(); ++file) {
        const auto &settings = settings_in(file);
        if (const auto it = settings.find(port); it != settings.end()) return it->second;
    }
    return {};
}

// A file that is not there is not an error: both are optional.
const std::map<std::string, PortSetting> &PortChoice::settings_in(std::size_t file) {
    if (const auto it = read_.find(file); it != read_.end()) return it->second;
    auto &settings = read_[file];
    errno = 0;
    std::ifstream in(files_[file]);
    if (in) {
        settings = parse_ports_conf(in, files_[file].string(), report_, naming_);
    } else if (errno != 0 && errno != ENOENT && errno != ENOTDIR) {
        report_(message(files_[file].string(), std::strerror(errno)));
    }
    return settings;
}

std::vector<std::filesystem::path> ports_conf_files(const PortChoice::Environment &environment,
                                                    const std::filesystem::path &system_file) {
    std::vector<std::filesystem::path> files;
    const auto config_home = environment("XDG_CONFIG_HOME");
    const auto home = environment("HOME");
    if (config_home && std::filesystem::path(*config_home).is_absolute()) {
        files.push_back(std::filesystem::path(*config_home) / "wirelink" / "ports.conf");
    } else if (home && !home->empty()) {
        files.push_back(std::filesystem::path(*home) / ".config" / "wirelink" / "ports.conf");
    }
    files.push_back(system_file);
    return files;
}

}  // namespace dlportio
