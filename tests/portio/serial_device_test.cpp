// A serial device named for a port, as the port driver uses it: which device
// is opened, what opening it takes and gives back, the modem ioctls each
// register access costs, and a device that goes away and comes back.

#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>

#include "fake_system.h"
#include "port_driver.h"

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

constexpr unsigned long kData = 0x3F8, kMcr = 0x3FC, kMsr = 0x3FE;
const std::string kUsb = "/dev/ttyUSB0";
constexpr int kOut2 = 0x4000;

class NamedDevice : public ::testing::Test {
protected:
    NamedDevice() {
        system_.variables = {{"WIRELINK_COM1", kUsb}, {"WIRELINK_COM2", "off"}};
        system_.devices[kUsb] = {};
        for (const char *tty : {"ttyS0", "ttyS1"}) system_.devices[std::string("/dev/") + tty] = {};
        sysfs_.add_tty("ttyS0", "0x3F8");
        sysfs_.add_tty("ttyS1", "0x2F8");
    }

    FakeDevice &usb() { return system_.devices[kUsb]; }
    template <typename Access>
    Strings ioctls_of(Access access) {
        system_.modem_ioctls.clear();
        access();
        return system_.modem_ioctls;
    }

    FakeSysfs sysfs_;
    FakeSystem system_;
    dlportio::PortDriverPaths paths_{sysfs_.root(), sysfs_.root() / "ports.conf", sysfs_.root(),
                                     sysfs_.root() / "consoles"};
    dlportio::PortDriver driver_{system_, paths_};
};

TEST_F(NamedDevice, OnlyTheNamedDeviceIsOpenedWhetherNamedByVariableOrFile) {
    for (const bool by_file : {false, true}) {
        FakeSystem system;
        system.devices = system_.devices;
        if (by_file)
            std::ofstream(paths_.system_config) << "COM1 = " << kUsb << "\nCOM2 = off\n";
        else
            system.variables = system_.variables;
        dlportio::PortDriver driver(system, paths_);
        for (unsigned long port : {0x2F8UL, 0x3F8UL}) {
            for (unsigned offset = 0; offset < 8; ++offset) {
                driver.write(port + offset, 0x03);
                driver.read(port + offset);
            }
        }
        EXPECT_EQ(system.open_attempts, Strings{kUsb}) << "by file " << by_file;
        EXPECT_TRUE(system.claimed_io_bases.empty());
        EXPECT_TRUE(system.messages.empty());
        EXPECT_EQ(system.devices[kUsb].lines, TIOCM_DTR | TIOCM_RTS);
    }
}

struct Refusal {
    const char *why;
    void (*arrange)(FakeSysfs &, FakeSystem &);
    const char *message;
};
void PrintTo(const Refusal &refusal, std::ostream *out) { *out << refusal.why; }

class RefusedDevice : public NamedDevice, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedDevice, LeavesAnEmptyPortAndSaysWhyOnce) {
    system_.io_ports_allowed = true;  // a named device is never gone around
    GetParam().arrange(sysfs_, system_);
    for (unsigned long port = 0x3F8; port <= 0x3FF; ++port) {
        driver_.write(port, 0x00);
        EXPECT_EQ(driver_.read(port), 0xFF);
    }
    EXPECT_EQ(system_.messages, Strings{GetParam().message});
    EXPECT_LE(system_.open_attempts.size(), 1u);
    EXPECT_EQ(system_.open_descriptors, 0);
    EXPECT_TRUE(system_.claimed_io_bases.empty());
}

