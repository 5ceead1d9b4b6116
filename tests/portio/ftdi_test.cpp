// FTDI cables named "ftdi:...": the names, opening without a glitch, what a
// second program, a missing permission, a chip without DTR and an unplugged
// cable are told, and runs of line steps a USB exchange each.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "fake_ftdi.h"
#include "fake_system.h"
#include "ftdi_name.h"
#include "pcf8574.h"
#include "port_driver.h"
#include "port_extension.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr unsigned long kBase = 0x3F8, kMcr = kBase + 4, kMsr = kBase + 6;

TEST(FtdiName, ParsesTheThreeForms) {
    using dlportio::FtdiName;
    using dlportio::parse_ftdi_name;
    EXPECT_EQ(parse_ftdi_name("ftdi:"), (FtdiName{"", 'A'}));
    EXPECT_EQ(parse_ftdi_name("ftdi:A5XK3RJT"), (FtdiName{"A5XK3RJT", 'A'}));
    EXPECT_EQ(parse_ftdi_name("ftdi:FT4Q2:b"), (FtdiName{"FT4Q2", 'B'}));
    for (const char *bad : {"ftdi::B", "ftdi:X:E", "ftdi:X:BB", "ftdi:a b", "/dev/ttyUSB0"})
        EXPECT_EQ(parse_ftdi_name(bad), std::nullopt) << bad;
}

class FtdiPort : public ::testing::Test {
protected:
    FtdiPort() {
        system_.variables["WIRELINK_COM1"] = "ftdi:";
        cable_.bus = &bus_;
        bus_.attach(expander_);
    }

    std::vector<std::string> messages() const { return system_.messages; }

    FakeSysfs sysfs_;
    FakeSystem system_;
    FakeFtdi ftdi_;
    FakeFtdiCable &cable_ = ftdi_.add("A5XK3RJT");
    wlsim::I2cBus bus_;
    wlsim::Pcf8574 expander_{1};
    dlportio::PortDriver driver_{
        system_, {sysfs_.root(), sysfs_.root() / "ports.conf", "/lock"}, &ftdi_.api()};
};

// Opening resets the chip (DTR and RTS deasserted); the pins are then read
// as they are, all made inputs, and driven with what they showed: entering
// bit-bang mode changes no line.
TEST_F(FtdiPort, OpensWithTheLinesAsTheyAre) {
    cable_.write_byte(0xFF);  // UART mode after the reset
    const int changes = cable_.line_changes;
    EXPECT_EQ(driver_.read(kMcr), 0x00);
    EXPECT_EQ(cable_.line_changes, changes);
    EXPECT_THAT(cable_.calls,
                ElementsAre("open", "read_pins", "bitmode 0 4", "baudrate 200000", "bitmode 21 4"));
    EXPECT_EQ(cable_.latency, 1);
    EXPECT_EQ(cable_.detach_mode, AUTO_DETACH_REATACH_SIO_MODULE);
    EXPECT_THAT(messages(), ::testing::IsEmpty());
}

TEST_F(FtdiPort, RegisterAccessesAreAnExchangeEach) {
    driver_.write(kMcr, 0x03);
    const int opened = cable_.writes;
    driver_.write(kMcr, 0x01);  // SCL low
    EXPECT_FALSE(bus_.scl());
    EXPECT_EQ(driver_.read(kMsr) & 0xF0, 0x20);  // SDA high, SCL low
    EXPECT_EQ(cable_.writes - opened, 2);
    EXPECT_EQ(cable_.latency_waits, 0);
}

