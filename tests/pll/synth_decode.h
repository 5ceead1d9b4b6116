// Reads a synthesizer's received bytes back as the chip would: its divider,
// reference step and the frequency it was tuned to, so that a test can say
// "the chip runs at 100 MHz" as well as compare bytes.
#ifndef WIRELINK_TESTS_PLL_SYNTH_DECODE_H
#define WIRELINK_TESTS_PLL_SYNTH_DECODE_H

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace synth {

using Bytes = std::vector<uint8_t>;

inline void expect_length(const Bytes &bytes, std::size_t length) {
    if (bytes.size() != length) throw std::length_error("the chip did not receive a whole write");
}

// TSA5511, TSA5523, SDA3302: divider high, divider low, control, port/band.
struct TunerWrite {
    int32_t divider;  // 15 bits: bit 7 of the high byte is not a divider bit
    uint8_t control;
    uint8_t fourth;
};

inline TunerWrite tuner_write(const Bytes &bytes) {
    expect_length(bytes, 4);
    return {(bytes[0] & 0x7F) * 256 + bytes[1], bytes[2], bytes[3]};
}

constexpr int64_t kOscillatorOffset = 37'300'000;

inline int64_t tsa5511_hz(const Bytes &bytes, int32_t fref) {
    return int64_t{tuner_write(bytes).divider} * (fref / 64);
}
inline int64_t tsa5523_hz(const Bytes &bytes) {
    return int64_t{tuner_write(bytes).divider} * 50'000 - kOscillatorOffset;
}
inline int64_t sda3302_hz(const Bytes &bytes) {
    return int64_t{tuner_write(bytes).divider} * 62'500 - kOscillatorOffset;
}

// TSA6057: subaddress, db0, db1, db2, db3.
struct Tsa6057Write {
    int32_t divider;  // 17 bits
    int32_t step;     // from the reference select bits 7..6 of db2
    int32_t control_bits;  // db2 bits 5..2
    int64_t hz() const { return int64_t{divider} * step; }
};

inline Tsa6057Write tsa6057_write(const Bytes &bytes) {
    expect_length(bytes, 5);
    const int32_t divider = (bytes[1] >> 1) + bytes[2] * 128 + (bytes[3] & 0x03) * 32768;
    static constexpr int32_t kSteps[] = {1'000, 10'000, 25'000, 25'000};
    return {divider, kSteps[bytes[3] >> 6], (bytes[3] >> 2) & 0x0F};
}

// TBB200 registers, register-select byte first.
inline int32_t tbb200_reference_count(const Bytes &bytes) {
    expect_length(bytes, 3);
    return bytes[1] * 256 + bytes[2];
}

// The total ratio T: two bytes, or N and the swallow count A (T = N * P + A).
inline int32_t tbb200_total(const Bytes &bytes, int32_t prescaler) {
    if (bytes.size() == 3) return bytes[1] * 256 + bytes[2];
    expect_length(bytes, 4);
    const int32_t swallow = bytes[1] * 16 + (bytes[2] >> 4);
    const int32_t main = (bytes[2] & 0x0F) * 256 + bytes[3];
    return main * prescaler + swallow;
}

// The output frequency: T steps of fref / R.
inline int64_t tbb200_frequency(const Bytes &r_register, const Bytes &n_register, int32_t fref,
                                int32_t prescaler) {
    return int64_t{tbb200_total(n_register, prescaler)} * fref / tbb200_reference_count(r_register);
}

}  // namespace synth

#endif
