// The serial devices come from the kernel's tty class and /dev/serial/by-id,
// the FTDI cables from libusb (through libftdi1, when the tool was built
// with it), and the COM1/COM2 settings from the same places the port driver
// reads them.  Nothing is opened but files in /sys and the USB descriptors.

#include "ports_command.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ftdi_name.h"
#include "json_output.h"
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

// One serial device the kernel has, as the list shows it.
struct SerialPort {
    std::string device;   // "/dev/ttyUSB0"
    bool usb = false;     // else an on-board UART
    std::string io_port;  // the UART's I/O base as sysfs gives it ("0x000003F8")
    std::string driver, product, serial, by_id, ftdi_name;
    bool cdc_acm = false;  // cannot carry the adapter
};

std::optional<SerialPort> serial_port(const std::string &name,
                                      const std::map<std::string, std::string> &links) {
    SerialPort port;
    port.device = "/dev/" + name;
    if (name.starts_with("ttyS")) {
        const std::string type = first_line(kTtyClass / name / "type");
        if (type.empty() || type == "0") return std::nullopt;  // no UART answers there
        port.io_port = first_line(kTtyClass / name / "port");
        return port;
    }
    if (!name.starts_with("ttyUSB") && !name.starts_with("ttyACM")) return std::nullopt;
    port.usb = true;
    port.driver = dlportio::tty_driver(kTtyClass, name).value_or("?");
    const auto usb = usb_device_of(name);
    port.product = usb ? first_line(*usb / "product") : "";
    port.serial = usb ? first_line(*usb / "serial") : "";
    if (const auto link = links.find(name); link != links.end()) port.by_id = link->second;
    if (port.driver == "ftdi_sio" && !port.serial.empty())
        port.ftdi_name = dlportio::kFtdiPrefix + port.serial;
    port.cdc_acm = port.driver == "cdc_acm";
    return port;
}

std::vector<SerialPort> serial_ports() {
    std::error_code error;
    const auto links = by_id_links();
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(kTtyClass, error))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::vector<SerialPort> ports;
    for (const std::string &name : names) {
        if (auto port = serial_port(name, links)) ports.push_back(std::move(*port));
    }
    return ports;
}

struct FtdiCables {
    bool looked = false;                                      // built with libftdi1
    std::string error;                                        // why libusb could not be asked
    std::vector<std::pair<std::string, std::string>> cables;  // name, description
};

FtdiCables ftdi_cables() {
    FtdiCables found;
#if defined(WIRELINK_WITH_FTDI)
    found.looked = true;
    for (const auto &cable : dlportio::list_ftdi_cables(dlportio::ftdi_api_of_process(), found.error))
        found.cables.emplace_back(cable.name, cable.description);
#endif
    return found;
}

// "COM1" for a device configured as that port, else "".
std::string configured_as(const std::map<std::string, std::string> &configured, const std::string &device) {
    const auto it = configured.find(device);
    return it != configured.end() ? it->second : "";
}

std::string or_unknown(const std::string &text) { return text.empty() ? "?" : text; }

void print_serial_ports(const std::vector<SerialPort> &ports,
                        const std::map<std::string, std::string> &configured) {
    std::printf("Serial devices:\n");
    for (const SerialPort &port : ports) {
        const std::string as_port = configured_as(configured, port.device);
        const std::string as = as_port.empty() ? "" : "  (configured as " + as_port + ")";
        if (!port.usb) {
            std::printf("  %-14s on-board UART at %s%s\n", port.device.c_str(), port.io_port.c_str(),
                        as.c_str());
            continue;
        }
        std::printf("  %-14s %s, %s, serial %s%s\n", port.device.c_str(), port.driver.c_str(),
                    or_unknown(port.product).c_str(), or_unknown(port.serial).c_str(), as.c_str());
        if (!port.by_id.empty()) std::printf("  %-14s %s\n", "", port.by_id.c_str());
        if (!port.ftdi_name.empty()) std::printf("  %-14s faster as %s\n", "", port.ftdi_name.c_str());
        if (port.cdc_acm) std::printf("  %-14s a CDC-ACM device cannot carry the adapter\n", "");
    }
    if (ports.empty()) std::printf("  none\n");
}

