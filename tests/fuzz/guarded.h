// A caller's buffer with guard bytes on both sides, to see whether a call
// wrote anywhere it may not.
#ifndef WIRELINK_TESTS_FUZZ_GUARDED_H
#define WIRELINK_TESTS_FUZZ_GUARDED_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

template <std::size_t Size>
class Guarded {
public:
    static constexpr uint8_t kFill = 0xA5;

    Guarded() { std::memset(bytes_, kFill, sizeof bytes_); }
    template <typename T>
    explicit Guarded(const T &value) : Guarded() {
        static_assert(sizeof(T) <= Size);
        std::memcpy(data(), &value, sizeof value);
    }

    uint8_t *data() { return bytes_ + kGuard; }
    template <typename T>
    T *as() {
        return reinterpret_cast<T *>(data());
    }
    template <typename T>
    T value() const {
        T copy;
        std::memcpy(&copy, bytes_ + kGuard, sizeof copy);
        return copy;
    }

    // True when nothing outside the first `used` bytes of the buffer changed.
    bool intact(std::size_t used = Size) const {
        const auto untouched = [](const uint8_t *from, const uint8_t *to) {
            return std::all_of(from, to, [](uint8_t b) { return b == kFill; });
        };
        return untouched(bytes_, bytes_ + kGuard) &&
               untouched(bytes_ + kGuard + used, bytes_ + sizeof bytes_);
    }

private:
    static constexpr std::size_t kGuard = 64;
    alignas(8) uint8_t bytes_[kGuard + Size + kGuard];
};

#endif
