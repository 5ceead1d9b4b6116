// The serial devices come from the kernel's tty class and /dev/serial/by-id,
// the FTDI cables from libusb (through libftdi1, when the tool was built
// with it), and the COM1/COM2 settings from the same places the port driver
// reads them.  Nothing is opened but files in /sys and the USB descriptors.

#include "ports_command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ftdi_name.h"
#include "port_choice.h"
#include "serial_device_lookup.h"

#if defined(WIRELINK_WITH_FTDI)
#include "ftdi_api.h"
#include "ftdi_device.h"
#endif

namespace cli {
namespace {

namespace fs = std::filesystem;

const fs::path kTtyClass = "/sys/class/tty";
const fs::path kById = "/dev/serial/by-id";

std::string first_line(const fs::path &file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// The USB device above a tty: the nearest directory with an idVendor.
std::optional<fs::path> usb_device_of(const std::string &tty) {
    std::error_code error;
    fs::path dir = fs::canonical(kTtyClass / tty / "device", error);
    for (int up = 0; !error && up < 4 && !dir.empty(); ++up, dir = dir.parent_path()) {
        if (fs::exists(dir / "idVendor")) return dir;
    }
    return std::nullopt;
}

std::map<std::string, std::string> by_id_links() {
    std::map<std::string, std::string> links;  // tty name to its by-id path
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(kById, error)) {
        const fs::path target = fs::canonical(entry.path(), error);
        if (!error) links[target.filename().string()] = entry.path().string();
    }
    return links;
}

void print_serial_ports(const std::map<std::string, std::string> &configured) {
    std::error_code error;
    const auto links = by_id_links();
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(kTtyClass, error))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::printf("Serial devices:\n");
    bool any = false;
    for (const std::string &name : names) {
        const std::string device = "/dev/" + name;
        const auto it = configured.find(device);
        const std::string as = it != configured.end() ? "  (configured as " + it->second + ")" : "";
        if (name.starts_with("ttyS")) {
            const std::string type = first_line(kTtyClass / name / "type");
            if (type.empty() || type == "0") continue;  // no UART answers there
            std::printf("  %-14s on-board UART at %s%s\n", device.c_str(),
                        first_line(kTtyClass / name / "port").c_str(), as.c_str());
        } else if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) {
            const std::string driver = dlportio::tty_driver(kTtyClass, name).value_or("?");
            const auto usb = usb_device_of(name);
            const std::string chip = usb ? first_line(*usb / "product") : "";
            const std::string serial = usb ? first_line(*usb / "serial") : "";
            std::printf("  %-14s %s, %s, serial %s%s\n", device.c_str(), driver.c_str(),
                        chip.empty() ? "?" : chip.c_str(), serial.empty() ? "?" : serial.c_str(), as.c_str());
            if (const auto link = links.find(name); link != links.end())
                std::printf("  %-14s %s\n", "", link->second.c_str());
            if (driver == "ftdi_sio" && !serial.empty())
                std::printf("  %-14s faster as %s%s\n", "", dlportio::kFtdiPrefix, serial.c_str());
            if (driver == "cdc_acm") std::printf("  %-14s a CDC-ACM device cannot carry the adapter\n", "");
        } else {
            continue;
        }
        any = true;
    }
    if (!any) std::printf("  none\n");
}

void print_ftdi_cables(const std::map<std::string, std::string> &configured) {
    std::printf("FTDI cables through libusb:\n");
#if defined(WIRELINK_WITH_FTDI)
    std::string error;
    const auto cables = dlportio::list_ftdi_cables(dlportio::ftdi_api_of_process(), error);
    if (!error.empty()) std::printf("  %s\n", error.c_str());
    for (const auto &cable : cables) {
        const auto it = configured.find(cable.name);
        std::printf("  %-14s %s%s\n", cable.name.c_str(), cable.description.c_str(),
                    it != configured.end() ? ("  (configured as " + it->second + ")").c_str() : "");
    }
    if (cables.empty() && error.empty())
        std::printf("  none (or none readable: see examples/60-wirelink-ftdi.rules)\n");
#else
    std::printf("  not looked for: this wirelink was built without libftdi1\n");
#endif
}

}  // namespace

CLI::App *add_ports_command(CLI::App &app) {
    return app.add_subcommand("ports", "List what could carry the adapter and what COM1 and COM2 are set to");
}

int list_ports() {
    const dlportio::PortChoice::Environment environment =
        [](const std::string &name) -> std::optional<std::string> {
        const char *value = std::getenv(name.c_str());
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    dlportio::PortChoice choice(environment,
                                dlportio::ports_conf_files(environment, "/etc/wirelink/ports.conf"),
                                [](const std::string &line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    std::map<std::string, std::string> configured;  // device to port
    std::vector<std::string> settings;
    for (const char *port : {"COM1", "COM2"}) {
        const dlportio::PortSetting setting = choice.setting(port);
        switch (setting.kind) {
        case dlportio::PortSetting::Kind::device:
            configured[setting.device] = port;
            settings.push_back(std::string(port) + " = " + setting.device);
            break;
        case dlportio::PortSetting::Kind::off:
            settings.push_back(std::string(port) + " = off");
            break;
        case dlportio::PortSetting::Kind::unnamed:
            settings.push_back(std::string(port) + " not named: the on-board UART at its address");
            break;
        }
    }
    print_serial_ports(configured);
    print_ftdi_cables(configured);
    std::printf("Configured (WIRELINK_COM1/WIRELINK_COM2, ports.conf):\n");
    for (const std::string &line : settings) std::printf("  %s\n", line.c_str());
    return 0;
}

}  // namespace cli
