// The four bus primitives, each a fixed sequence of line operations.  Every
// line change already ends with a port wait; the explicit waits below are the
// extra ones of each condition.  A START and the STOP after it bound one
// transaction's clock stretching.

#include "batch_path.h"
#include "bus.h"
#include "stretch_budget.h"

using wirelink::wait_for_scl;

namespace wirelink {
namespace {

constexpr int kBusClearClocks = 9;

// Bytes sent since the last START: the first is the address, whose missing
// acknowledge means nobody is there; a later one's means the chip refused it.
int bytes_since_start = 0;

int32_t unacknowledged_code() { return bytes_since_start == 1 ? WIRELINK_ENXIO : WIRELINK_EREMOTEIO; }

// A byte's result as iic_send_byte gives it, with the fault of a missing
// acknowledge noted.
int32_t acknowledge_result(bool acknowledged) {
    if (acknowledged) return 1;
    note_failure(unacknowledged_code());
    return 0;
}

// A wait that gave up may have left a slave in the middle of a byte, holding
// SDA low for a data bit or an acknowledge: it would not see the next START
// and would go on sending into it.  This runs only after a wait gave up, so a
// healthy bus keeps its sequences; while the clock stays dead it is tried
// again at the next transaction.
void clear_bus_after_clock_failure() {
    if (bus_clear_due()) clear_bus();
}

// A byte and its acknowledge clock; true when acknowledged.  A byte whose
// clock never came up was not received by anybody.
bool send_byte_bits(int32_t value) {
    bool clock_ok = true;
    for (int32_t mask = 0x80; mask != 0; mask >>= 1) {
        if (value & mask)
            sda_high();
        else
            sda_low();
        scl_high();
        clock_ok = wait_for_scl() && clock_ok;
        scl_low();
    }
    wait_port();
    sda_high();
    scl_high();
    clock_ok = wait_for_scl() && clock_ok;
    const int32_t sda = read_sda();
    scl_low();
    return clock_ok && sda == 0;
}

}  // namespace

// As the I2C bus clear does, clock SCL (nine times at most) until SDA is
// free, then START and STOP to put every slave back to idle.
void clear_bus() {
    sda_high();
    scl_high();
    if (!wait_for_scl()) return;
    for (int clock = 0; clock < kBusClearClocks && read_sda() == 0; ++clock) {
        scl_low();
        scl_high();
        if (!wait_for_scl()) return;
    }
    if (read_sda() == 0) return;
    iic_stop();
    bus_cleared();
}

int32_t read_byte_bits() {
    sda_high();
    int32_t value = 0;
    for (int bit = 0; bit < 8; ++bit) {
        scl_high();
        wait_for_scl();
        value = value * 2 + read_sda();
        scl_low();
    }
    return value;
}

void acknowledge_read(bool ack) {
    if (ack)
        sda_low();
    else
        sda_high();
    scl_high();
    wait_for_scl();
    wait_port();
    scl_low();
    sda_high();
}

FaultWatch start_transaction() {
    const FaultWatch watch;
    if (stop_for_cancel()) return watch;
    forget_open_transaction();
    note_start();  // the bus clear spends the new transaction's budget
    clear_bus_after_clock_failure();
    const FaultWatch from_start;
    iic_start();
    return from_start;
}

void send_stop() {
    if (batch_path_available()) return batch_stop();
    sda_low();
    scl_high();
    wait_for_scl();
    wait_port();
    sda_high();
    note_stop();
}

int32_t send_byte_then_stop(int32_t value) {
    if (!batch_path_available() || cancel_requested()) {
        const int32_t acknowledged = iic_send_byte(value);
        iic_stop();
        return acknowledged;
    }
    const CallOutcome outcome;
    ++bytes_since_start;
    return acknowledge_result(batch_send_then_stop(value) != 0);
}

void read_bytes_then_stop(int32_t *values, int count) {
    if (!batch_path_available() || cancel_requested()) {
        for (int i = 0; i < count; ++i) values[i] = iic_read_byte(i + 1 < count ? 1 : 0);
        iic_stop();
        return;
    }
    const CallOutcome outcome;
    batch_read_then_stop(values, count);
}

}  // namespace wirelink

extern "C" {

// Each primitive is a byte boundary, where a cancelled call stops.

int32_t WIRELINK_CALL iic_start(void) {
    const wirelink::CallOutcome outcome;
    if (wirelink::stop_for_cancel()) return 0;
    wirelink::bytes_since_start = 0;
    if (wirelink::batch_path_available()) return wirelink::batch_start(), 0;
    // Releasing SDA before raising SCL makes this a repeated START when a
    // transaction is still open.
    wirelink::note_start();
    sda_high();
    scl_high();
    wait_for_scl();
    wait_port();
    sda_low();
    wait_port();
    scl_low();
    return 0;
}

int32_t WIRELINK_CALL iic_stop(void) {
    const wirelink::CallOutcome outcome;
    if (wirelink::stop_for_cancel()) return 0;
    wirelink::send_stop();
    return 0;
}

int32_t WIRELINK_CALL iic_send_byte(int32_t value) {
    const wirelink::CallOutcome outcome;
    if (wirelink::stop_for_cancel()) return 0;
    ++wirelink::bytes_since_start;
    return wirelink::acknowledge_result(wirelink::batch_path_available()
                                            ? wirelink::batch_send_byte(value) != 0
                                            : wirelink::send_byte_bits(value));
}

int32_t WIRELINK_CALL iic_read_byte(int32_t ack) {
    const wirelink::CallOutcome outcome;
    if (wirelink::stop_for_cancel()) return 0xFF;
    if (wirelink::batch_path_available()) return wirelink::batch_read_byte(ack);
    const int32_t value = wirelink::read_byte_bits();
    wirelink::acknowledge_read(ack != 0);
    return value;
}

}  // extern "C"
