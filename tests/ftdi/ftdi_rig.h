// A port driver over a fake FTDI cable (fake_ftdi.h) on a simulated board,
// built as a stand-in libdlportio.so: libwirelink runs on it through the
// driver's registers and its extension, as on a real cable named ftdi:.
#ifndef WIRELINK_TESTS_FTDI_RIG_H
#define WIRELINK_TESTS_FTDI_RIG_H

#include <memory>

#include "fake_ftdi.h"
#include "fake_system.h"
#include "hd44780.h"
#include "pcf8574.h"
#include "pcf8591.h"
#include "port_driver.h"
#include "recording_slave.h"

// The receiver board on the cable's bus: a display behind the expander at
// 0, expanders at 1 and 2, a converter at 0 and a synthesizer at 0xC0.
struct FtdiBoard {
    FtdiBoard();
    wlsim::I2cBus bus;
    wlsim::Pcf8574 display_port{0}, one{1}, two{2};
    wlsim::Hd44780 display{display_port};
    wlsim::Pcf8591 converter{0};
    wlsim::RecordingSlave synthesizer{0xC0};
};

struct FtdiRig {
    FtdiRig();
    FakeSysfs sysfs;
    FakeSystem system;
    FakeFtdi ftdi;
    FakeFtdiCable &cable;
    FtdiBoard board;
    dlportio::PortDriver driver;
    bool offer_runs = true;  // false: the extension offers none (the register path)
};

// The rig that the stand-in driver serves; a test makes a fresh one with
// new_ftdi_rig() before libwirelink claims the port.
FtdiRig &ftdi_rig();
void new_ftdi_rig();

#endif
