// The message syntax of i2ctransfer: "w3@0x48 0x40 0x80 0xff r2@0x48" is a
// write of three bytes and a read of two, joined by a repeated START.  A
// message without @ADDRESS goes to the address of the one before it.
#ifndef WIRELINK_CLI_TRANSFER_MESSAGES_H
#define WIRELINK_CLI_TRANSFER_MESSAGES_H

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct Message {
    bool read = false;
    int address = 0;             // 7-bit
    int length = 0;              // bytes to read or write
    std::vector<uint8_t> bytes;  // a write's data
};

constexpr int kMaxMessageLength = 256;
constexpr std::size_t kMaxMessages = 42;  // what one library transfer takes

// Throws a usage error naming the argument that does not fit.
std::vector<Message> parse_messages(const std::vector<std::string> &arguments);

}  // namespace cli

#endif
