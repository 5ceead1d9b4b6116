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

// A wait that gave up may have left a slave in the middle of a byte, holding
// SDA low for a data bit or an acknowledge: it would not see the next START
// and would go on sending into it.  As the I2C bus clear does, clock SCL
// (nine times at most) until SDA is free, then START and STOP to put every
// slave back to idle.  This runs only after a wait gave up, so a healthy bus
// keeps its sequences; while the clock stays dead it is tried again at the
// next transaction.
void clear_bus_after_clock_failure() {
    if (!bus_clear_due()) return;
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

}  // namespace

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

ClockWatch start_transaction() {
    forget_open_transaction();
    note_start();  // the bus clear spends the new transaction's budget
    clear_bus_after_clock_failure();
    const ClockWatch watch;
    if (batch_path_available())
        batch_start(true);
    else
        iic_start();
    return watch;
}

}  // namespace wirelink

extern "C" {

int32_t WIRELINK_CALL iic_start(void) {
    // Releasing SDA before raising SCL makes this a repeated START when a
    // transaction is still open.
    if (wirelink::batch_path_available()) return wirelink::batch_start(false), 0;
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
    if (wirelink::batch_path_available()) return wirelink::batch_stop(), 0;
    sda_low();
    scl_high();
    wait_for_scl();
    wait_port();
    sda_high();
    wirelink::note_stop();
    return 0;
}

int32_t WIRELINK_CALL iic_send_byte(int32_t value) {
    if (wirelink::batch_path_available()) return wirelink::batch_send_byte(value);
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
    // A byte whose clock never came up was not received by anybody.
    return (clock_ok && sda == 0) ? 1 : 0;
}

int32_t WIRELINK_CALL iic_read_byte(int32_t ack) {
    if (wirelink::batch_path_available()) return wirelink::batch_read_byte(ack);
    const int32_t value = wirelink::read_byte_bits();
    wirelink::acknowledge_read(ack != 0);
    return value;
}

}  // extern "C"