// START, 0x72, 0x5A, STOP as the bus sends them: one exchange per run, never
// more than the FIFO outstanding, no wait for the latency timer.
TEST_F(FtdiPort, RunsAreOneExchangeEachAndReachTheChip) {
    driver_.write(kMcr, 0x03);
    std::vector<uint8_t> steps{WIRELINK_STEP_SDA_LOW, WIRELINK_STEP_SCL_LOW};
    for (uint8_t byte : {0x72, 0x5A}) {
        for (int bit = 7; bit >= 0; --bit) {
            steps.push_back((byte >> bit) & 1 ? WIRELINK_STEP_SDA_HIGH : WIRELINK_STEP_SDA_LOW);
            steps.push_back(WIRELINK_STEP_SCL_HIGH);
            steps.push_back(WIRELINK_STEP_SCL_LOW);
        }
        steps.insert(steps.end(), {WIRELINK_STEP_SDA_HIGH, WIRELINK_STEP_SCL_HIGH, WIRELINK_STEP_SCL_LOW});
    }
    steps.insert(steps.end(), {WIRELINK_STEP_SDA_LOW, WIRELINK_STEP_SCL_HIGH, WIRELINK_STEP_SDA_HIGH});
    std::vector<uint8_t> samples(steps.size());
    const int before = cable_.writes;
    ASSERT_EQ(driver_.run_limit(kBase), 4096u);
    EXPECT_EQ(driver_.run_steps(kBase, steps.data(), samples.data(), static_cast<uint32_t>(steps.size()), 0),
              static_cast<int32_t>(steps.size()));
    EXPECT_EQ(bus_.monitor().text(), "S 72 A 5A A P");
    EXPECT_EQ(expander_.latch(), 0x5A);
    EXPECT_EQ(cable_.writes - before, 1);
    EXPECT_EQ(cable_.latency_waits, 0);
    EXPECT_LE(cable_.most_outstanding, cable_.fifo);
    EXPECT_EQ(samples[27] & 0x20, 0);     // the address byte's acknowledge, read with SCL high
    EXPECT_EQ(driver_.read(kMcr), 0x03);  // the control register follows the run
}

TEST_F(FtdiPort, LongRunsKeepWithinTheFifo) {
    driver_.write(kMcr, 0x03);
    std::vector<uint8_t> steps(1000, WIRELINK_STEP_HOLD), samples(1000);
    EXPECT_EQ(driver_.run_steps(kBase, steps.data(), samples.data(), 1000, 0), 1000);
    EXPECT_LE(cable_.most_outstanding, cable_.fifo);
    EXPECT_EQ(cable_.latency_waits, 0);
}

// Pulled out in the middle of a run: it is cut short, the port reads empty
// at once and says so once, and the cable is used again when it is back.
TEST_F(FtdiPort, UnpluggedMidRunFailsAtOnceAndIsFoundAgain) {
    driver_.write(kMcr, 0x03);
    std::vector<uint8_t> steps(300, WIRELINK_STEP_HOLD), samples(300);
    cable_.unplug_after_writes = cable_.writes + 1;
    EXPECT_LT(driver_.run_steps(kBase, steps.data(), samples.data(), 300, 0), 300);
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    EXPECT_EQ(driver_.run_limit(kBase), 0u);
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_THAT(messages()[0], HasSubstr("COM1 = ftdi:: the device went away"));
    cable_.plugged = true;
    cable_.unplug_after_writes = -1;
    system_.sleep_until(system_.clock + std::chrono::seconds(1));
    EXPECT_NE(driver_.read(kMsr), 0xFF);
    EXPECT_EQ(driver_.run_limit(kBase), 4096u);
}

struct Refusal {
    const char *name;
    void (*arrange)(FakeFtdi &ftdi, FakeSystem &system);
    const char *said;
};

class FtdiRefusal : public FtdiPort, public ::testing::WithParamInterface<Refusal> {};

