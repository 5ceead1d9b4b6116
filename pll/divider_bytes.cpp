#include "divider_bytes.h"

#include "bus.h"
#include "synth_bus.h"

namespace wirelink::pll {

namespace {
constexpr int32_t kHighBits = 0x7F00;
constexpr int32_t kWriteAddress = 0xC0;
constexpr int32_t kReadAddress = 0xC1;
}  // namespace

DividerBytes split_divider(int32_t divider) {
    const int32_t high_bits = divider & kHighBits;
    // Subtracting bits that are set in the divider cannot overflow, and it
    // leaves bit 15 and up in div_low, where the bus drops them.
    return {high_bits >> 8, divider - high_bits};
}

int32_t apply_even_step(int32_t divider, int32_t step_mode) {
    // An odd divider is never INT32_MIN, so the decrement stays in range.
    if (step_mode == 1 && divider % 2 != 0) return divider - 1;
    return divider;
}

int32_t send_divider_record(int32_t address_offset, const DividerRecord &record) {
    const FaultWatch faults = start_transaction();
    const int32_t ack = send_bytes({wrapping_add(kWriteAddress, address_offset), record.div_high,
                                    record.div_low, record.control, record.fourth});
    iic_stop();
    return faults.failed() ? 0 : ack;
}

int32_t read_status_byte(int32_t address_offset) {
    const FaultWatch faults = start_transaction();
    const bool present = iic_send_byte(wrapping_add(kReadAddress, address_offset)) != 0;
    const int32_t status = present ? iic_read_byte(0) : 0;
    iic_stop();
    return faults.failed() ? 0 : status;
}

}  // namespace wirelink::pll
