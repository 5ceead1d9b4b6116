// SDA3302: the TSA5523's record and write, with the divider counted in
// 62.5 kHz steps (16 per MHz) through double precision and its own bands.

#include "bus.h"
#include "tuner_bands.h"
#include "tuner_record.h"

namespace {

using namespace wirelink::pll;
using wirelink::ChipCall;
using wirelink::refused;

constexpr BandTable kBands{122'000'000, 1, 471'000'000, 2, 4};

sda3302_state library_record;

// Hertz to MHz, then 16 steps per MHz (64 x 0.25).  Every 32-bit freq gives
// |x| < 35,000, so the conversion to int32_t is always defined; in this order
// of multiplications every exact multiple of 62.5 kHz yields its exact
// quotient, never one less.
int32_t steps_of(int32_t freq) {
    double x = static_cast<double>(oscillator_frequency(freq));
    x = ((x * 0.000001) * 64.0) * 0.25;
    return static_cast<int32_t>(x);
}

// Mode 1: even; mode 2: a multiple of 4; any other mode: unchanged.
int32_t apply_step_mode(int32_t divider, int32_t step_mode) {
    if (step_mode == 2) return (divider / 4) * 4;
    return apply_even_step(divider, step_mode);
}

}  // namespace

extern "C" {

int32_t WIRELINK_CALL sda3302_init(sda3302_state *state, int32_t control) {
    const ChipCall call;
    if (state == nullptr) return refused();
    return init_tuner(*state, control);
}

int32_t WIRELINK_CALL sda3302_calc(sda3302_state *state, int32_t freq, int32_t step_mode) {
    const ChipCall call;
    if (state == nullptr) return refused();
    const int32_t divider = apply_step_mode(steps_of(freq), step_mode);
    state->band = band_for(freq, kBands);
    return store_divider(*state, divider);
}

int32_t WIRELINK_CALL sda3302_send(sda3302_state *state, int32_t address_offset) {
    const ChipCall call;
    if (state == nullptr) return refused();
    return send_tuner(*state, address_offset);
}

int32_t WIRELINK_CALL pll_sda3302_init(int32_t control) {
    const ChipCall call;
    return sda3302_init(&library_record, control);
}

int32_t WIRELINK_CALL pll_sda3302_calc(int32_t freq, int32_t step_mode) {
    const ChipCall call;
    return sda3302_calc(&library_record, freq, step_mode);
}

int32_t WIRELINK_CALL pll_sda3302_send(int32_t address_offset) {
    const ChipCall call;
    return sda3302_send(&library_record, address_offset);
}

}  // extern "C"
