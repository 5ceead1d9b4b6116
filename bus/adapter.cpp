// Claiming the adapter, the port delay and the single line operations.
// This is the only code of the library that touches a port.

#include <cstdint>
#include <initializer_list>

#include "batch_path.h"
#include "bus.h"
#include "dlportio.h"
#include "stretch_budget.h"
#include "uart16550.h"

namespace {

constexpr int32_t kCom1 = uart16550::kCom1;
constexpr int32_t kCom2 = uart16550::kCom2;

constexpr unsigned kDataRegister = uart16550::kData;
using uart16550::kModemControl;
using uart16550::kModemStatus;

// The adapter's wiring.
constexpr uint8_t kDtrSda = uart16550::kMcrDtr;
constexpr uint8_t kRtsScl = uart16550::kMcrRts;
constexpr uint8_t kCtsScl = uart16550::kMsrCts;
constexpr uint8_t kDsrSda = uart16550::kMsrDsr;
constexpr uint8_t kDcd = uart16550::kMsrDcd;
// What an empty slot reads, and what the port drivers give once the device
// behind a port has gone away.  No live UART's status register reads it: its
// trailing-edge ring indicator (bit 2) is set only while RI (bit 6) reads low.
constexpr uint8_t kPortGone = 0xFF;

// The bus state, zero when the library is loaded.
int32_t port_base = 0;
uint8_t saved_mcr = 0;
int32_t delay_count = 0;

// With no port claimed the register offsets would address ports 0, 4 and 6,
// which belong to somebody else; every operation then leaves the ports alone.
bool claimed() { return port_base != 0; }

uint32_t status_reads_made = 0;

// The port a wait gave up on, when a bus clear is still due there.
int32_t clear_due_on = 0;

// Line steps waiting for a run go out first: the wire sees every change in
// the order it was made.
uint8_t read_register(unsigned offset) {
    wirelink::settle_pending_steps();
    return DlPortReadPortUchar(static_cast<unsigned long>(port_base) + offset);
}

void write_register(unsigned offset, uint8_t value) {
    wirelink::settle_pending_steps();
    DlPortWritePortUchar(static_cast<unsigned long>(port_base) + offset, value);
}

// A status read of a port that is gone voids the call it belongs to: its
// 0xFF would read as an idle bus, high lines, bytes of 0xFF.
uint8_t read_status() {
    ++status_reads_made;
    const uint8_t status = read_register(kModemStatus);
    if (status == kPortGone) wirelink::note_bus_fault(WIRELINK_ENODEV);
    return status;
}

// A line operation the program calls itself is refused once the call is
// cancelled; within a byte it runs, so that the byte is finished.
bool refused_for_cancel(const wirelink::CallOutcome &outcome) {
    return outcome.outermost() && wirelink::stop_for_cancel();
}

bool unclaimed() {
    if (claimed()) return false;
    wirelink::note_failure(WIRELINK_ENODEV);
    return true;
}

// Read-modify-write, so that OUT1, OUT2 and loop-back keep what they hold.
int32_t change_line(uint8_t set_bits, uint8_t clear_bits) {
    const wirelink::CallOutcome outcome;
    if (unclaimed() || refused_for_cancel(outcome)) return 0;
    uint8_t mcr = read_register(kModemControl);
    mcr = static_cast<uint8_t>((mcr | set_bits) & ~clear_bits);
    write_register(kModemControl, mcr);
    wait_port();
    return 0;
}

int32_t read_status_bit(uint8_t bit) {
    const wirelink::CallOutcome outcome;
    if (unclaimed() || refused_for_cancel(outcome)) return 1;  // an idle bus reads high
    return (read_status() & bit) ? 1 : 0;
}

uint8_t write_mcr_and_read_status(uint8_t mcr) {
    write_register(kModemControl, mcr);
    wait_port();
    return read_status();
}

// A slave that a failed clock left holding SDA would make the probe read no
// adapter: the bus clear that the next transaction would have made comes
// first.  Only after such a failure, so a healthy claim keeps its sequence.
int32_t probe(int32_t candidate) {
    port_base = candidate;
    if (clear_due_on == candidate) {
        wirelink::forget_open_transaction();
        wirelink::note_start();
        wirelink::clear_bus();
    }
    return iic_ok();
}

// The claim names no fault of the ports it passed over on its way.
int32_t claimed_at(int32_t base) {
    wirelink::forget_failures();
    clear_due_on = 0;
    return base;
}

int32_t none_claimed() {
    port_base = 0;
    wirelink::forget_failures();
    wirelink::note_failure(WIRELINK_ENODEV);
    return 0;
}

}  // namespace