INSTANTIATE_TEST_SUITE_P(
    NamedDevice, RefusedDevice,
    ::testing::Values(
        Refusal{"NotAllowed", [](FakeSysfs &, FakeSystem &s) { s.devices[kUsb].open_error = EACCES; },
                "wirelink: COM1 = /dev/ttyUSB0: Permission denied (is the user in the dialout group?)"},
        Refusal{"Unplugged", [](FakeSysfs &, FakeSystem &s) { s.devices.erase(kUsb); },
                "wirelink: COM1 = /dev/ttyUSB0: No such file or directory (is it plugged in? "
                "ls -l /dev/serial/by-id/ lists the USB cables)"},
        Refusal{"LockedByAnotherProgram", [](FakeSysfs &, FakeSystem &s) { s.held_elsewhere.insert(kUsb); },
                "wirelink: COM1 = /dev/ttyUSB0: in use by another program (close it, and keep "
                "ModemManager off the device)"},
        Refusal{"ExclusiveToAnotherProgram",
                [](FakeSysfs &, FakeSystem &s) { s.devices[kUsb].open_error = EBUSY; },
                "wirelink: COM1 = /dev/ttyUSB0: in use by another program (close it, and keep "
                "ModemManager off the device)"},
        Refusal{"PseudoTerminal", [](FakeSysfs &, FakeSystem &s) { s.devices[kUsb].modem_error = EINVAL; },
                "wirelink: COM1 = /dev/ttyUSB0: not a serial port with modem lines (Invalid argument)"},
        Refusal{"CdcAcm",
                [](FakeSysfs &f, FakeSystem &) { f.add_tty("ttyUSB0", nullptr, nullptr, "cdc_acm"); },
                "wirelink: COM1 = /dev/ttyUSB0: a USB modem (CDC-ACM) device cannot carry the adapter: "
                "its driver reports CTS always set, so SCL cannot be read back; use a cable with an "
                "FTDI, CP210x, CH340 or PL2303 chip"}),
    [](const auto &info) { return std::string(info.param.why); });

// Hardware flow control off and no waiting for carrier while the port is in
// use; as found afterwards.  A device already set so is not touched.
TEST_F(NamedDevice, SettingsFreeTheLinesAndGoBackOnRelease) {
    system_.variables["WIRELINK_COM2"] = "/dev/ttyUSB1";
    system_.devices["/dev/ttyUSB1"].settings.c_cflag = CLOCAL | CS8;
    usb().settings.c_cflag = CRTSCTS | CS8 | CREAD;
    driver_.read(kMcr);
    driver_.read(0x2FC);
    EXPECT_EQ(system_.control_flags_set, std::vector<tcflag_t>{CS8 | CREAD | CLOCAL});
    driver_.release();
    EXPECT_EQ(system_.control_flags_set.back(), tcflag_t(CRTSCTS | CS8 | CREAD));
    EXPECT_EQ(system_.control_flags_set.size(), 2u);
    EXPECT_EQ(system_.open_descriptors, 0);
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    EXPECT_EQ(system_.open_attempts.size(), 2u);
}

TEST_F(NamedDevice, EachRegisterAccessCostsAtMostOneModemIoctl) {
    sysfs_.add_tty("ttyUSB0", nullptr, nullptr, "ftdi_sio");  // asks the chip at every TIOCMGET
    usb().lines = kOut2;  // as the kernel reports a UART with interrupts on
    const struct {
        uint8_t before, after;
        Strings ioctls;
        int lines;
    } writes[] = {
        {0x00, 0x00, {}, 0},
        {0x01, 0x1D, {}, TIOCM_DTR},  // OUT1, OUT2, loop-back stay in the register
        {0x00, 0x01, {"TIOCMBIS"}, TIOCM_DTR},
        {0x00, 0x03, {"TIOCMBIS"}, TIOCM_DTR | TIOCM_RTS},
        {0x03, 0x01, {"TIOCMBIC"}, TIOCM_DTR},
        {0x03, 0x00, {"TIOCMBIC"}, 0},
        {0x01, 0x02, {"TIOCMSET"}, TIOCM_RTS},
        {0x02, 0x01, {"TIOCMSET"}, TIOCM_DTR},
    };
    for (const auto &w : writes) {
        driver_.write(kMcr, w.before);
        EXPECT_EQ(ioctls_of([&] { driver_.write(kMcr, w.after); }), w.ioctls)
            << int(w.before) << " to " << int(w.after);
        EXPECT_EQ(usb().lines, w.lines | kOut2);
    }
    EXPECT_EQ(ioctls_of([&] { driver_.read(kMsr); }), Strings{"TIOCMGET"});
    EXPECT_EQ(ioctls_of([&] {
                  for (unsigned long port : {kData, kMcr, kData + 1, kData + 7}) driver_.read(port);
              }),
              Strings{});
}

