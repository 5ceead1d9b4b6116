// Naming the device behind COM1 or COM2 is the port driver's business: the
// library only hands the name on, so that a program need not change the
// environment behind the driver's back.

#include <cstdint>

#include "bus.h"
#include "outcome.h"
#include "port_extension_lookup.h"
#include "wirelink.h"

extern "C" int32_t WIRELINK_CALL wirelink_use_device(int32_t port, const char *device) {
    const wirelink::ChipCall call;
    if (port != 1 && port != 2) {
        wirelink::note_failure(WIRELINK_EINVAL);
        return -WIRELINK_EINVAL;
    }
    const auto use_device = wirelink::device_naming();
    if (use_device == nullptr) {
        wirelink::note_failure(WIRELINK_EOPNOTSUPP);
        return -WIRELINK_EOPNOTSUPP;
    }
    const int32_t result = use_device(port == 2 ? 0x2F8 : 0x3F8, device);
    if (result < 0) wirelink::note_failure(-result);
    return result < 0 ? result : 0;
}