TEST_P(FtdiRefusal, LeavesThePortEmptyAndSaysWhy) {
    GetParam().arrange(ftdi_, system_);
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    EXPECT_EQ(driver_.run_limit(kBase), 0u);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_THAT(messages()[0], HasSubstr(GetParam().said));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FtdiRefusal,
    ::testing::Values(
        Refusal{"two_cables", [](FakeFtdi &ftdi, FakeSystem &) { ftdi.add("FT9Z0001"); },
                "more than one FTDI cable is plugged in (ftdi:A5XK3RJT, ftdi:FT9Z0001); name one of them"},
        Refusal{"not_plugged", [](FakeFtdi &, FakeSystem &s) { s.variables["WIRELINK_COM1"] = "ftdi:NOPE"; },
                "COM1 = ftdi:NOPE: no such FTDI cable is plugged in"},
        Refusal{"ft230x",
                [](FakeFtdi &ftdi, FakeSystem &) {
                    ftdi.cables[0].type = TYPE_230X;
                    ftdi.cables[0].description = "FT230X Basic UART";
                },
                "has no DTR and DSR pins, so it cannot carry the adapter"},
        Refusal{"no_permission", [](FakeFtdi &ftdi, FakeSystem &) { ftdi.cables[0].open_error = -4; },
                "install the udev rule examples/60-wirelink-ftdi.rules"},
        Refusal{"claimed_by_another", [](FakeFtdi &ftdi, FakeSystem &) { ftdi.cables[0].open_error = -5; },
                "in use by another program"},
        Refusal{
            "locked_by_another",
            [](FakeFtdi &, FakeSystem &s) { s.held_elsewhere.insert("/lock/wirelink-ftdi-A5XK3RJT-A.lock"); },
            "COM1 = ftdi:: in use by another program"},
        Refusal{"bad_name", [](FakeFtdi &, FakeSystem &s) { s.variables["WIRELINK_COM1"] = "ftdi:X:Z"; },
                "not an FTDI cable's name"}),
    [](const auto &info) { return std::string(info.param.name); });

// A second interface is asked for by its letter.
TEST_F(FtdiPort, InterfaceLetterSelectsTheInterface) {
    system_.variables["WIRELINK_COM1"] = "ftdi:A5XK3RJT:B";
    cable_.type = TYPE_2232H;
    driver_.read(kMsr);
    EXPECT_EQ(cable_.interface, INTERFACE_B);
}

// The kernel's tty of an FTDI cable works, and the faster name is suggested.
TEST(FtdiSuggestion, TtyOfAnFtdiCableSuggestsItsFtdiName) {
    FakeSysfs sysfs;
    sysfs.add_tty("ttyUSB0", nullptr, nullptr, "ftdi_sio");
    std::filesystem::create_directories(sysfs.root() / "usbdev" / "1-1:1.1");
    std::ofstream(sysfs.root() / "usbdev" / "serial") << "A5XK3RJT\n";
    std::ofstream(sysfs.root() / "usbdev" / "1-1:1.1" / "bInterfaceNumber") << "01\n";
    std::filesystem::remove_all(sysfs.root() / "ttyUSB0" / "device");
    std::filesystem::create_directory_symlink(sysfs.root() / "usbdev" / "1-1:1.1" / "tty",
                                              sysfs.root() / "ttyUSB0" / "device");
    std::filesystem::create_directories(sysfs.root() / "usbdev" / "1-1:1.1" / "tty");
    std::filesystem::create_directory_symlink(sysfs.root() / "drivers" / "ftdi_sio",
                                              sysfs.root() / "usbdev" / "1-1:1.1" / "tty" / "driver");
    FakeSystem system;
    system.devices["/dev/ttyUSB0"] = {};
    system.variables["WIRELINK_COM1"] = "ttyUSB0";
    FakeFtdi ftdi;
    dlportio::PortDriver driver{system, {sysfs.root(), sysfs.root() / "ports.conf", "/lock"}, &ftdi.api()};
    driver.read(kMsr);
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_THAT(system.messages[0],
                HasSubstr("COM1 = /dev/ttyUSB0: an FTDI cable; ftdi:A5XK3RJT:B runs whole bytes"));
}

}  // namespace