wirelink::ClaimedPort wirelink::claimed_port() {
    return {static_cast<uint32_t>(port_base), static_cast<uint32_t>(delay_count)};
}

uint32_t wirelink::status_reads() { return status_reads_made; }

extern "C" {

// The claim, the probe and the delay change what every chip call relies on,
// so they wait for a running one to finish, as chip calls do.

int32_t WIRELINK_CALL set_port_delay(int32_t delay) {
    const wirelink::ChipCall call;
    delay_count = delay;
    return delay;
}

int32_t WIRELINK_CALL wait_port(void) {
    const wirelink::CallOutcome outcome;
    if (unclaimed() || refused_for_cancel(outcome)) return 0;
    const unsigned reads = static_cast<uint32_t>(delay_count) & 0xFFu;
    for (unsigned i = 0; i < reads; ++i) read_register(kDataRegister);
    return 0;
}

int32_t WIRELINK_CALL sda_high(void) { return change_line(kDtrSda, 0); }
int32_t WIRELINK_CALL sda_low(void) { return change_line(0, kDtrSda); }
int32_t WIRELINK_CALL scl_high(void) { return change_line(kRtsScl, 0); }
int32_t WIRELINK_CALL scl_low(void) { return change_line(0, kRtsScl); }

int32_t WIRELINK_CALL read_sda(void) { return read_status_bit(kDsrSda); }
int32_t WIRELINK_CALL read_scl(void) { return read_status_bit(kCtsScl); }

int32_t WIRELINK_CALL iic_ok(void) {
    const wirelink::ChipCall call;
    if (unclaimed() || wirelink::stop_for_cancel()) return 0;
    // Both lines driven low: a CTS that still reads high is not our adapter.
    if (write_mcr_and_read_status(0x00) & kCtsScl) {
        wirelink::note_failure(WIRELINK_ENODEV);
        return 0;
    }
    // SDA released: the adapter feeds it back on DSR (some on DCD).  The raw
    // status byte is the result, change bits included.
    const uint8_t released = write_mcr_and_read_status(kDtrSda);
    if (released & (kDsrSda | kDcd)) return released;
    if (write_mcr_and_read_status(0x00) != 0) return 1;
    wirelink::note_failure(WIRELINK_ENODEV);
    return 0;
}

int32_t WIRELINK_CALL init_iic(int32_t port_choice) {
    const wirelink::ChipCall call;
    wirelink_cancel_reset();
    if (wirelink::bus_clear_due() && clear_due_on == 0) clear_due_on = port_base;
    wirelink::reset_scl_wait();
    wirelink::reset_batch_path();
    wirelink::forget_open_transaction();
    if (port_choice == 0) {
        for (int32_t candidate : {kCom2, kCom1}) {
            if (probe(candidate) != 0) return claimed_at(candidate);
        }
        return none_claimed();
    }
    const int32_t candidate = port_choice == 2 ? kCom2 : kCom1;
    port_base = candidate;
    saved_mcr = read_register(kModemControl);
    if (probe(candidate) != 0) return claimed_at(candidate);
    return none_claimed();
}

int32_t WIRELINK_CALL deinit_iic(void) {
    const wirelink::ChipCall call;
    wirelink_cancel_reset();
    if (unclaimed()) return 0;
    write_register(kModemControl, saved_mcr);
    return 0;
}

}  // extern "C"
