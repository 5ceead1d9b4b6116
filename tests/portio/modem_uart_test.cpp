// The serial port's registers as seen through a serial device's modem lines.

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "fake_sysfs.h"
#include "fake_system.h"
#include "port_driver.h"

namespace {

constexpr unsigned long kBase = 0x3F8;
constexpr unsigned long kData = kBase + 0;
constexpr unsigned long kMcr = kBase + 4;
constexpr unsigned long kMsr = kBase + 6;
constexpr char kDevice[] = "/dev/ttyS0";

class ModemUart : public ::testing::Test {
protected:
    ModemUart() {
        sysfs_.add_tty("ttyS0", "0x3F8");
        system_.devices[kDevice] = FakeDevice{};
    }

    FakeDevice& device() { return system_.devices[kDevice]; }
    int driven() { return device().lines & (TIOCM_DTR | TIOCM_RTS); }

    FakeSysfs sysfs_;
    FakeSystem system_;
    dlportio::PortDriver driver_{system_, sysfs_.root()};
};

TEST_F(ModemUart, ControlWritesDriveOnlyDtrAndRtsAndReadBackAsWritten) {
    const struct {
        uint8_t mcr;
        int lines;
    } cases[] = {
        {0x00, 0},         {0x01, TIOCM_DTR},  {0x02, TIOCM_RTS}, {0x03, TIOCM_DTR | TIOCM_RTS},
        {0x1C, 0},         {0x1D, TIOCM_DTR},  {0xFF, TIOCM_DTR | TIOCM_RTS}, {0x00, 0},
    };
    for (const auto& c : cases) {
        driver_.write(kMcr, c.mcr);
        EXPECT_EQ(driven(), c.lines) << "MCR " << int(c.mcr);
        EXPECT_EQ(driver_.read(kMcr), c.mcr);
    }
}

TEST_F(ModemUart, ControlReadsWhatTheDeviceDrivesBeforeTheFirstWrite) {
    device().lines = TIOCM_DTR | TIOCM_CTS | TIOCM_LE | TIOCM_ST;
    EXPECT_EQ(driver_.read(kMcr), 0x01);
}

TEST_F(ModemUart, ChangeBitsAreSetByAChangeAndClearedByReading) {
    const struct {
        int lines;
        uint8_t msr;
    } steps[] = {
        {0, 0x00},
        {TIOCM_CTS, 0x11},
        {TIOCM_CTS, 0x10},   // read clears the indicator
        {TIOCM_DSR, 0x23},   // CTS fell, DSR rose
        {TIOCM_DSR | TIOCM_CAR, 0xA8},
        {TIOCM_DSR | TIOCM_CAR | TIOCM_RNG, 0xE0},  // ringing starts: no indicator
        {TIOCM_DSR | TIOCM_CAR | TIOCM_DTR, 0xA4},  // ringing stops; outputs do not show
        {0, 0x0A},
        {0, 0x00},
    };
    for (const auto& step : steps) {
        device().lines = step.lines;
        EXPECT_EQ(driver_.read(kMsr), step.msr) << "lines " << step.lines;
    }
}

// The probe of the bus library, against an adapter that loops the lines back.
TEST_F(ModemUart, TheAdapterAnswersAsOnARealUart) {
    device().adapter = true;
    device().lines = TIOCM_DTR | TIOCM_RTS | TIOCM_DSR | TIOCM_CTS;  // as the open left them

    driver_.write(kMcr, 0x00);
    EXPECT_EQ(driver_.read(kMsr), 0x03);  // both fell since the device was opened
    driver_.write(kMcr, 0x01);
    EXPECT_EQ(driver_.read(kMsr), 0x22);  // SDA rose
    driver_.write(kMcr, driver_.read(kMcr) | 0x02);
    EXPECT_EQ(driver_.read(kMsr), 0x31);  // SCL rose
}

TEST_F(ModemUart, OtherRegistersAreKeptWithoutTouchingTheDevice) {
    driver_.read(kMcr);  // opens the device
    const int calls_after_open = system_.calls();

    for (unsigned offset : {1u, 2u, 3u, 5u, 7u}) {
        driver_.write(kBase + offset, static_cast<uint8_t>(0xA0 + offset));
    }
    driver_.write(kData, 0x55);  // never transmitted
    driver_.write(kMsr, 0x55);
    for (unsigned offset : {1u, 2u, 3u, 5u, 7u}) {
        EXPECT_EQ(driver_.read(kBase + offset), 0xA0 + offset) << offset;
    }
    EXPECT_EQ(system_.calls(), calls_after_open);
}

TEST_F(ModemUart, EachDataReadTakesOneRegisterAccessTime) {
    for (int i = 0; i < 10; ++i) EXPECT_EQ(driver_.read(kData), 0x00);
    EXPECT_EQ(system_.access_times_spent, 10);
}

TEST_F(ModemUart, ADeviceThatStopsAnsweringReadsAsAnEmptyPort) {
    driver_.read(kMsr);
    device().modem_calls_work = false;
    EXPECT_EQ(driver_.read(kMsr), 0xFF);
    driver_.write(kMcr, 0x01);  // ignored failure, no crash
    EXPECT_EQ(driver_.read(kMcr), 0x01);
}

}  // namespace
