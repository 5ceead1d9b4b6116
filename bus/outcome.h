// Why the calling thread's last library call failed, as wirelink_last_error
// tells it.  Every exported call holds a CallOutcome; calls nest (a display
// write is expander writes, which are bus primitives), and only the
// outermost call of a thread publishes what its steps noted.
#ifndef WIRELINK_BUS_OUTCOME_H
#define WIRELINK_BUS_OUTCOME_H

#include <cstdint>

namespace wirelink {

class CallOutcome {
public:
    CallOutcome();
    ~CallOutcome();
    CallOutcome(const CallOutcome &) = delete;
    CallOutcome &operator=(const CallOutcome &) = delete;

    // Whether this call was made by the program itself, not by another call
    // of the library.
    bool outermost() const { return outermost_; }

private:
    bool outermost_;
};

// Notes a fault of the call in progress.  When a call meets several, the
// one that explains the others is kept: a lost port makes bytes go
// unacknowledged, a dead clock too.
void note_failure(int32_t code);

// What the call in progress noted so far (0: nothing).
int32_t failure_in_progress();

// Forgets what the call in progress noted so far: a search that found what
// it looked for after passing over what it did not.
void forget_failures();

// An argument refused: notes EINVAL and gives the refusal's result, 0.
int32_t refused();

}  // namespace wirelink

#endif
