#include "outcome.h"

#include "wirelink.h"

namespace wirelink {
namespace {

thread_local int depth = 0;
thread_local int32_t in_progress = 0;
thread_local int32_t last_error = 0;

// Higher explains lower.  The two acknowledge faults rank alike: the first
// byte that went unanswered is the one to tell.
int rank(int32_t code) {
    switch (code) {
    case WIRELINK_ENODEV:
        return 6;
    case WIRELINK_ECANCELED:
        return 5;
    case WIRELINK_ETIMEDOUT:
        return 4;
    case WIRELINK_EBUSY:
        return 3;
    case WIRELINK_ENXIO:
    case WIRELINK_EREMOTEIO:
    case WIRELINK_EPROTO:
        return 2;
    case WIRELINK_EINVAL:
    case WIRELINK_EOPNOTSUPP:
        return 1;
    default:
        return 0;
    }
}

}  // namespace

CallOutcome::CallOutcome() : outermost_(depth++ == 0) {
    if (outermost_) in_progress = 0;
}

CallOutcome::~CallOutcome() {
    if (--depth == 0) last_error = in_progress;
}

void note_failure(int32_t code) {
    if (rank(code) > rank(in_progress)) in_progress = code;
}

int32_t failure_in_progress() { return in_progress; }

void forget_failures() { in_progress = 0; }

int32_t refused() {
    note_failure(WIRELINK_EINVAL);
    return 0;
}

}  // namespace wirelink

extern "C" {

int32_t WIRELINK_CALL wirelink_last_error(void) { return wirelink::last_error; }

const char *WIRELINK_CALL wirelink_strerror(int32_t code) {
    switch (code) {
    case 0:
        return "success";
    case WIRELINK_ENXIO:
        return "no acknowledge from the address";
    case WIRELINK_EREMOTEIO:
        return "a byte after the address was not acknowledged";
    case WIRELINK_ETIMEDOUT:
        return "SCL is held low";
    case WIRELINK_ENODEV:
        return "no adapter claimed, or the adapter was lost";
    case WIRELINK_EBUSY:
        return "the display stayed busy";
    case WIRELINK_ECANCELED:
        return "cancelled";
    case WIRELINK_EINVAL:
        return "an argument was refused";
    case WIRELINK_EPROTO:
        return "a block count outside 1..32";
    case WIRELINK_EOPNOTSUPP:
        return "the port driver cannot name a device for a port";
    default:
        return "unknown error";
    }
}

}  // extern "C"
