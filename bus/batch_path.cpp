#include "batch_path.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "bus.h"
#include "port_extension_lookup.h"
#include "stretch_budget.h"

namespace wirelink {
namespace {

constexpr uint8_t kCts = 0x10;  // SCL as read back
constexpr uint8_t kDsr = 0x20;  // SDA as read back

// What the bus learns from a step's sample.
enum Look : uint8_t { kNoLook = 0, kClockMustBeHigh = 1, kDataBit = 2 };

// The steps not yet run, with what each one's sample is for.
std::vector<uint8_t> steps;
std::vector<uint8_t> looks;
std::vector<uint8_t> samples;
// Once a clock was seen held, runs end at every release of SCL.
bool clock_by_clock = false;
bool running = false;

struct Outcome {
    bool clocks_ok = true;
    std::vector<int32_t> bits;  // the data bits, in the order they were clocked
};

void add(uint8_t step, uint8_t look = kNoLook) {
    steps.push_back(step);
    looks.push_back(look);
}

// Runs steps [from, to); returns the index up to which samples were stored.
std::size_t run(std::size_t from, std::size_t to) {
    const wirelink_port_extension *extension = port_extension();
    const ClaimedPort port = claimed_port();
    while (from < to) {
        const uint32_t limit = extension->run_limit(port.base);
        if (limit == 0) return from;
        const auto count = static_cast<uint32_t>(std::min<std::size_t>(to - from, limit));
        const int32_t stored =
            extension->run_steps(port.base, &steps[from], &samples[from], count, port.delay & 0xFFu);
        if (stored < 0) return from;
        from += std::min(static_cast<uint32_t>(stored), count);
        if (static_cast<uint32_t>(stored) < count) return from;
    }
    return to;
}

bool clock_high(std::size_t step) { return (samples[step] & kCts) != 0; }
int32_t data_bit(std::size_t step) { return (samples[step] & kDsr) != 0 ? 1 : 0; }

// Everything in one go; the first clock not seen high (or a device that
// stopped answering) spoils the rest.
void run_whole(Outcome &outcome) {
    const std::size_t stored = run(0, steps.size());
    for (std::size_t step = 0; step < steps.size(); ++step) {
        if (step >= stored) {  // the device stopped answering
            outcome.clocks_ok = false;
            note_bus_fault(WIRELINK_ENODEV);
            return;
        }
        if ((looks[step] & kClockMustBeHigh) && !clock_high(step)) {
            outcome.clocks_ok = false;
            clock_by_clock = true;
            note_clock_missed();
            return;
        }
        if (looks[step] & kDataBit) outcome.bits.push_back(data_bit(step));
    }
}

// Up to and including each release of SCL at a time; a clock that reads low
// is waited for as the register path waits, and the data bit read after it.
void run_clock_by_clock(Outcome &outcome) {
    for (std::size_t from = 0; from < steps.size();) {
        std::size_t last = from;
        while (last + 1 < steps.size() && !(looks[last] & kClockMustBeHigh)) ++last;
        if (run(from, last + 1) != last + 1) {  // the device stopped answering
            outcome.clocks_ok = false;
            note_bus_fault(WIRELINK_ENODEV);
            return;
        }
        bool fresh_sample = true;
        if ((looks[last] & kClockMustBeHigh) && !clock_high(last)) {
            outcome.clocks_ok = wait_for_scl() && outcome.clocks_ok;
            fresh_sample = false;
        }
        if (looks[last] & kDataBit) outcome.bits.push_back(fresh_sample ? data_bit(last) : read_sda());
        from = last + 1;
    }
}

// `running` keeps a register access made meanwhile (a bounded wait for SCL)
// from running these steps a second time.
Outcome run_pending() {
    Outcome outcome;
    samples.assign(steps.size(), 0);
    running = true;
    if (clock_by_clock)
        run_clock_by_clock(outcome);
    else
        run_whole(outcome);
    running = false;
    steps.clear();
    looks.clear();
    return outcome;
}

void add_start() {
    add(WIRELINK_STEP_SDA_HIGH);
    add(WIRELINK_STEP_SCL_HIGH, kClockMustBeHigh);
    add(WIRELINK_STEP_HOLD);
    add(WIRELINK_STEP_SDA_LOW);
    add(WIRELINK_STEP_HOLD);
    add(WIRELINK_STEP_SCL_LOW);
}

void add_sda(bool high) { add(high ? WIRELINK_STEP_SDA_HIGH : WIRELINK_STEP_SDA_LOW); }

void add_stop() {
    add(WIRELINK_STEP_SDA_LOW);
    add(WIRELINK_STEP_SCL_HIGH, kClockMustBeHigh);
    add(WIRELINK_STEP_HOLD);
    add(WIRELINK_STEP_SDA_HIGH);
}

void add_read_byte(int32_t ack) {
    add(WIRELINK_STEP_SDA_HIGH);
    for (int bit = 0; bit < 8; ++bit) {
        add(WIRELINK_STEP_SCL_HIGH, kClockMustBeHigh | kDataBit);
        add(WIRELINK_STEP_SCL_LOW);
    }
    add_sda(ack == 0);
    add(WIRELINK_STEP_SCL_HIGH, kClockMustBeHigh);
    add(WIRELINK_STEP_HOLD);
    add(WIRELINK_STEP_SCL_LOW);
    add(WIRELINK_STEP_SDA_HIGH);
}

void add_send_byte(int32_t value) {
    for (int32_t mask = 0x80; mask != 0; mask >>= 1) {
        add_sda((value & mask) != 0);
        add(WIRELINK_STEP_SCL_HIGH, kClockMustBeHigh);
        add(WIRELINK_STEP_SCL_LOW);
    }
    add(WIRELINK_STEP_HOLD);
    add(WIRELINK_STEP_SDA_HIGH);
    add(WIRELINK_STEP_SCL_HIGH, kClockMustBeHigh | kDataBit);
    add(WIRELINK_STEP_SCL_LOW);
}

// A byte whose clocks were not all seen high was not received by anybody.
int32_t acknowledged(const Outcome &outcome) {
    return (outcome.clocks_ok && !outcome.bits.empty() && outcome.bits[0] == 0) ? 1 : 0;
}

// Byte `index` of a run of reads.  Bits that were not clocked in are no
// data: the bus reads as released.
int32_t byte_read(const Outcome &outcome, int index) {
    const auto first = static_cast<std::size_t>(index) * 8;
    if (!outcome.clocks_ok || outcome.bits.size() < first + 8) return 0xFF;
    int32_t value = 0;
    for (std::size_t bit = first; bit < first + 8; ++bit) value = value * 2 + outcome.bits[bit];
    return value;
}

}  // namespace

bool batch_path_available() {
    const wirelink_port_extension *extension = port_extension();
    const ClaimedPort port = claimed_port();
    return extension != nullptr && port.base != 0 && extension->run_limit(port.base) > 0;
}

void batch_start() {
    note_start();
    add_start();
    if (!ChipCall::inside()) run_pending();
}

void batch_stop() {
    add_stop();
    note_stop();
    if (!ChipCall::inside()) run_pending();
}

int32_t batch_send_byte(int32_t value) {
    add_send_byte(value);
    return acknowledged(run_pending());
}

int32_t batch_send_then_stop(int32_t value) {
    add_send_byte(value);
    add_stop();
    note_stop();
    return acknowledged(run_pending());
}

int32_t batch_read_byte(int32_t ack) {
    add_read_byte(ack);
    return byte_read(run_pending(), 0);
}

void batch_read_then_stop(int32_t *values, int count) {
    for (int i = 0; i < count; ++i) add_read_byte(i + 1 < count ? 1 : 0);
    add_stop();
    note_stop();
    const Outcome outcome = run_pending();
    for (int i = 0; i < count; ++i) values[i] = byte_read(outcome, i);
}

void settle_pending_steps() {
    if (!steps.empty() && !running) run_pending();
}

void reset_batch_path() {
    clock_by_clock = false;
    steps.clear();
    looks.clear();
}

}  // namespace wirelink
