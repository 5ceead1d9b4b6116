#include "call_faults.h"

#include <signal.h>

#include "failure.h"
#include "session.h"

namespace cli {
namespace {

std::string fault_text(const Wirelink &wirelink, int32_t code, const std::string &unanswered) {
    switch (code) {
    case WIRELINK_ENXIO:
    case WIRELINK_EREMOTEIO:
        return unanswered;
    case WIRELINK_ETIMEDOUT:
        return "SCL is held low";
    case WIRELINK_ENODEV:
        return "the adapter was lost";
    case WIRELINK_EBUSY:
        return "the display stayed busy";
    default:
        return wirelink.wirelink_strerror(code);
    }
}

void throw_fault(const Wirelink &wirelink, int32_t code, const std::string &unanswered) {
    if (code == WIRELINK_ECANCELED) {
        const int caught = caught_stop_signal();
        throw Interrupted{caught != 0 ? caught : SIGINT};
    }
    throw no_acknowledge(fault_text(wirelink, code, unanswered));
}

}  // namespace

void throw_if_failed(const Wirelink &wirelink, const std::string &unanswered) {
    const int32_t code = wirelink.wirelink_last_error();
    if (code != 0) throw_fault(wirelink, code, unanswered);
}

void throw_if_bus_failed(const Wirelink &wirelink) {
    const int32_t code = wirelink.wirelink_last_error();
    if (code != 0 && code != WIRELINK_ENXIO && code != WIRELINK_EREMOTEIO) throw_fault(wirelink, code, {});
}

}  // namespace cli
