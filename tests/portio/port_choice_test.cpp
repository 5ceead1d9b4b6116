// Which device the user named for a port: the variable, the user's file and
// the system's file in that order; and what a malformed file line gives.

#include "port_choice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fake_system.h"

namespace {

using dlportio::PortChoice;
using dlportio::PortSetting;
using Kind = PortSetting::Kind;

struct Named {
    const char *variable;  // null: not set
    const char *user_file;
    const char *system_file;
    PortSetting com1;
};

TEST(PortChoice, TheVariableComesFirstThenTheUsersFileThenTheSystems) {
    const Named cases[] = {
        {"/dev/ttyUSB0", "COM1 = /dev/ttyUSB1", "COM1 = /dev/ttyUSB2", {Kind::device, "/dev/ttyUSB0"}},
        {"off", "COM1 = /dev/ttyUSB1", nullptr, {Kind::off, ""}},
        {" ttyUSB3 ", nullptr, nullptr, {Kind::device, "/dev/ttyUSB3"}},
        {"", nullptr, "COM1 = /dev/ttyS4", {Kind::device, "/dev/ttyS4"}},
        {nullptr,
         "COM1 = /dev/serial/by-id/usb-FTDI_X",
         "COM1 = /dev/ttyUSB2",
         {Kind::device, "/dev/serial/by-id/usb-FTDI_X"}},
        {nullptr, "COM2 = off", "com1 = OFF", {Kind::off, ""}},
        {nullptr, "COM2 = off", nullptr, {}},
    };
    for (const Named &c : cases) {
        FakeSysfs dir;
        const auto user = dir.root() / "user.conf", system = dir.root() / "system.conf";
        if (c.user_file) std::ofstream(user) << c.user_file << '\n';
        if (c.system_file) std::ofstream(system) << c.system_file << '\n';
        std::vector<std::string> messages;
        PortChoice choice(
            [&](const std::string &name) -> std::optional<std::string> {
                if (name == "WIRELINK_COM1" && c.variable) return c.variable;
                return std::nullopt;
            },
            {user, system}, [&](const std::string &line) { messages.push_back(line); });
        EXPECT_EQ(choice.setting("COM1"), c.com1) << (c.variable ? c.variable : "(unset)");
        EXPECT_TRUE(messages.empty());
    }
}

TEST(PortChoice, TheUsersFileIsInTheXdgConfigDirectory) {
    const struct {
        std::map<std::string, std::string> variables;
        std::vector<std::filesystem::path> files;
    } cases[] = {
        {{{"XDG_CONFIG_HOME", "/x/cfg"}, {"HOME", "/home/u"}}, {"/x/cfg/wirelink/ports.conf", "/etc/p"}},
        {{{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}},
         {"/home/u/.config/wirelink/ports.conf", "/etc/p"}},
        {{}, {"/etc/p"}},
    };
    for (const auto &c : cases) {
        auto variables = c.variables;
        const auto environment = [&](const std::string &name) -> std::optional<std::string> {
            if (!variables.contains(name)) return std::nullopt;
            return variables[name];
        };
        EXPECT_EQ(dlportio::ports_conf_files(environment, "/etc/p"), c.files);
    }
}

TEST(PortChoice, MalformedLinesAreReportedWithFileAndLineAndIgnored) {
    std::istringstream text(
        "# the bench PC\n"
        "COM1 = /dev/ttyUSB0   # the FTDI cable\n"
        "\n"
        "COM3 = /dev/ttyUSB1\n"
        "COM2\n"
        "COM2 = two words\n"
        "COM1 = /dev/ttyUSB9\n"
        "  com2=off\n");
    std::vector<std::string> messages;
    const auto settings = dlportio::parse_ports_conf(
        text, "ports.conf", [&](const std::string &line) { messages.push_back(line); });
    EXPECT_EQ(settings, (std::map<std::string, PortSetting>{{"COM1", {Kind::device, "/dev/ttyUSB0"}},
                                                            {"COM2", {Kind::off, ""}}}));
    const char *const kForm =
        "\" is not \"COM1 = <device>\", \"COM2 = <device>\" or \"COMn = off\"; line ignored";
    EXPECT_EQ(messages, (std::vector<std::string>{
                            std::string("wirelink: ports.conf:4: \"COM3 = /dev/ttyUSB1") + kForm,
                            std::string("wirelink: ports.conf:5: \"COM2") + kForm,
                            std::string("wirelink: ports.conf:6: \"COM2 = two words") + kForm,
                            "wirelink: ports.conf:7: COM1 is already set on line 2; line ignored"}));
}

}  // namespace
