// TSA5511: divider on a step of fref / 64, port byte set by init.

#include "bus.h"
#include "divider_bytes.h"
#include "wrapping_math.h"

namespace {

using namespace wirelink::pll;
using wirelink::ChipCall;
using wirelink::refused;

constexpr int32_t kDefaultReference = 4'000'000;
constexpr int32_t kStepsPerReference = 64;

tsa5511_state library_record;

}  // namespace

extern "C" {

int32_t WIRELINK_CALL tsa5511_init(tsa5511_state *state, int32_t control, int32_t fref, int32_t port) {
    const ChipCall call;
    if (state == nullptr) return refused();
    *state = tsa5511_state{};
    state->control = control;
    state->port = port;
    state->fref = fref != 0 ? fref : kDefaultReference;
    state->step = state->fref / kStepsPerReference;
    return control;
}

int32_t WIRELINK_CALL tsa5511_calc(tsa5511_state *state, int32_t freq, int32_t step_mode) {
    const ChipCall call;
    if (state == nullptr) return refused();
    // The step comes from fref, not from the step field, so a caller that
    // fills the record itself only needs to set fref.
    const int32_t step = state->fref / kStepsPerReference;
    if (step == 0) return refused();  // no init, or a reference below 64 Hz
    const int32_t divider = apply_even_step(divide(freq, step).quotient, step_mode);
    return store_divider(*state, divider);
}

int32_t WIRELINK_CALL tsa5511_send(tsa5511_state *state, int32_t address_offset) {
    const ChipCall call;
    if (state == nullptr) return refused();
    return send_divider_record(address_offset,
                               {state->div_high, state->div_low, state->control, state->port});
}

int32_t WIRELINK_CALL tsa5511_read(int32_t address_offset) {
    const ChipCall call;
    return read_status_byte(address_offset);
}

int32_t WIRELINK_CALL pll_tsa5511_init(int32_t control, int32_t fref, int32_t port) {
    const ChipCall call;
    return tsa5511_init(&library_record, control, fref, port);
}

int32_t WIRELINK_CALL pll_tsa5511_calc(int32_t freq, int32_t step_mode) {
    const ChipCall call;
    return tsa5511_calc(&library_record, freq, step_mode);
}

int32_t WIRELINK_CALL pll_tsa5511_send(int32_t address_offset) {
    const ChipCall call;
    return tsa5511_send(&library_record, address_offset);
}

int32_t WIRELINK_CALL pll_tsa5511_read(int32_t address_offset) {
    const ChipCall call;
    return tsa5511_read(address_offset);
}

}  // extern "C"
