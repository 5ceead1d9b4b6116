// Which address reaches which port, and what happens when a port cannot be
// reached through its serial device.

#include "port_driver.h"

#include <gtest/gtest.h>

#include <climits>

#include "fake_sysfs.h"
#include "fake_system.h"

namespace {

class PortDriver : public ::testing::Test {
protected:
    PortDriver() {
        sysfs_.add_tty("ttyS0", "0x3F8");
        sysfs_.add_tty("ttyS1", "0x2F8");
        system_.devices["/dev/ttyS0"] = FakeDevice{};
        system_.devices["/dev/ttyS1"] = FakeDevice{};
    }

    FakeSysfs sysfs_;
    FakeSystem system_;
    dlportio::PortDriver driver_{system_, sysfs_.root()};
};

TEST_F(PortDriver, AddressesOutsideTheSerialPortsAreEmptyAndTouchNothing) {
    system_.io_ports_allowed = true;
    const unsigned long addresses[] = {
        0x000, 0x004, 0x006, 0x2F7, 0x300, 0x378, 0x3F7, 0x400, 0x3E8, 0x2E8,
        0x3F8 + 0x10000UL, ULONG_MAX, ULONG_MAX - 0x3F8 + 0x2F8,
#if ULONG_MAX > 0xFFFFFFFFUL
        0x3F8 + (1UL << 32),
#endif
    };
    for (unsigned long address : addresses) {
        EXPECT_EQ(driver_.read(address), 0xFF) << std::hex << address;
        driver_.write(address, 0x00);
    }
    EXPECT_EQ(system_.calls(), 0);
}

TEST_F(PortDriver, OpensEachPortsDeviceOnceAtItsFirstAccess) {
    EXPECT_EQ(system_.calls(), 0);

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

struct Unreachable {
    const char* why;
    void (*arrange)(FakeSysfs&, FakeSystem&);
};
void PrintTo(const Unreachable& unreachable, std::ostream* out) { *out << unreachable.why; }

class UnreachableDevice : public PortDriver, public ::testing::WithParamInterface<Unreachable> {
protected:
    void SetUp() override { GetParam().arrange(sysfs_, system_); }
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
}

TEST_P(UnreachableDevice, WithoutPortAccessEveryRegisterReadsEmpty) {
    for (unsigned long port = 0x3F8; port <= 0x3FF; ++port) {
        driver_.write(port, 0x00);
        EXPECT_EQ(driver_.read(port), 0xFF) << std::hex << port;
    }
    EXPECT_LE(system_.open_attempts.size(), 1u);  // tried once, not at every access
    EXPECT_EQ(system_.claimed_io_bases.size(), 1u);
    EXPECT_TRUE(system_.in_ports.empty());
    EXPECT_TRUE(system_.out_ports.empty());
}

INSTANTIATE_TEST_SUITE_P(
    PortDriver, UnreachableDevice,
    ::testing::Values(
        Unreachable{"NotOpenable", [](FakeSysfs&, FakeSystem& s) { s.devices["/dev/ttyS0"].openable = false; }},
        Unreachable{"NoModemLines", [](FakeSysfs&, FakeSystem& s) { s.devices["/dev/ttyS0"].modem_calls_work = false; }},
        Unreachable{"NoDeviceFile", [](FakeSysfs&, FakeSystem& s) { s.devices.erase("/dev/ttyS0"); }},
        Unreachable{"NoSysfsEntry", [](FakeSysfs& f, FakeSystem&) { std::filesystem::remove_all(f.root() / "ttyS0"); }}),
    [](const auto& info) { return std::string(info.param.why); });

TEST_F(PortDriver, ADeviceWithoutModemLinesIsClosedAgain) {
    system_.devices["/dev/ttyS0"].modem_calls_work = false;
    driver_.read(0x3FE);
    EXPECT_EQ(system_.closed.size(), 1u);
}

}  // namespace
