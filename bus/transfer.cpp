// Combined transfers: several messages joined by repeated STARTs, ended by one
// STOP, as one chip call.  Every byte goes through the same primitives as the
// chip drivers' bytes, so the wire sees the sequences it always saw.

#include <cstddef>
#include <vector>

#include "batch_path.h"
#include "bus.h"
#include "outcome.h"

namespace wirelink {
namespace {

constexpr int32_t kMaxMessages = 42;  // as Linux's I2C_RDWR
constexpr int32_t kMaxLength = 8192;  // as Linux's i2c-dev
constexpr int32_t kMaxBlockCount = 32;
constexpr uint16_t kKnownFlags = WIRELINK_MSG_READ | WIRELINK_MSG_RECV_LEN;

enum class Outcome {
    done,
    invalid,
    address_not_acknowledged,
    data_not_acknowledged,
    bus_fault,  // the clock, the port or a cancel: the call's noted fault says which
    bad_count
};

// The one place an outcome becomes the caller's result and the last error.
// A bus fault has already been noted as the call's outcome, ranked against
// the acknowledge faults it caused.
int32_t result_of(Outcome outcome) {
    switch (outcome) {
    case Outcome::done:
        return 0;
    case Outcome::invalid:
        refused();
        return -WIRELINK_EINVAL;
    case Outcome::address_not_acknowledged:
    case Outcome::data_not_acknowledged:
    case Outcome::bus_fault:
        break;
    case Outcome::bad_count:
        note_failure(WIRELINK_EPROTO);
        break;
    }
    const int32_t code = failure_in_progress();
    return code != 0 ? -code : -WIRELINK_EREMOTEIO;
}

bool is_read(const wirelink_msg &message) { return (message.flags & WIRELINK_MSG_READ) != 0; }
bool has_block_count(const wirelink_msg &message) { return (message.flags & WIRELINK_MSG_RECV_LEN) != 0; }

bool valid(const wirelink_msg &message) {
    if (message.address > 0x7F || (message.flags & ~kKnownFlags) != 0) return false;
    if (has_block_count(message) && !is_read(message)) return false;
    const int32_t shortest = is_read(message) ? 1 : 0;
    if (message.length < shortest || message.length > kMaxLength) return false;
    return message.length == 0 || message.data != nullptr;
}

bool valid(const wirelink_msg *messages, int32_t count) {
    if (messages == nullptr || count < 1 || count > kMaxMessages) return false;
    for (int32_t i = 0; i < count; ++i) {
        if (!valid(messages[i])) return false;
    }
    return true;
}

// A byte that was not acknowledged because its clock never came up tells of
// the clock, not of the slave.
Outcome not_acknowledged(const FaultWatch &clock, Outcome otherwise) {
    return clock.failed() ? Outcome::bus_fault : otherwise;
}

Outcome send_address(const wirelink_msg &message, const FaultWatch &clock) {
    const int32_t address_byte = message.address * 2 + (is_read(message) ? 1 : 0);
    if (iic_send_byte(address_byte) == 0) return not_acknowledged(clock, Outcome::address_not_acknowledged);
    return clock.failed() ? Outcome::bus_fault : Outcome::done;
}

Outcome write_data(const wirelink_msg &message, const FaultWatch &clock) {
    for (int32_t i = 0; i < message.length; ++i) {
        if (iic_send_byte(message.data[i]) == 0)
            return not_acknowledged(clock, Outcome::data_not_acknowledged);
    }
    return clock.failed() ? Outcome::bus_fault : Outcome::done;
}

// The bytes of the transfer's last read from `next` on, with the STOP.
Outcome read_last(const wirelink_msg &message, int32_t next, int32_t total, const FaultWatch &clock,
                  bool &stopped) {
    std::vector<int32_t> values(static_cast<std::size_t>(total - next));
    read_bytes_then_stop(values.data(), static_cast<int>(values.size()));
    stopped = true;
    if (clock.failed()) return Outcome::bus_fault;
    for (int32_t i = next; i < total; ++i) message.data[i] = static_cast<uint8_t>(values[i - next]);
    return Outcome::done;
}

// The first byte of a block read is its count; a count that does not fit is
// not acknowledged, so the slave lets go of the bus before the STOP.  Every
// other byte is a whole read primitive; with `stopping` (the transfer's last
// message, on a port that runs line steps) they go out with the STOP.
Outcome read_data(const wirelink_msg &message, const FaultWatch &clock, bool *stopping) {
    int32_t total = message.length;
    int32_t next = 0;
    if (has_block_count(message)) {
        const int32_t count = read_byte_bits();
        message.data[next++] = static_cast<uint8_t>(count);
        const bool fits = count >= 1 && count <= kMaxBlockCount;
        acknowledge_read(fits);
        if (clock.failed()) return Outcome::bus_fault;
        if (!fits) return Outcome::bad_count;
        total += count;
    }
    if (stopping != nullptr && next < total) return read_last(message, next, total, clock, *stopping);
    for (; next < total; ++next) {
        message.data[next] = static_cast<uint8_t>(iic_read_byte(next + 1 < total ? 1 : 0));
        if (clock.failed()) return Outcome::bus_fault;
    }
    return Outcome::done;
}

// A zero-length write that ends the transfer (a probe): the address byte and
// the STOP, which follows whatever the acknowledge.
Outcome address_and_stop(const wirelink_msg &message, const FaultWatch &clock, bool &stopped) {
    const int32_t acknowledged = send_byte_then_stop(message.address * 2);
    stopped = true;
    if (acknowledged == 0) return not_acknowledged(clock, Outcome::address_not_acknowledged);
    return clock.failed() ? Outcome::bus_fault : Outcome::done;
}

Outcome run(const wirelink_msg &message, const FaultWatch &clock, bool *stopping) {
    if (stopping != nullptr && !is_read(message) && message.length == 0)
        return address_and_stop(message, clock, *stopping);
    const Outcome addressed = send_address(message, clock);
    if (addressed != Outcome::done) return addressed;
    return is_read(message) ? read_data(message, clock, stopping) : write_data(message, clock);
}

Outcome run_all(const wirelink_msg *messages, int32_t count) {
    const ChipCall call;
    const FaultWatch clock = start_transaction();
    // A port that runs line steps takes the last read's bytes and the STOP
    // in one exchange.
    const bool read_with_stop = batch_path_available();
    bool stopped = false;
    Outcome outcome = Outcome::done;
    for (int32_t i = 0; i < count && outcome == Outcome::done; ++i) {
        if (i > 0) iic_start();
        outcome = run(messages[i], clock, read_with_stop && i + 1 == count ? &stopped : nullptr);
    }
    if (!stopped) iic_stop();
    if (outcome == Outcome::done && clock.failed()) return Outcome::bus_fault;
    return outcome;
}

}  // namespace
}  // namespace wirelink

extern "C" int32_t WIRELINK_CALL wirelink_transfer(const wirelink_msg *messages, int32_t count) {
    using namespace wirelink;
    const CallOutcome call;
    return result_of(valid(messages, count) ? run_all(messages, count) : Outcome::invalid);
}
