// One combined transaction through wirelink_transfer, for every command that
// speaks in messages.
#ifndef WIRELINK_CLI_RUN_TRANSFER_H
#define WIRELINK_CLI_RUN_TRANSFER_H

#include <cstdint>
#include <vector>

#include "transfer_messages.h"
#include "wirelink_library.h"

namespace cli {

// The bytes of each read message, in order.  Throws naming the byte that
// was not acknowledged, or the fault of the bus.
std::vector<std::vector<uint8_t>> run_transfer(const Wirelink &bus, std::vector<Message> messages);

// The same, but a chip that does not acknowledge gives nothing (the bus
// faults still throw): a scan or a dump expects some.
bool try_transfer(const Wirelink &bus, std::vector<Message> messages,
                  std::vector<std::vector<uint8_t>> &reads);

}  // namespace cli

#endif
