// Which device stands for each legacy serial port (COM1 at 0x3F8, COM2 at
// 0x2F8), as the user named it: the environment variable WIRELINK_COM1 or
// WIRELINK_COM2 first, then the lines "COM1 = <device>" or "COM1 = off" of
// each configuration file in turn.  A port named nowhere is left to the
// platform's own search.  A device may also be an FTDI cable: "ftdi:",
// "ftdi:SERIAL" or "ftdi:SERIAL:B" (ftdi_name.h).
//
// The files may also be written as INI files: lines are read outside any
// section and in a "[ports]" section, and a line starting with ";" is a
// comment.
#ifndef DLPORTIO_PORT_CHOICE_H
#define DLPORTIO_PORT_CHOICE_H

#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "port_backends.h"
#include "report.h"

namespace dlportio {

struct PortSetting {
    using Kind = PortKind;
    Kind kind = Kind::unnamed;
    std::string device;  // a path, for Kind::device

    bool operator==(const PortSetting &) const = default;
};

// Where a bare device name ("ttyUSB0", "COM7") lives: a name with none of
// the separators in it gets the directory put in front.
struct DeviceNaming {
    const char *directory;
    const char *separators;
};
constexpr DeviceNaming kLinuxDevices{"/dev/", "/"};
constexpr DeviceNaming kWindowsDevices{"\\\\.\\", "\\/"};

// "COM1" and "COM2" to their settings.  A line that is not of the form
// "COMn = <device>" or "COMn = off" is reported with file_name and its line
// number, and ignored; "#" starts a comment.
std::map<std::string, PortSetting> parse_ports_conf(std::istream &text, const std::string &file_name,
                                                    const Report &report,
                                                    DeviceNaming naming = kLinuxDevices);

// One device name as a user writes it ("ttyUSB0", "/dev/ttyUSB0",
// "ftdi:SERIAL", "off"); nothing for an empty name or one with blanks.
std::optional<PortSetting> port_setting_of(const std::string &value, DeviceNaming naming = kLinuxDevices);

class PortChoice {
public:
    using Environment = std::function<std::optional<std::string>(const std::string &name)>;

    // files: in order of precedence.  Each is read at most once, and only
    // when a port is not named by its variable.
    PortChoice(Environment environment, std::vector<std::filesystem::path> files, Report report,
               DeviceNaming naming = kLinuxDevices);

    PortSetting setting(const std::string &port);
    // Overrides every other source for port ("COM1", "COM2") until called
    // again with nothing.
    void name(const std::string &port, std::optional<PortSetting> setting);

private:
    const std::map<std::string, PortSetting> &settings_in(std::size_t file);

    Environment environment_;
    std::vector<std::filesystem::path> files_;
    Report report_;
    DeviceNaming naming_;
    std::map<std::size_t, std::map<std::string, PortSetting>> read_;
    std::map<std::string, PortSetting> named_;
};

// The user's file ($XDG_CONFIG_HOME/wirelink/ports.conf, by default
// ~/.config/wirelink/ports.conf), then the system's.
std::vector<std::filesystem::path> ports_conf_files(const PortChoice::Environment &environment,
                                                    const std::filesystem::path &system_file);

}  // namespace dlportio

#endif
