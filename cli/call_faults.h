// What the library says went wrong in its last call, as the tool's message.
#ifndef WIRELINK_CLI_CALL_FAULTS_H
#define WIRELINK_CLI_CALL_FAULTS_H

#include <string>

#include "wirelink_library.h"

namespace cli {

// Throws when the calling thread's last library call failed: Interrupted
// when a stop signal cancelled it, otherwise a Failure (exit 1) saying what
// happened; `unanswered` is the message for a chip that did not acknowledge.
void throw_if_failed(const Wirelink &wirelink, const std::string &unanswered);

// The same for faults of the bus itself (a held clock, a lost adapter, a
// stop signal), letting an unanswered address pass: a scan expects many.
void throw_if_bus_failed(const Wirelink &wirelink);

}  // namespace cli

#endif
