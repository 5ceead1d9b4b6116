#include "monotonic_clock.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace wirelink {

#if defined(_WIN32)

std::chrono::nanoseconds monotonic_now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    // Whole seconds and the rest apart, so that the product cannot overflow.
    const long long per_second = frequency.QuadPart;
    const long long seconds = count.QuadPart / per_second;
    const long long rest = count.QuadPart % per_second;
    return std::chrono::seconds(seconds) + std::chrono::nanoseconds(rest * 1'000'000'000 / per_second);
}

#else

std::chrono::nanoseconds monotonic_now() { return std::chrono::steady_clock::now().time_since_epoch(); }

#endif

}  // namespace wirelink
