// A UART whose modem lines are those of a serial device: the modem control
// register drives DTR and RTS, the modem status register reads CTS, DSR, RI
// and DCD, and the rest is kept in memory without reaching the device.
//
// Each register access costs at most one call to the device: none for a
// control write that leaves DTR and RTS as they are, or for any read but the
// status register's.  A device that cannot be opened, or that goes away,
// leaves an empty port (every register reads 0xFF, writes are dropped) whose
// accesses return at once; it is looked for again at most once a second, so
// that a cable plugged back in is found by the next adapter search.
//
// On a device whose inputs may trail the pins, a status read that follows a
// line change waits until the change shows (and a rising SCL waits until its
// last fall has shown), so that no bit is ever sampled from a stale status;
// such a read may then ask the device more than once.
#ifndef DLPORTIO_MODEM_UART_H
#define DLPORTIO_MODEM_UART_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "modem_lines.h"
#include "register_backend.h"
#include "report.h"
#include "timing.h"
#include "uart16550.h"

namespace dlportio {

class ModemUart final : public RegisterBackend {
public:
    // first: the device's first opening, which the caller has tried (and
    // whose failure this reports).
    ModemUart(std::unique_ptr<ModemDevice> device, Opened first, Timing &timing, Report report);

    uint8_t read(unsigned offset) override;
    void write(unsigned offset, uint8_t value) override;
    uint32_t run_limit() override;
    int32_t run_steps(const uint8_t *steps, uint8_t *samples, uint32_t count, uint32_t delay) override;

private:
    bool reachable();
    void take(Opened opened);
    void lose();
    void say(const std::string &text);
    uint8_t read_modem_status();
    void write_modem_control(uint8_t value);
    using Shown = bool (*)(uint8_t inputs, uint8_t driven, uint8_t changed);
    bool read_inputs(uint8_t &inputs);
    bool await_inputs(uint8_t &inputs, Shown shown);

    std::unique_ptr<ModemDevice> device_;
    std::unique_ptr<ModemLines> lines_;  // null: nothing to reach now
    Timing &timing_;
    Report report_;
    Timing::Clock::time_point next_search_{};
    bool lost_ = false;      // was open, went away
    std::string last_said_;  // not said twice in a row
    // The last value written to each register; the modem control entry is
    // what the register reads back.
    std::array<uint8_t, uart16550::kRegisterCount> written_{};
    uint8_t driven_ = 0;  // DTR and RTS as the device has them
    // Inputs (upper nibble of the status register) when the register was
    // last read, or when the device was opened.
    uint8_t inputs_ = 0;
    // For inputs that may lag: the lines that the last control write changed,
    // until a status read has seen them, and whether SCL's last fall is still
    // to be seen.
    bool lags_ = false;
    uint8_t changed_unseen_ = 0;
    bool scl_fall_unseen_ = false;
    bool scl_held_ = false;  // a rise of SCL did not show in time
};

}  // namespace dlportio

#endif
