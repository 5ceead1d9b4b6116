// The busy-flag wait that stands in for fixed delays after every instruction
// and character.

#include <cstdio>

#include "lcd_port.h"

namespace wirelink {

int32_t lcd_last_ac = 0;

namespace {

constexpr int kBusyTries = 10;
constexpr int32_t kBusyFlag = 0x80;

}  // namespace

int32_t lcd_busy_wait() {
    const FaultWatch faults;
    for (int attempt = 0; attempt < kBusyTries; ++attempt) {
        const int32_t flag_and_high = lcd_nibble_in(0);
        lcd_sleep_ms(0);
        const int32_t low = lcd_nibble_in(0);
        // A failed clock read nothing: not a busy display, a dead bus, and
        // polling on would not bring it back.
        if (faults.failed()) return 1;
        if ((flag_and_high & kBusyFlag) == 0) {
            lcd_last_ac = flag_and_high + (low >> 4);
            return 0;
        }
        std::fputs("TimeOut busy\n", stdout);
        std::fflush(stdout);
    }
    return 1;
}

}  // namespace wirelink
