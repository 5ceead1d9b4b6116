// FTDI cables behind the libftdi table (ftdi_api.h), for the port driver's
// tests: each cable models synchronous bit-bang mode on a simulated I2C bus
// (every byte written samples all pins, then drives the outputs), keeps its
// samples for reading a USB packet at a time, holds back a partial packet
// until one read has found it waiting (the latency timer), and counts the
// bytes written and not yet read against its FIFO.
#ifndef DLPORTIO_TESTS_FAKE_FTDI_H
#define DLPORTIO_TESTS_FAKE_FTDI_H

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "ftdi_api.h"
#include "i2c_bus.h"

struct FakeFtdiCable {
    std::string serial = "A5XK3RJT";
    std::string description = "FT232R USB UART";
    ftdi_chip_type type = TYPE_R;
    int open_error = 0;            // what opening returns (-4 permissions, -5 claimed)
    bool plugged = true;           // unplugged: not listed, every call fails
    wlsim::I2cBus *bus = nullptr;  // the adapter's bus; none: the pins float high
    uint32_t fifo = 128;
    uint32_t packet = 62;

    // What happened to it.
    bool open = false;
    int interface = -1;
    int detach_mode = -1;
    int latency = 16;
    int baudrate = 0;
    uint8_t mode = BITMODE_RESET, mask = 0, latch = 0xFF;
    std::vector<std::string> calls;  // "open", "bitmode 15 1", "read_pins"...
    int writes = 0;                  // USB exchanges: one per write call
    int reads = 0, latency_waits = 0;
    uint32_t outstanding = 0, most_outstanding = 0;
    int unplug_after_writes = -1;      // pulled out at that write; -1: never
    int line_changes = 0;              // of the outputs DTR# and RTS#
    std::vector<uint8_t> line_states;  // DTR# and RTS# after each change
    std::deque<uint8_t> samples;
    bool partial_seen = false;

    uint8_t pins() const;
    void write_byte(uint8_t byte);
};

class FakeFtdi {
public:
    FakeFtdi();
    ~FakeFtdi();
    FakeFtdiCable &add(const std::string &serial);
    const dlportio::FtdiApi &api() const;
    std::deque<FakeFtdiCable> cables;
    std::map<ftdi_context *, FakeFtdiCable *> opened;
};

#endif
