// TBB200: reference counter R and main counter from ratios of frequencies,
// each register written in a transaction of its own.

#include "bus.h"
#include "synth_bus.h"

namespace {

using namespace wirelink::pll;
using wirelink::ChipCall;
using wirelink::FaultWatch;
using wirelink::refused;
using wirelink::start_transaction;

constexpr int32_t kInitialStatus = 0xF8;
constexpr int32_t kAddress = 0xC4;
constexpr int32_t kStatusRegister = 8;
constexpr int32_t kReferenceRegister = 4;
constexpr int32_t kMainRegister = 12;

tbb200_state library_record;

bool swallow_mode(const tbb200_state &state) { return state.mode != 0; }

// Start, address byte and register-select byte; mode offsets both.  The
// watch covers the whole transaction.
FaultWatch open_register(const tbb200_state &state, int32_t register_number) {
    const FaultWatch faults = start_transaction();
    send_bytes({wrapping_add(kAddress, state.mode), wrapping_add(state.mode, register_number)});
    return faults;
}

// The acknowledge of the last byte, unless the transaction met a fault.
int32_t close_register(const FaultWatch &faults, int32_t ack) {
    iic_stop();
    return faults.failed() ? 0 : ack;
}

// Right shifts of negative counts are arithmetic (defined since C++20).
void store_main_counter(tbb200_state &state, int32_t total) {
    if (!swallow_mode(state)) {
        state.n_byte2 = total >> 8;
        state.n_byte3 = total & 0xFF;
        return;
    }
    const QuotientRemainder split = divide(total, state.prescaler);
    const int32_t n = split.quotient;
    const int32_t a = split.remainder;
    state.n_byte1 = a >> 4;
    // Added, not OR'ed, as callers have always received it: an N of 4096 or
    // more carries into A's nibble.
    state.n_byte2 = (a & 0x0F) * 16 + (n >> 8);
    state.n_byte3 = n & 0xFF;
}

}  // namespace

extern "C" {

int32_t WIRELINK_CALL tbb200_init(tbb200_state *state, int32_t mode, int32_t fref, int32_t prescaler) {
    const ChipCall call;
    if (state == nullptr) return refused();
    *state = tbb200_state{};
    state->mode = mode;
    state->status = kInitialStatus;
    state->fref = fref;
    state->prescaler = prescaler;
    return kInitialStatus;
}

int32_t WIRELINK_CALL tbb200_calc(tbb200_state *state, int32_t fstep, int32_t freq) {
    const ChipCall call;
    if (state == nullptr) return refused();
    // Refused before anything is written, so a zero step leaves the record
    // as it was.
    if (fstep == 0 || (swallow_mode(*state) && state->prescaler == 0)) return refused();
    const int32_t reference = divide(state->fref, fstep).quotient;
    const int32_t total = divide(freq, fstep).quotient;
    state->r_high = reference >> 8;
    state->r_low = reference & 0xFF;
    store_main_counter(*state, total);
    return total;
}

int32_t WIRELINK_CALL tbb200_send_status(tbb200_state *state, int32_t status) {
    const ChipCall call;
    if (state == nullptr) return refused();
    const FaultWatch faults = open_register(*state, kStatusRegister);
    const int32_t ack = send_bytes({status});
    state->status = status;  // kept whether or not the chip took it
    return close_register(faults, ack);
}

int32_t WIRELINK_CALL tbb200_send_r_cnt(tbb200_state *state) {
    const ChipCall call;
    if (state == nullptr) return refused();
    const FaultWatch faults = open_register(*state, kReferenceRegister);
    return close_register(faults, send_bytes({state->r_high, state->r_low}));
}

int32_t WIRELINK_CALL tbb200_send_n_cnt(tbb200_state *state) {
    const ChipCall call;
    if (state == nullptr) return refused();
    const FaultWatch faults = open_register(*state, kMainRegister);
    if (swallow_mode(*state)) send_bytes({state->n_byte1});
    return close_register(faults, send_bytes({state->n_byte2, state->n_byte3}));
}

int32_t WIRELINK_CALL pll_tbb200_init(int32_t mode, int32_t fref, int32_t prescaler) {
    const ChipCall call;
    return tbb200_init(&library_record, mode, fref, prescaler);
}

int32_t WIRELINK_CALL pll_tbb200_calc(int32_t fstep, int32_t freq) {
    const ChipCall call;
    return tbb200_calc(&library_record, fstep, freq);
}

int32_t WIRELINK_CALL pll_tbb200_send_status(int32_t status) {
    const ChipCall call;
    return tbb200_send_status(&library_record, status);
}

int32_t WIRELINK_CALL pll_tbb200_send_r_cnt(void) {
    const ChipCall call;
    return tbb200_send_r_cnt(&library_record);
}

int32_t WIRELINK_CALL pll_tbb200_send_n_cnt(void) {
    const ChipCall call;
    return tbb200_send_n_cnt(&library_record);
}

}  // extern "C"