// CH340 and PL2303 drivers answer TIOCMGET from the chip's last status
// message, which trails a line change.  A clock pulse as the bus makes it
// (SCL falls, SDA changes, SCL rises and is read) must never be read from a
// status older than the rise.
TEST_F(NamedDevice, InputsReportedLateAreReadOnlyOnceTheChangeShows) {
    const struct {
        const char *driver;
        bool lags;
    } cases[] = {{"ch341-uart", true}, {"pl2303", true}, {"ftdi_sio", false}, {"cp210x", false}};
    for (const auto &c : cases) {
        FakeSysfs sysfs;
        sysfs.add_tty("ttyUSB0", nullptr, nullptr, c.driver);
        FakeSystem system;
        system.devices = system_.devices;
        system.devices[kUsb].adapter = true;
        if (c.lags) system.devices[kUsb].report_delay = 2ms;
        system.variables = system_.variables;
        dlportio::PortDriver driver(system, {sysfs.root(), sysfs.root() / "ports.conf", sysfs.root()});
        driver.write(kMcr, 0x03);
        int reads = 0;
        for (const uint8_t sda : {0, 1, 1, 0}) {
            driver.write(kMcr, sda);
            driver.write(kMcr, sda | 0x02);
            EXPECT_EQ(driver.read(kMsr) & 0x30, 0x10 | (sda ? 0x20 : 0)) << c.driver;
            ++reads;
        }
        const auto gets = std::count(system.modem_ioctls.begin(), system.modem_ioctls.end(), "TIOCMGET");
        if (c.lags) {
            EXPECT_GT(gets, reads + 1) << c.driver;
        } else {
            EXPECT_EQ(gets, reads + 1) << c.driver << ": one at open, one per status read";
            EXPECT_TRUE(system.sleeps.empty()) << c.driver;
        }
    }
}

// On such a device a clock held low (no adapter answering here) costs one
// bounded wait for its rise, not one per clock.
TEST_F(NamedDevice, ClockHeldLowWithLateInputsCostsOneBoundedWait) {
    sysfs_.add_tty("ttyUSB0", nullptr, nullptr, "ch341-uart");
    usb().report_delay = 2ms;
    driver_.write(kMcr, 0x02);
    const auto start = system_.clock;
    driver_.read(kMsr);
    EXPECT_GE(system_.clock - start, 25ms);
    for (int clock = 0; clock < 3; ++clock) {
        driver_.write(kMcr, 0x00);
        driver_.write(kMcr, 0x02);
        EXPECT_EQ(ioctls_of([&] { driver_.read(kMsr); }), Strings{"TIOCMGET"});
    }
}

TEST_F(NamedDevice, ALostDeviceEmptiesThePortAtOnceAndIsFoundAgainAfterASecond) {
    const Strings gone{
        "wirelink: COM1 = /dev/ttyUSB0: the device went away (Input/output error); "
        "the port reads empty until it is back"};
    usb().adapter = true;
    driver_.write(kMcr, 0x03);
    driver_.read(kMsr);
    usb().modem_error = EIO;  // the cable is pulled in the middle of a transaction
    driver_.write(kMcr, 0x01);
    EXPECT_EQ(system_.messages, gone);
    EXPECT_EQ(system_.open_descriptors, 0);

    const int calls = system_.calls;
    for (int i = 0; i < 1000; ++i) {
        driver_.write(kMcr, uint8_t(i));
        for (unsigned long port : {kData, kMcr, kMsr}) EXPECT_EQ(driver_.read(port), 0xFF);
    }
    system_.clock += 999ms;
    driver_.read(kMsr);
    EXPECT_EQ(system_.calls, calls) << "no system call before a second has passed";

    usb() = {.open_error = ENOENT};
    system_.clock += 1ms;
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    EXPECT_EQ(system_.open_attempts.size(), 2u);
    EXPECT_EQ(system_.messages, gone) << "an empty socket is not news";

    usb() = {.lines = TIOCM_DTR | TIOCM_RTS | TIOCM_DSR | TIOCM_CTS, .adapter = true};  // plugged back in
    system_.clock += 1s;
    driver_.write(kMcr, 0x00);  // the next adapter probe
    EXPECT_EQ(driver_.read(kMsr), 0x03);
    EXPECT_EQ(usb().lines, 0);
    EXPECT_EQ(system_.messages.back(), "wirelink: COM1 = /dev/ttyUSB0: found again");
    EXPECT_EQ(system_.messages.size(), 2u);
}

}  // namespace
