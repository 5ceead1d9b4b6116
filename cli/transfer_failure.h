// Which byte of a failed transfer went unanswered, read off the wire: the
// library reports only that a transfer failed, the tool names the address or
// the data byte as it always did.
#ifndef WIRELINK_CLI_TRANSFER_FAILURE_H
#define WIRELINK_CLI_TRANSFER_FAILURE_H

#include <string>
#include <vector>

#include "transfer_messages.h"

namespace cli {

// "no acknowledge from 0x48", or "... for byte 2 (0x80)" for a write's data
// byte, from the messages and the decoded transaction ("S 90 A 40 N P").  A
// wire that shows no refusal (a clock that never came up) names the first
// message's address.
std::string unanswered_byte(const std::vector<Message> &messages, const std::string &wire);

}  // namespace cli

#endif
