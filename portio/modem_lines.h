// A serial device seen only through its modem lines: DTR and RTS to drive,
// CTS, DSR, RI and DCD to read.  The lines travel as their UART register bits
// (uart16550.h), so the register model above needs no operating-system
// header; each platform opens its devices behind these two interfaces.
#ifndef DLPORTIO_MODEM_LINES_H
#define DLPORTIO_MODEM_LINES_H

#include <cstdint>
#include <memory>
#include <string>

namespace dlportio {

enum class LineResult {
    done,
    refused,  // this call failed, the device is still there
    gone,     // the device went away (unplugged): it must be opened again
};

// One open device; destroying it puts back what opening changed and closes it.
class ModemLines {
public:
    virtual ~ModemLines() = default;

    // DTR and RTS as modem control bits, and the inputs as the upper nibble of
    // the modem status register, as the device had them when it was opened.
    virtual uint8_t outputs_at_open() const = 0;
    virtual uint8_t inputs_at_open() const = 0;

    // One question to the device: the inputs as the status register's upper nibble.
    virtual LineResult read_inputs(uint8_t &inputs) = 0;
    // One command to the device: DTR and RTS from `from` to `to` (modem
    // control bits), which differ.
    virtual LineResult drive_outputs(uint8_t from, uint8_t to) = 0;
    // After `gone`: the system's words for what happened.
    virtual std::string why_gone() const = 0;
    // Whether the inputs can trail the pins: some drivers answer from the
    // last status message the chip sent, milliseconds behind a line change.
    virtual bool inputs_may_lag() const { return false; }

    // A device that takes a whole run of output states in one exchange
    // (port_extension.h) says how long a run may be; 0: one at a time only.
    virtual uint32_t run_limit() const { return 0; }
    // Sets DTR and RTS to each of outputs[0..count) in turn and stores the
    // inputs seen once each was applied; `stored` counts the samples stored.
    virtual LineResult run_outputs(const uint8_t * /*outputs*/, uint8_t * /*inputs*/, uint32_t /*count*/,
                                   uint32_t /*delay*/, uint32_t &stored) {
        stored = 0;
        return LineResult::refused;
    }
};

enum class OpenFailure {
    none,
    absent,   // no such device (yet): unplugged
    in_use,   // another program holds it
    refused,  // there, but it cannot be used (permissions, not a serial port...)
};

struct Opened {
    std::unique_ptr<ModemLines> lines;  // null when it could not be opened
    OpenFailure failure = OpenFailure::none;
    std::string why;  // for the message, when it could not be opened
};

// Where a port's device is found, so that it can be opened again.
class ModemDevice {
public:
    virtual ~ModemDevice() = default;
    // What the messages about it start with, e.g. "COM1 = /dev/ttyUSB0".
    virtual std::string label() const = 0;
    virtual Opened open() = 0;
};

}  // namespace dlportio

#endif
