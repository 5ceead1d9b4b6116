// TSA5523: divider on a fixed 50 kHz step (32 MHz / 640) for the oscillator
// frequency, band byte chosen from the requested one.

#include "bus.h"
#include "tuner_bands.h"
#include "tuner_record.h"

namespace {

using namespace wirelink::pll;
using wirelink::ChipCall;
using wirelink::refused;

constexpr int64_t kStep = 50'000;
constexpr BandTable kBands{169'000'000, 0xA0, 454'000'000, 0x90, 0x30};

tsa5523_state library_record;

}  // namespace

extern "C" {

int32_t WIRELINK_CALL tsa5523_init(tsa5523_state *state, int32_t control) {
    const ChipCall call;
    if (state == nullptr) return refused();
    return init_tuner(*state, control);
}

int32_t WIRELINK_CALL tsa5523_calc(tsa5523_state *state, int32_t freq, int32_t step_mode) {
    const ChipCall call;
    if (state == nullptr) return refused();
    // |offset frequency| / 50,000 stays far inside 32 bits.
    const auto steps = static_cast<int32_t>(oscillator_frequency(freq) / kStep);
    const int32_t divider = apply_even_step(steps, step_mode);
    state->band = band_for(freq, kBands);
    return store_divider(*state, divider);
}

int32_t WIRELINK_CALL tsa5523_send(tsa5523_state *state, int32_t address_offset) {
    const ChipCall call;
    if (state == nullptr) return refused();
    return send_tuner(*state, address_offset);
}

int32_t WIRELINK_CALL tsa5523_read(int32_t address_offset) {
    const ChipCall call;
    return read_status_byte(address_offset);
}

int32_t WIRELINK_CALL pll_tsa5523_init(int32_t control) {
    const ChipCall call;
    return tsa5523_init(&library_record, control);
}

int32_t WIRELINK_CALL pll_tsa5523_calc(int32_t freq, int32_t step_mode) {
    const ChipCall call;
    return tsa5523_calc(&library_record, freq, step_mode);
}

int32_t WIRELINK_CALL pll_tsa5523_send(int32_t address_offset) {
    const ChipCall call;
    return tsa5523_send(&library_record, address_offset);
}

int32_t WIRELINK_CALL pll_tsa5523_read(int32_t address_offset) {
    const ChipCall call;
    return tsa5523_read(address_offset);
}

}  // extern "C"
