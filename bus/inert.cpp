// Exports kept for callers written against older port libraries.  They touch
// no port and no state but the last error, which they clear.

#include "outcome.h"
#include "wirelink.h"

extern "C" {

int32_t WIRELINK_CALL set_strobe(int32_t) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL byte_out(int32_t) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL byte_in(int32_t) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL get_status(int32_t) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL inp32(int32_t) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL out32(int32_t, int32_t) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL io_disable(void) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL io_enable(void) {
    const wirelink::CallOutcome outcome;
    return 0;
}
int32_t WIRELINK_CALL read_int(void) {
    const wirelink::CallOutcome outcome;
    return 0;
}

}  // extern "C"
