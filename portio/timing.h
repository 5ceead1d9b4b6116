// Time as the port driver needs it: a clock to pace the search for a device
// that went away, a sleep for devices whose inputs are reported late, and the
// busy wait that one UART register access takes.  Behind an interface so that
// tests run on a clock of their own and never wait.
#ifndef DLPORTIO_TIMING_H
#define DLPORTIO_TIMING_H

#include <chrono>

namespace dlportio {

class Timing {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~Timing() = default;
    virtual Clock::time_point now() = 0;
    virtual void sleep_until(Clock::time_point until) = 0;
    // Spends about the time of one UART register access on the ISA bus.
    virtual void spend_register_access_time() = 0;
};

}  // namespace dlportio

#endif
