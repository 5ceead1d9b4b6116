// Reads a fuzzer's bytes as a program: operation numbers and arguments.
// Arguments lean towards the values that matter to the library (small ones,
// the edges of ranges, the 32-bit extremes) while any 32-bit value stays
// reachable.  Past the end every read gives 0.
#ifndef WIRELINK_TESTS_FUZZ_FUZZ_INPUT_H
#define WIRELINK_TESTS_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    bool done() const { return at_ >= size_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    // 0..count-1.
    unsigned pick(unsigned count) { return byte() % count; }

    int32_t int32() {
        static constexpr int32_t kEdges[] = {std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max(),
                                             -1,
                                             0x7F,
                                             0x80,
                                             0xFF,
                                             0x100,
                                             2550,
                                             37'300'000,
                                             100'000'000};
        constexpr unsigned kSmall = 0xF0;
        const uint8_t b = byte();
        if (b < kSmall) return static_cast<int32_t>(b) - 16;  // -16..223
        const unsigned edge = b - kSmall;
        if (edge < sizeof kEdges / sizeof kEdges[0]) return kEdges[edge];
        uint32_t raw = 0;
        for (int i = 0; i < 4; ++i) raw = raw << 8 | byte();
        return static_cast<int32_t>(raw);
    }

    float real() {
        static constexpr float kValues[] = {0.0f,
                                            1.0f,
                                            2.55f,
                                            -1.0f,
                                            5.0f,
                                            1e30f,
                                            -0.0f,
                                            std::numeric_limits<float>::infinity(),
                                            std::numeric_limits<float>::quiet_NaN()};
        const uint8_t b = byte();
        if (b < sizeof kValues / sizeof kValues[0]) return kValues[b];
        uint32_t raw = 0;
        for (int i = 0; i < 4; ++i) raw = raw << 8 | byte();
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }

    // Up to 40 characters, any byte but NUL.
    std::string text() {
        std::string made(pick(41), ' ');
        for (char &c : made) c = static_cast<char>(byte() | 0x01);
        return made;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

#endif
