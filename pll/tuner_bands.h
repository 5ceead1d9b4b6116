// The TSA5523 and SDA3302 tune a TV tuner's oscillator: the divider is taken
// for the requested frequency plus a fixed 37.3 MHz offset, and a band byte,
// chosen from the requested frequency, switches the tuner's three bands.
#ifndef WIRELINK_PLL_TUNER_BANDS_H
#define WIRELINK_PLL_TUNER_BANDS_H

#include <cstdint>

namespace wirelink::pll {

constexpr int64_t kOscillatorOffset = 37'300'000;

// 64 bits: the offset frequency of every 32-bit freq, INT32_MAX included.
constexpr int64_t oscillator_frequency(int32_t freq) { return int64_t{freq} + kOscillatorOffset; }

// Band limits are inclusive upper bounds.
struct BandTable {
    int32_t low_limit;
    int32_t low_band;
    int32_t mid_limit;
    int32_t mid_band;
    int32_t high_band;
};

constexpr int32_t band_for(int32_t freq, const BandTable &table) {
    if (freq <= table.low_limit) return table.low_band;
    if (freq <= table.mid_limit) return table.mid_band;
    return table.high_band;
}

}  // namespace wirelink::pll

#endif
