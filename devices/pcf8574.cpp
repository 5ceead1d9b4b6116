// PCF8574 8-bit port expander: one byte per transaction.

#include "bus.h"

using wirelink::ChipCall;
using wirelink::FaultWatch;
using wirelink::start_transaction;

namespace {

// Nothing checks the index; unsigned arithmetic keeps an extreme one defined
// (only the low 8 bits reach the wire anyway).
int32_t write_address(int32_t index) {
    return static_cast<int32_t>(0x70u + 2u * static_cast<uint32_t>(index));
}
int32_t read_address(int32_t index) { return write_address(index) + 1; }

// Reads one byte from an acknowledged expander, or reports that none answered.
// A byte whose clock failed was not really read, so it counts as no answer.
bool read_port(int32_t index, int32_t *value) {
    const FaultWatch faults = start_transaction();
    const bool present = iic_send_byte(read_address(index)) != 0;
    int32_t port = 0;
    if (present)
        wirelink::read_bytes_then_stop(&port, 1);
    else
        iic_stop();
    const bool answered = present && !faults.failed();
    *value = answered ? port : 0;
    return answered;
}

}  // namespace

extern "C" {

int32_t WIRELINK_CALL iic_tx_pcf8574(int32_t value, int32_t index) {
    const ChipCall call;
    const FaultWatch faults = start_transaction();
    // Only a fully acknowledged write ends with a STOP; after a failure the bus
    // stays open and the next START is a repeated one.
    if (iic_send_byte(write_address(index)) == 0) return 0;
    if (iic_send_byte(value) == 0) return 0;
    iic_stop();
    return faults.failed() ? 0 : 1;
}

int32_t WIRELINK_CALL _iic_rx_pcf8574(int32_t *value, int32_t index) {
    const ChipCall call;
    if (value == nullptr) return wirelink::refused();
    return read_port(index, value) ? 1 : 0;
}

int32_t WIRELINK_CALL iic_rx_pcf8574(int32_t index) {
    const ChipCall call;
    int32_t port = 0;
    read_port(index, &port);
    return port;
}

}  // extern "C"
