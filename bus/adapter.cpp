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

// The bus state, zero when the library is loaded.
int32_t port_base = 0;
uint8_t saved_mcr = 0;
int32_t delay_count = 0;

// With no port claimed the register offsets would address ports 0, 4 and 6,
// which belong to somebody else; every operation then leaves the ports alone.
bool claimed() { return port_base != 0; }

uint8_t read_register(unsigned offset) {
    return DlPortReadPortUchar(static_cast<unsigned long>(port_base) + offset);
}

void write_register(unsigned offset, uint8_t value) {
    DlPortWritePortUchar(static_cast<unsigned long>(port_base) + offset, value);
}

// Read-modify-write, so that OUT1, OUT2 and loop-back keep what they hold.
int32_t change_line(uint8_t set_bits, uint8_t clear_bits) {
    if (!claimed()) return 0;
    uint8_t mcr = read_register(kModemControl);
    mcr = static_cast<uint8_t>((mcr | set_bits) & ~clear_bits);
    write_register(kModemControl, mcr);
    wait_port();
    return 0;
}

int32_t read_status_bit(uint8_t bit) {
    if (!claimed()) return 1;  // an idle bus reads high
    return (read_register(kModemStatus) & bit) ? 1 : 0;
}

uint8_t write_mcr_and_read_status(uint8_t mcr) {
    write_register(kModemControl, mcr);
    wait_port();
    return read_register(kModemStatus);
}

}  // namespace

wirelink::ClaimedPort wirelink::claimed_port() {
    return {static_cast<uint32_t>(port_base), static_cast<uint32_t>(delay_count)};
}

extern "C" {

// The claim, the probe and the delay change what every chip call relies on,
// so they wait for a running one to finish, as chip calls do.

int32_t WIRELINK_CALL set_port_delay(int32_t delay) {
    const wirelink::ChipCall call;
    delay_count = delay;
    return delay;
}

int32_t WIRELINK_CALL wait_port(void) {
    if (!claimed()) return 0;
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
    if (!claimed()) return 0;
    // Both lines driven low: a CTS that still reads high is not our adapter.
    if (write_mcr_and_read_status(0x00) & kCtsScl) return 0;
    // SDA released: the adapter feeds it back on DSR (some on DCD).  The raw
    // status byte is the result, change bits included.
    const uint8_t released = write_mcr_and_read_status(kDtrSda);
    if (released & (kDsrSda | kDcd)) return released;
    return write_mcr_and_read_status(0x00) != 0 ? 1 : 0;
}

int32_t WIRELINK_CALL init_iic(int32_t port_choice) {
    const wirelink::ChipCall call;
    wirelink::reset_scl_wait();
    wirelink::reset_batch_path();
    wirelink::forget_open_transaction();
    if (port_choice == 0) {
        for (int32_t candidate : {kCom2, kCom1}) {
            port_base = candidate;
            if (iic_ok() != 0) return candidate;
        }
        port_base = 0;
        return 0;
    }
    const int32_t candidate = port_choice == 2 ? kCom2 : kCom1;
    port_base = candidate;
    saved_mcr = read_register(kModemControl);
    if (iic_ok() != 0) return candidate;
    port_base = 0;
    return 0;
}

int32_t WIRELINK_CALL deinit_iic(void) {
    const wirelink::ChipCall call;
    if (claimed()) write_register(kModemControl, saved_mcr);
    return 0;
}

}  // extern "C"
