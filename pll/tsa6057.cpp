// TSA6057: a 17-bit divider spread over three data bytes, with the reference
// select and the control bits sharing db2.

#include "bus.h"
#include "synth_bus.h"

namespace {

using namespace wirelink::pll;
using wirelink::ChipCall;
using wirelink::FaultWatch;
using wirelink::refused;
using wirelink::start_transaction;

constexpr int32_t kAddress = 0xC4;
constexpr int32_t kControlBits = 0x3C;  // db2 bits 5..2
constexpr int32_t kInitialControl = 4;  // init adds db2 bit 2 to the caller's bits

tsa6057_state library_record;

int32_t step_for(int32_t ref_select) {
    switch (ref_select) {
    case 0:
        return 1'000;
    case 64:
        return 10'000;
    default:
        return 25'000;
    }
}

}  // namespace

extern "C" {

int32_t WIRELINK_CALL tsa6057_init(tsa6057_state *state, int32_t control_bits, int32_t ref_select) {
    const ChipCall call;
    if (state == nullptr) return refused();
    *state = tsa6057_state{};
    state->db2 = wrapping_add(wrapping_add(control_bits, ref_select), kInitialControl);
    state->step = step_for(ref_select);
    return control_bits;
}

int32_t WIRELINK_CALL tsa6057_calc(tsa6057_state *state, int32_t freq, int32_t ref_select) {
    const ChipCall call;
    if (state == nullptr) return refused();
    // Only the control bits survive from before; the reference select and
    // the top divider bits are replaced.
    state->db2 = wrapping_add(state->db2 & kControlBits, ref_select);
    state->step = step_for(ref_select);
    const int32_t n = freq / state->step;  // the step is never 0 or -1
    state->db0 = (n & 0x7F) * 2 + 1;
    state->db1 = (n & 0x7F80) >> 7;
    state->db2 = wrapping_add(state->db2, (n & 0x18000) >> 15);
    return n;
}

int32_t WIRELINK_CALL tsa6057_send(tsa6057_state *state, int32_t address_offset) {
    const ChipCall call;
    if (state == nullptr) return refused();
    const FaultWatch faults = start_transaction();
    const int32_t ack = send_bytes({wrapping_add(kAddress, address_offset), state->subaddress, state->db0,
                                    state->db1, state->db2, state->db3});
    iic_stop();
    return faults.failed() ? 0 : ack;
}

int32_t WIRELINK_CALL pll_tsa6057_init(int32_t control_bits, int32_t ref_select) {
    const ChipCall call;
    return tsa6057_init(&library_record, control_bits, ref_select);
}

int32_t WIRELINK_CALL pll_tsa6057_calc(int32_t freq, int32_t ref_select) {
    const ChipCall call;
    return tsa6057_calc(&library_record, freq, ref_select);
}

int32_t WIRELINK_CALL pll_tsa6057_send(int32_t address_offset) {
    const ChipCall call;
    return tsa6057_send(&library_record, address_offset);
}

}  // extern "C"
