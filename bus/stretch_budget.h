// How much clock stretching the open transaction, and the chip call it
// belongs to, may still spend.  SMBus bounds the stretching of one message,
// START to STOP (tLOW:SEXT, 25 ms); a chip call that runs many transactions,
// such as a display read, gets about a second in all.  Both are counted in
// status reads as well as in time, so that on a fast port (and on the
// simulated bench) the read count decides, the same on every run.
#ifndef WIRELINK_BUS_STRETCH_BUDGET_H
#define WIRELINK_BUS_STRETCH_BUDGET_H

#include <chrono>
#include <cstdint>

namespace wirelink {

struct Stretch {
    int32_t reads;
    std::chrono::nanoseconds time;
};

// A START opens a transaction with a full budget unless one is open, in
// which case it is a repeated START within it; a STOP closes it.
void note_start();
void note_stop();
// The next START opens a new transaction even though the bus was left open.
void forget_open_transaction();

// Between these the stretching of every transaction also counts against the
// budget of a call.
void begin_call_budget();
void end_call_budget();

// What the open transaction (and call) may still spend, and spending it.
Stretch stretch_left();
void spend_stretch(Stretch spent);

// Waiting for a busy display counts against the call's budget alone; once
// that is spent, the call's remaining busy waits give up at once.
void spend_call_budget(Stretch spent);
bool call_budget_spent();

}  // namespace wirelink

#endif
