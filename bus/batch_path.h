// The bus primitives as runs of line steps, for a port driver that runs a
// whole run in one exchange with its device (port_extension.h).  Each
// primitive makes exactly the line changes of its register-level form, in the
// same order; only their timing differs.  A run's samples stand in for the
// status reads: after every release of SCL the clock must have read high.
//
// A slave that stretches the clock, or a clock that is stuck, shows as a
// sample of SCL low.  The steps after it have by then gone out while the
// clock was held, so the transaction fails (its clock watch says so) and
// nothing it read is taken as data; from then on, until the next claim,
// every run ends at a release of SCL and a low clock is waited for with the
// bounded wait of the register path, so that stretching is served.
#ifndef WIRELINK_BUS_BATCH_PATH_H
#define WIRELINK_BUS_BATCH_PATH_H

#include <cstdint>

namespace wirelink {

// Whether the claimed port runs line steps in runs.
bool batch_path_available();

// Within a chip call a START or STOP waits for the next run: a START goes out
// with the address byte after it, a STOP with the next START; the call's end
// or a look at its faults runs what still waits (settle_pending_steps).
void batch_start();
void batch_stop();
int32_t batch_send_byte(int32_t value);
int32_t batch_read_byte(int32_t ack);
// Sends a byte and the STOP in one run; the acknowledge as batch_send_byte.
int32_t batch_send_then_stop(int32_t value);
// Reads count bytes (each but the last acknowledged) and the STOP in one run.
void batch_read_then_stop(int32_t *values, int count);

// A new claim: runs go back to whole bytes.
void reset_batch_path();

}  // namespace wirelink

#endif
