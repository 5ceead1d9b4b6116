// Which address reaches which port and which device; the registers of a port
// as seen through its serial device's modem lines, and the calls each access
// costs; and what happens when a port cannot be reached, is taken, or goes away.

#include "port_driver.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <cerrno>
#include <climits>
#include <fstream>

#include "fake_system.h"

namespace {

constexpr unsigned long kBase = 0x3F8, kData = kBase, kMcr = kBase + 4, kMsr = kBase + 6;

class PortDriver : public ::testing::Test {
protected:
    PortDriver() {
        sysfs_.add_tty("ttyS0", "0x3F8");
        sysfs_.add_tty("ttyS1", "0x2F8");
        system_.devices["/dev/ttyS0"] = {};
        system_.devices["/dev/ttyS1"] = {};
    }

    FakeDevice &device() { return system_.devices["/dev/ttyS0"]; }

    FakeSysfs sysfs_;
    FakeSystem system_;
    dlportio::PortDriver driver_{
        system_, {sysfs_.root(), sysfs_.root() / "ports.conf", sysfs_.root(), sysfs_.root() / "consoles"}};
};

TEST_F(PortDriver, AddressesOutsideTheSerialPortsAreEmptyAndTouchNothing) {
    system_.io_ports_allowed = true;
    const unsigned long addresses[] = {
        0x000,
        0x004,
        0x006,
        0x2F7,
        0x300,
        0x378,
        0x3F7,
        0x400,
        0x3E8,
        0x2E8,
        0x3F8 + 0x10000UL,
        ULONG_MAX,
        ULONG_MAX - 0x3F8 + 0x2F8,
#if ULONG_MAX > 0xFFFFFFFFUL
        0x3F8 + (1UL << 32),
#endif
    };
    for (unsigned long address : addresses) {
        EXPECT_EQ(driver_.read(address), 0xFF) << std::hex << address;
        driver_.write(address, 0x00);
    }
    EXPECT_EQ(system_.calls, 0);
}

TEST_F(PortDriver, OpensEachPortsDeviceOnceAtItsFirstAccess) {
    driver_.read(0x2FF);
    driver_.write(0x2FC, 0x01);
    driver_.read(0x2FE);
    EXPECT_EQ(system_.open_attempts, std::vector<std::string>{"/dev/ttyS1"});
    driver_.write(0x3FC, 0x02);
    EXPECT_EQ(system_.open_attempts, (std::vector<std::string>{"/dev/ttyS1", "/dev/ttyS0"}));
    EXPECT_EQ(system_.devices["/dev/ttyS1"].lines, TIOCM_DTR);
    EXPECT_EQ(system_.devices["/dev/ttyS0"].lines, TIOCM_RTS);
    EXPECT_TRUE(system_.claimed_io_bases.empty());
}

TEST_F(PortDriver, ControlReadsTheDrivenLinesThenDrivesOnlyDtrAndRtsAndReadsBackAsWritten) {
    device().lines = TIOCM_DTR | TIOCM_CTS | TIOCM_LE | TIOCM_ST;
    EXPECT_EQ(driver_.read(kMcr), 0x01);
    const struct {
        uint8_t mcr;
        int lines;
    } cases[] = {{0x00, 0},
                 {0x01, TIOCM_DTR},
                 {0x02, TIOCM_RTS},
                 {0x03, TIOCM_DTR | TIOCM_RTS},
                 {0x1C, 0},
                 {0x1D, TIOCM_DTR},
                 {0xFF, TIOCM_DTR | TIOCM_RTS},
                 {0x00, 0}};
    for (const auto &c : cases) {
        driver_.write(kMcr, c.mcr);
        EXPECT_EQ(device().lines & (TIOCM_DTR | TIOCM_RTS), c.lines) << "MCR " << int(c.mcr);
        EXPECT_EQ(driver_.read(kMcr), c.mcr);
    }
}

TEST_F(PortDriver, ChangeBitsAreSetByAChangeAndClearedByReading) {
    const struct {
        int lines;
        uint8_t msr;
    } steps[] = {
        {0, 0x00},
        {TIOCM_CTS, 0x11},
        {TIOCM_CTS, 0x10},  // read clears the indicator
        {TIOCM_DSR, 0x23},  // CTS fell, DSR rose
        {TIOCM_DSR | TIOCM_CAR, 0xA8},
        {TIOCM_DSR | TIOCM_CAR | TIOCM_RNG, 0xE0},  // ringing starts: no indicator
        {TIOCM_DSR | TIOCM_CAR | TIOCM_DTR, 0xA4},  // ringing stops; outputs do not show
        {0, 0x0A},
        {0, 0x00},
    };
    for (const auto &step : steps) {
        device().lines = step.lines;
        EXPECT_EQ(driver_.read(kMsr), step.msr) << "lines " << step.lines;
    }
}

// The probe of the bus library, against an adapter that loops the lines back.
TEST_F(PortDriver, TheAdapterAnswersAsOnARealUart) {
    device().adapter = true;
    device().lines = TIOCM_DTR | TIOCM_RTS | TIOCM_DSR | TIOCM_CTS;  // as the open left them
    driver_.write(kMcr, 0x00);
    EXPECT_EQ(driver_.read(kMsr), 0x03);  // both fell since the device was opened
    driver_.write(kMcr, 0x01);
    EXPECT_EQ(driver_.read(kMsr), 0x22);  // SDA rose
    driver_.write(kMcr, driver_.read(kMcr) | 0x02);
    EXPECT_EQ(driver_.read(kMsr), 0x31);  // SCL rose
}

// Data reads time the bus, so each costs one register access; nothing is
// ever sent or received.
TEST_F(PortDriver, OtherRegistersAreKeptWithoutTouchingTheDevice) {
    driver_.read(kMcr);  // opens the device
    const int calls_after_open = system_.calls;
    for (unsigned offset : {1u, 2u, 3u, 5u, 7u}) driver_.write(kBase + offset, uint8_t(0xA0 + offset));
    driver_.write(kData, 0x55);
    driver_.write(kMsr, 0x55);
    for (unsigned offset : {1u, 2u, 3u, 5u, 7u}) EXPECT_EQ(driver_.read(kBase + offset), 0xA0 + offset);
    EXPECT_EQ(system_.calls, calls_after_open);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(driver_.read(kData), 0x00);
    EXPECT_EQ(system_.access_times_spent, 10);
}

TEST_F(PortDriver, ADeviceThatStopsAnsweringReadsAsAnEmptyPort) {
    driver_.read(kMsr);
    device().modem_error = EINVAL;
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    driver_.write(kMcr, 0x01);  // ignored failure, no crash
    EXPECT_EQ(driver_.read(kMcr), 0x01);
}

// Going around the kernel's driver to the registers would take the port
// from under the program that holds it.
TEST_F(PortDriver, APortInUseElsewhereIsLeftAloneEvenWithPortAccess) {
    system_.io_ports_allowed = true;
    system_.held_elsewhere.insert("/dev/ttyS0");
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    EXPECT_TRUE(system_.claimed_io_bases.empty());
    EXPECT_EQ(system_.messages,
              std::vector<std::string>{"wirelink: COM1 = /dev/ttyS0: in use by another program "
                                       "(close it, and keep ModemManager off the device)"});
}

// The kernel's console is never taken by the search, by its device or its
// registers, whichever file names it; named by the user, it is opened.
TEST_F(PortDriver, TheConsoleIsPassedOverUnlessNamed) {
    const std::pair<std::filesystem::path, const char *> listings[] = {
        {"console/active", "tty0 ttyS0\n"}, {"consoles", "ttyS0                -W- (EC  p a)    4:64\n"}};
    for (const auto &[file, text] : listings) {
        FakeSystem system;
        system.io_ports_allowed = true;
        system.devices["/dev/ttyS0"] = {};
        std::filesystem::create_directories((sysfs_.root() / file).parent_path());
        std::ofstream(sysfs_.root() / file) << text;
        dlportio::PortDriver driver{
            system, {sysfs_.root(), sysfs_.root() / "ports.conf", sysfs_.root(), sysfs_.root() / "consoles"}};
        EXPECT_EQ(driver.read(kMsr), 0xFF);
        driver.write(kMcr, 0x03);
        EXPECT_TRUE(system.open_attempts.empty()) << file;
        EXPECT_TRUE(system.claimed_io_bases.empty()) << file;
        EXPECT_EQ(
            system.messages,
            std::vector<std::string>{"wirelink: COM1: /dev/ttyS0 is the kernel's console, passed over; to "
                                     "use it anyway, name it (WIRELINK_COM1=/dev/ttyS0, or COM1 = "
                                     "/dev/ttyS0 in ports.conf)"})
            << file;

        system.variables["WIRELINK_COM1"] = "/dev/ttyS0";
        dlportio::PortDriver named{
            system, {sysfs_.root(), sysfs_.root() / "ports.conf", sysfs_.root(), sysfs_.root() / "consoles"}};
        named.read(kMsr);
        EXPECT_EQ(system.open_attempts, std::vector<std::string>{"/dev/ttyS0"}) << file;
        std::filesystem::remove(sysfs_.root() / file);
    }
}

// A device the program names wins over the variable and the search, closes
// the device open before, and goes back to the configured one when unnamed.
TEST_F(PortDriver, ADeviceNamedByTheProgramIsOpenedAtTheNextAccess) {
    system_.variables["WIRELINK_COM1"] = "/dev/ttyS1";
    system_.devices["/dev/ttyUSB0"] = {};
    driver_.read(kMsr);
    EXPECT_EQ(driver_.use_device(kBase, "ttyUSB0"), 0);
    driver_.read(kMsr);
    EXPECT_EQ(driver_.use_device(kBase, nullptr), 0);
    driver_.read(kMsr);
    EXPECT_EQ(system_.open_attempts, (std::vector<std::string>{"/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyS1"}));
    EXPECT_EQ(driver_.use_device(kBase, "off"), 0);
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    EXPECT_EQ(system_.open_attempts.size(), 3u);
    for (const char *nothing : {"", "tty USB0"}) EXPECT_EQ(driver_.use_device(kBase, nothing), -EINVAL);
    EXPECT_EQ(driver_.use_device(0x3E8, "/dev/ttyUSB0"), -EINVAL);
}

// Direct access has no device to lock: a lock file keeps our programs apart.
TEST_F(PortDriver, DirectPortAccessIsRefusedWhileAnotherProgramHoldsItsLockFile) {
    std::filesystem::remove_all(sysfs_.root() / "ttyS0");
    system_.io_ports_allowed = true;
    system_.held_elsewhere.insert((sysfs_.root() / "wirelink-0x3F8.lock").string());
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    driver_.write(kMcr, 0x03);
    EXPECT_TRUE(system_.in_ports.empty() && system_.out_ports.empty());
    EXPECT_EQ(system_.messages,
              std::vector<std::string>{"wirelink: COM1 = I/O ports at 0x3F8: in use by another program"});
}

struct Unreachable {
    const char *why;
    void (*arrange)(FakeSysfs &, FakeSystem &);
    const char *message;  // printed once the fallback is not allowed either
};
void PrintTo(const Unreachable &unreachable, std::ostream *out) { *out << unreachable.why; }

class UnreachableDevice : public PortDriver, public ::testing::WithParamInterface<Unreachable> {
protected:
    void SetUp() override { GetParam().arrange(sysfs_, system_); }
    void TearDown() override { EXPECT_EQ(system_.open_descriptors, 0) << "a device is left open"; }
};

TEST_P(UnreachableDevice, FallsBackToDirectPortAccess) {
    system_.io_ports_allowed = true;
    system_.io_space[0x3FE] = 0xB0;
    system_.io_space[0x3F8] = 0x41;
    EXPECT_EQ(driver_.read(0x3FE), 0xB0);
    EXPECT_EQ(driver_.read(0x3F8), 0x41);
    driver_.write(0x3FC, 0x1D);
    driver_.write(0x3F8, 0x55);
    EXPECT_EQ(system_.claimed_io_bases, std::vector<unsigned long>{0x3F8});
    EXPECT_EQ(system_.in_ports, (std::vector<unsigned long>{0x3FE, 0x3F8}));
    EXPECT_EQ(system_.out_ports,
              (std::vector<std::pair<unsigned long, uint8_t>>{{0x3FC, 0x1D}, {0x3F8, 0x55}}));
    EXPECT_EQ(system_.access_times_spent, 0);  // the real access takes its own time
    EXPECT_TRUE(system_.messages.empty());
}

TEST_P(UnreachableDevice, WithoutPortAccessEveryRegisterReadsEmpty) {
    for (unsigned long port = 0x3F8; port <= 0x3FF; ++port) {
        driver_.write(port, 0x00);
        EXPECT_EQ(driver_.read(port), 0xFF) << std::hex << port;
    }
    EXPECT_LE(system_.open_attempts.size(), 1u);  // tried once, not at every access
    EXPECT_EQ(system_.claimed_io_bases.size(), 1u);
    EXPECT_TRUE(system_.in_ports.empty() && system_.out_ports.empty());
    EXPECT_EQ(system_.messages, std::vector<std::string>{GetParam().message});
}

INSTANTIATE_TEST_SUITE_P(
    PortDriver, UnreachableDevice,
    ::testing::Values(
        Unreachable{"NotOpenable",
                    [](FakeSysfs &, FakeSystem &s) { s.devices["/dev/ttyS0"].open_error = EACCES; },
                    "wirelink: COM1 = /dev/ttyS0: Permission denied (is the user in the dialout group?)"},
        Unreachable{"NoModemLines",
                    [](FakeSysfs &, FakeSystem &s) { s.devices["/dev/ttyS0"].modem_error = EINVAL; },
                    "wirelink: COM1 = /dev/ttyS0: not a serial port with modem lines (Invalid argument)"},
        Unreachable{"NoDeviceFile", [](FakeSysfs &, FakeSystem &s) { s.devices.erase("/dev/ttyS0"); },
                    "wirelink: COM1 = /dev/ttyS0: No such file or directory (is it plugged in? "
                    "ls -l /dev/serial/by-id/ lists the USB cables)"},
        Unreachable{"NoSysfsEntry",
                    [](FakeSysfs &f, FakeSystem &) { std::filesystem::remove_all(f.root() / "ttyS0"); },
                    "wirelink: COM1: no serial port at 0x3F8 (name a device with WIRELINK_COM1=/dev/... "
                    "or in ports.conf, or set COM1 = off)"}),
    [](const auto &info) { return std::string(info.param.why); });

}  // namespace
