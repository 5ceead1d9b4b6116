// Finds the optional extension (port_extension.h) in the port driver that
// libwirelink was loaded with.
#ifndef WIRELINK_BUS_PORT_EXTENSION_LOOKUP_H
#define WIRELINK_BUS_PORT_EXTENSION_LOOKUP_H

#include "port_extension.h"

namespace wirelink {

// Null when the driver has none, or one of a version without run_steps.
const wirelink_port_extension *port_extension();

// The driver's use_device (version 2 on), or null when it has none.
decltype(wirelink_port_extension::use_device) device_naming();

}  // namespace wirelink

#endif
