// The busy-flag wait that stands in for fixed delays after every instruction
// and character.

#include <cstdio>

#include "lcd_port.h"
#include "monotonic_clock.h"
#include "stretch_budget.h"

namespace wirelink {

int32_t lcd_last_ac = 0;

namespace {

constexpr int kBusyTries = 10;
constexpr int32_t kBusyFlag = 0x80;

// A poll that found the display busy is waiting, as clock stretching is:
// it is charged to the call's budget in status reads and in time.
class BusyPollCost {
public:
    BusyPollCost() : reads_(status_reads()), begin_(monotonic_now()) {}
    void charge() const {
        spend_call_budget({static_cast<int32_t>(status_reads() - reads_), monotonic_now() - begin_});
    }

private:
    uint32_t reads_;
    std::chrono::nanoseconds begin_;
};

int32_t stayed_busy() {
    note_failure(WIRELINK_EBUSY);
    return 1;
}

}  // namespace

int32_t lcd_busy_wait() {
    const FaultWatch faults;
    for (int attempt = 0; attempt < kBusyTries; ++attempt) {
        if (call_budget_spent()) return stayed_busy();
        const BusyPollCost cost;
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
        cost.charge();
        std::fputs("TimeOut busy\n", stdout);
        std::fflush(stdout);
    }
    return stayed_busy();
}

}  // namespace wirelink
