// What the chip drivers use of the bus: the exported line operations and
// primitives of wirelink.h, the bounded wait for SCL, the transactions of a
// chip driver, and the guard every chip-level call runs under.
#ifndef WIRELINK_BUS_BUS_H
#define WIRELINK_BUS_BUS_H

#include <cstdint>

#include "outcome.h"
#include "wirelink.h"

namespace wirelink {

// Polls SCL until it reads high.  Returns false when the wait gave up (see
// scl_wait.cpp for the bounds).
bool wait_for_scl();

// Forgets that SCL was found stuck and any bus clear due; a new claim starts
// with full waits.
void reset_scl_wait();

// Whether a wait gave up since the bus was last cleared (transactions.cpp),
// and noting that it was.
bool bus_clear_due();
void bus_cleared();

// How many times the modem status register was read since the library was
// loaded.
uint32_t status_reads();

// How many waits for SCL have given up since the library was loaded.
uint32_t scl_waits_given_up();

// A clock of the open transaction was not seen high when it had to be (a run
// of line steps went on past it): the transaction fails as if a wait had given
// up, and the next one clears the bus first.
void note_clock_missed();

// The claimed port's I/O base (0 when none) and the port delay.
struct ClaimedPort {
    uint32_t base;
    uint32_t delay;
};
ClaimedPort claimed_port();

// Faults that void the transaction they happen in, whatever its bytes seemed
// to say: a wait for SCL that gave up, a port that read as gone, a call that
// was cancelled.  Noting one also notes it as the call's outcome.
void note_bus_fault(int32_t code);
uint32_t bus_faults();

// Runs the line steps that a chip call left for its next run (a STOP), so
// that their samples are judged; nothing when none wait (batch_path.cpp).
void settle_pending_steps();

// Tells whether the bus met a fault since the watch was made: a transaction
// in which it did failed, and stores nothing it seemed to read.
class FaultWatch {
public:
    FaultWatch() : mark_(bus_faults()) {}
    bool failed() const {
        settle_pending_steps();
        return bus_faults() != mark_;
    }
    // Without running steps still waiting: for a decision whose wrong guess
    // the next transaction's own watch catches (its run includes them).
    bool failed_so_far() const { return bus_faults() != mark_; }

private:
    uint32_t mark_;
};

// Cancellation (cancel.cpp).  Whether wirelink_cancel was called and not yet
// reset; and, at a byte boundary, acting on it: an open transaction is
// finished with a STOP and the fault is noted.  True when cancelled.
bool cancel_requested();
bool stop_for_cancel();
// Whether a transaction is open (a START not yet followed by a STOP).
bool transaction_is_open();

// The STOP condition itself, without the cancellation check of iic_stop.
void send_stop();

// The I2C bus clear, for a slave that a failed clock left mid-byte.
void clear_bus();

// Opens a chip driver's transaction: a START (a repeated one when a failed
// write left the bus open) with the whole stretching budget of a transaction.
// The watch covers the transaction from its START on.
FaultWatch start_transaction();

// The last bytes of a read and the STOP after them: count bytes, each but
// the last acknowledged, into values.  A port that runs line steps takes
// them in one exchange; the wire sees what iic_read_byte and iic_stop make.
void read_bytes_then_stop(int32_t *values, int count);
// A last byte sent whatever its acknowledge, and the STOP: as iic_send_byte
// and iic_stop, in one exchange on such a port.
int32_t send_byte_then_stop(int32_t value);

// The two halves of iic_read_byte: the eight data bits, then the
// acknowledge clock, for a reader that decides the acknowledge from the byte
// (an SMBus block count).
int32_t read_byte_bits();
void acknowledge_read(bool ack);

// Held for the whole of every exported chip-level call: calls from different
// threads run one after the other, and the outermost call of a thread gets
// the stretching budget of a call.  Chip calls nest (the display calls the
// expander); the bus primitives and line operations take no lock.
class ChipCall {
public:
    // Counts the outermost chip calls since the library was loaded: what is
    // done at most once per call can tell the calls apart.
    static uint32_t serial();
    // Whether the calling thread is inside a chip call: its bus primitives
    // are part of a larger operation and may go out with the next run.
    static bool inside();

    ChipCall();
    ~ChipCall();
    ChipCall(const ChipCall &) = delete;
    ChipCall &operator=(const ChipCall &) = delete;

private:
    CallOutcome outcome_;
};

}  // namespace wirelink

#endif
