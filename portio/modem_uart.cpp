#include "modem_uart.h"

#include <chrono>
#include <utility>
#include <vector>

#include "port_extension.h"

namespace dlportio {
namespace {

constexpr uint8_t kDriven = uart16550::kMcrDtr | uart16550::kMcrRts;
constexpr auto kSearchInterval = std::chrono::seconds(1);
// How long a change may take to show in inputs that lag (a chip's status
// messages come every few milliseconds at most), and how often to look.
// A line that a slave holds low never shows its rise; after this long the
// status is taken as it is.
constexpr auto kLagBound = std::chrono::milliseconds(25);
constexpr auto kLagPoll = std::chrono::microseconds(200);

// Each change indicator sits four bits below its input, as in the UART;
// the ring indicator's marks only the trailing edge, when the ringing stops.
uint8_t change_indicators(uint8_t before, uint8_t now) {
    const uint8_t toggled = static_cast<uint8_t>((before ^ now) >> 4);
    const uint8_t fell = static_cast<uint8_t>((before & ~now) >> 4);
    return static_cast<uint8_t>((toggled & ~uart16550::kMsrTrailingEdgeRi) |
                                (fell & uart16550::kMsrTrailingEdgeRi));
}

// SCL (RTS) comes back on CTS; SDA (DTR) on DSR, or on DCD with some adapters.
bool scl_shows(uint8_t inputs, uint8_t driven) {
    return ((inputs & uart16550::kMsrCts) != 0) == ((driven & uart16550::kMcrRts) != 0);
}

bool sda_shows(uint8_t inputs, uint8_t driven) {
    const bool high = (driven & uart16550::kMcrDtr) != 0;
    return ((inputs & uart16550::kMsrDsr) != 0) == high || ((inputs & uart16550::kMsrDcd) != 0) == high;
}

bool changes_show(uint8_t inputs, uint8_t driven, uint8_t changed) {
    return (!(changed & uart16550::kMcrRts) || scl_shows(inputs, driven)) &&
           (!(changed & uart16550::kMcrDtr) || sda_shows(inputs, driven));
}

bool scl_shows_low(uint8_t inputs, uint8_t, uint8_t) { return (inputs & uart16550::kMsrCts) == 0; }

uint8_t after_step(uint8_t driven, uint8_t step) {
    switch (step) {
    case WIRELINK_STEP_SDA_LOW:
        return driven & static_cast<uint8_t>(~uart16550::kMcrDtr);
    case WIRELINK_STEP_SDA_HIGH:
        return driven | uart16550::kMcrDtr;
    case WIRELINK_STEP_SCL_LOW:
        return driven & static_cast<uint8_t>(~uart16550::kMcrRts);
    case WIRELINK_STEP_SCL_HIGH:
        return driven | uart16550::kMcrRts;
    default:
        return driven;
    }
}

}  // namespace

ModemUart::ModemUart(std::unique_ptr<ModemDevice> device, Opened first, Timing &timing, Report report)
    : device_(std::move(device)), timing_(timing), report_(std::move(report)) {
    take(std::move(first));
}

uint8_t ModemUart::read(unsigned offset) {
    if (!reachable()) return uart16550::kEmptyPort;
    switch (offset) {
    case uart16550::kData:
        // The bus is timed by data-register reads, so each must cost what
        // it costs on the real UART.  Nothing is ever received.
        timing_.spend_register_access_time();
        return 0;
    case uart16550::kModemStatus:
        return read_modem_status();
    default:
        return written_[offset];
    }
}

void ModemUart::write(unsigned offset, uint8_t value) {
    if (!reachable()) return;
    switch (offset) {
    case uart16550::kData:  // never transmit: the port carries a bus, not a line
    case uart16550::kModemStatus:
        return;
    case uart16550::kModemControl:
        write_modem_control(value);
        return;
    default:
        written_[offset] = value;
    }
}

uint32_t ModemUart::run_limit() { return reachable() ? lines_->run_limit() : 0; }

// The steps become the outputs they leave, as the control register would
// have them step by step; the inputs after the run are the status register's
// inputs, with the change indicators of the whole run.
int32_t ModemUart::run_steps(const uint8_t *steps, uint8_t *samples, uint32_t count, uint32_t delay) {
    if (run_limit() == 0) return -1;
    std::vector<uint8_t> outputs(count);
    uint8_t driven = driven_;
    for (uint32_t i = 0; i < count; ++i) outputs[i] = driven = after_step(driven, steps[i]);
    uint32_t stored = 0;
    const LineResult result = lines_->run_outputs(outputs.data(), samples, count, delay, stored);
    if (stored > 0) {
        driven_ = outputs[stored - 1];
        written_[uart16550::kModemControl] =
            static_cast<uint8_t>((written_[uart16550::kModemControl] & ~kDriven) | driven_);
        inputs_ = samples[stored - 1];
    }
    if (result == LineResult::gone) lose();
    return static_cast<int32_t>(stored);
}

bool ModemUart::reachable() {
    if (lines_) return true;
    if (timing_.now() < next_search_) return false;
    take(device_->open());
    return lines_ != nullptr;
}

// A device opened afresh starts as a UART does after a reset of its
// inputs: no change pending, the outputs as the device holds them.
void ModemUart::take(Opened opened) {
    if (!opened.lines) {
        next_search_ = timing_.now() + kSearchInterval;
        // Once the loss is told, an empty socket is what the user expects.
        if (!(lost_ && opened.failure == OpenFailure::absent)) say(opened.why);
        return;
    }
    lines_ = std::move(opened.lines);
    driven_ = lines_->outputs_at_open() & kDriven;
    written_[uart16550::kModemControl] = driven_;
    inputs_ = lines_->inputs_at_open();
    lags_ = lines_->inputs_may_lag();
    changed_unseen_ = 0;
    scl_fall_unseen_ = false;
    scl_held_ = false;
    if (!last_said_.empty()) say(lost_ ? "found again" : "found");
    last_said_.clear();
    lost_ = false;
}

void ModemUart::lose() {
    const std::string why = lines_->why_gone();
    lines_.reset();
    lost_ = true;
    next_search_ = timing_.now() + kSearchInterval;
    say("the device went away (" + why + "); the port reads empty until it is back");
}

void ModemUart::say(const std::string &text) {
    if (text == last_said_) return;
    last_said_ = text;
    report_(message(device_->label(), text));
}

// The device is only looked at when the register is read, so a pulse that
// comes and goes between two reads leaves no change indicator behind.
uint8_t ModemUart::read_modem_status() {
    uint8_t now = 0;
    const bool scl_rose = (changed_unseen_ & driven_ & uart16550::kMcrRts) != 0;
    const bool answered = changed_unseen_ != 0 ? await_inputs(now, changes_show) : read_inputs(now);
    changed_unseen_ = 0;
    if (!answered) return uart16550::kEmptyPort;
    if (scl_rose && (now & uart16550::kMsrCts) == 0) scl_held_ = true;
    const uint8_t status = static_cast<uint8_t>(now | change_indicators(inputs_, now));
    inputs_ = now;  // reading clears the change indicators
    return status;
}

// One question to the device; false when it gave no answer (a device that
// went away is let go).
bool ModemUart::read_inputs(uint8_t &inputs) {
    const LineResult result = lines_->read_inputs(inputs);
    if (result == LineResult::gone) lose();
    if (result != LineResult::done) return false;
    if ((inputs & uart16550::kMsrCts) == 0)
        scl_fall_unseen_ = false;
    else
        scl_held_ = false;
    return true;
}

// Asks until the inputs show what `shown` looks for, or kLagBound has passed.
bool ModemUart::await_inputs(uint8_t &inputs, Shown shown) {
    const auto deadline = timing_.now() + kLagBound;
    while (read_inputs(inputs)) {
        const auto now = timing_.now();
        if (shown(inputs, driven_, changed_unseen_) || now >= deadline) return true;
        timing_.sleep_until(now + kLagPoll);
    }
    return false;
}

// Only DTR and RTS reach the device, and only when one of them changes.
// OUT1, OUT2 and loop-back are kept for reading back: the kernel's driver
// needs OUT2 for its interrupts, and loop-back would cut the adapter off.
void ModemUart::write_modem_control(uint8_t value) {
    written_[uart16550::kModemControl] = value;
    const uint8_t wanted = value & kDriven;
    if (wanted == driven_) return;
    // A rise of SCL before its fall has shown would let a status from
    // before the fall pass for one from after the rise.
    const bool scl_rises = (wanted & ~driven_ & uart16550::kMcrRts) != 0;
    if (scl_rises && scl_fall_unseen_) {
        uint8_t inputs = 0;
        await_inputs(inputs, scl_shows_low);
        if (!lines_) return;  // it went away meanwhile
    }
    switch (lines_->drive_outputs(driven_, wanted)) {
    case LineResult::done:
        if (lags_) {
            changed_unseen_ = driven_ ^ wanted;
            // A clock held low would make every later read wait out the
            // bound for a rise that does not come; once one has not shown,
            // rises of SCL are not waited for until SCL reads high again.
            if (scl_held_) changed_unseen_ &= ~(wanted & uart16550::kMcrRts);
            scl_fall_unseen_ = scl_fall_unseen_ || (driven_ & ~wanted & uart16550::kMcrRts) != 0;
        }
        driven_ = wanted;
        return;
    case LineResult::refused:  // the next write tries again
        return;
    case LineResult::gone:
        lose();
        return;
    }
}

}  // namespace dlportio