void print_ftdi_cables(const FtdiCables &found, const std::map<std::string, std::string> &configured) {
    std::printf("FTDI cables through libusb:\n");
    if (!found.looked) {
        std::printf("  not looked for: this wirelink was built without libftdi1\n");
        return;
    }
    if (!found.error.empty()) std::printf("  %s\n", found.error.c_str());
    for (const auto &[name, description] : found.cables) {
        const std::string as_port = configured_as(configured, name);
        std::printf("  %-14s %s%s\n", name.c_str(), description.c_str(),
                    as_port.empty() ? "" : ("  (configured as " + as_port + ")").c_str());
    }
    if (found.cables.empty() && found.error.empty())
        std::printf("  none (or none readable: see examples/60-wirelink-ftdi.rules)\n");
}

Json text_or_null(const std::string &text) { return text.empty() ? Json() : Json(text); }

Json serial_port_json(const SerialPort &port, const std::map<std::string, std::string> &configured) {
    Json object = {{"device", port.device}, {"type", port.usb ? "usb" : "uart"}};
    if (!port.usb) {
        object["io_port"] = static_cast<int64_t>(std::strtoll(port.io_port.c_str(), nullptr, 16));
    } else {
        object["driver"] = port.driver;
        object["product"] = text_or_null(port.product);
        object["serial"] = text_or_null(port.serial);
        object["by_id"] = text_or_null(port.by_id);
        object["ftdi"] = text_or_null(port.ftdi_name);
    }
    object["configured_as"] = text_or_null(configured_as(configured, port.device));
    object["can_carry_adapter"] = !port.cdc_acm;
    return object;
}

void print_ports_json(const std::vector<SerialPort> &ports, const FtdiCables &found,
                      const std::map<std::string, std::string> &configured, const Json &settings) {
    Json serial = Json::array();
    for (const SerialPort &port : ports) serial.push_back(serial_port_json(port, configured));
    Json cables = Json::array();
    for (const auto &[name, description] : found.cables) {
        cables.push_back({{"name", name},
                          {"description", description},
                          {"configured_as", text_or_null(configured_as(configured, name))}});
    }
    print_json({{"serial", serial},
                {"ftdi", found.looked ? cables : Json()},
                {"ftdi_error", text_or_null(found.error)},
                {"configured", settings}});
}

}  // namespace

CLI::App *add_ports_command(CLI::App &app) {
    return app.add_subcommand("ports", "List what could carry the adapter and what COM1 and COM2 are set to");
}

int list_ports(bool json) {
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
    Json settings_json = Json::object();
    for (const char *port : {"COM1", "COM2"}) {
        const dlportio::PortSetting setting = choice.setting(port);
        switch (setting.kind) {
        case dlportio::PortSetting::Kind::device:
            configured[setting.device] = port;
            settings.push_back(std::string(port) + " = " + setting.device);
            settings_json[port] = setting.device;
            break;
        case dlportio::PortSetting::Kind::off:
            settings.push_back(std::string(port) + " = off");
            settings_json[port] = "off";
            break;
        case dlportio::PortSetting::Kind::unnamed:
            settings.push_back(std::string(port) + " not named: the on-board UART at its address");
            settings_json[port] = nullptr;
            break;
        }
    }
    const std::vector<SerialPort> ports = serial_ports();
    const FtdiCables found = ftdi_cables();
    if (json) {
        print_ports_json(ports, found, configured, settings_json);
        return 0;
    }
    print_serial_ports(ports, configured);
    print_ftdi_cables(found, configured);
    std::printf("Configured (WIRELINK_COM1/WIRELINK_COM2, ports.conf):\n");
    for (const std::string &line : settings) std::printf("  %s\n", line.c_str());
    return 0;
}

}  // namespace cli
