// Integer arithmetic of the synthesizer drivers that stays defined for every
// 32-bit argument.  Only the low bits of these values reach the bus, so sums
// that leave the 32-bit range wrap around, which keeps those bits right.
#ifndef WIRELINK_PLL_WRAPPING_MATH_H
#define WIRELINK_PLL_WRAPPING_MATH_H

#include <cstdint>
#include <limits>

namespace wirelink::pll {

// a + b modulo 2^32 (the conversion back to signed is modular in C++20).
constexpr int32_t wrapping_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

struct QuotientRemainder {
    int32_t quotient;
    int32_t remainder;
};

// Truncating division, quotient and remainder as the standard library's div
// gives them.  divisor must not be 0.  The one quotient that does not fit,
// INT32_MIN / -1 = 2^31, wraps to INT32_MIN; its remainder is 0.
constexpr QuotientRemainder divide(int32_t dividend, int32_t divisor) {
    if (divisor == -1 && dividend == std::numeric_limits<int32_t>::min()) return {dividend, 0};
    return {dividend / divisor, dividend % divisor};
}

}  // namespace wirelink::pll

#endif
