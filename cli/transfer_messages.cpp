#include "transfer_messages.h"

#include "failure.h"
#include "numbers.h"

namespace cli {
namespace {

bool looks_like_message(const std::string &argument) {
    return argument.size() > 1 && (argument[0] == 'r' || argument[0] == 'w');
}

Message parse_descriptor(const std::string &argument, const Message *previous) {
    if (!looks_like_message(argument)) {
        throw usage_error("transfer: '" + argument +
                          "' is not a message (rLENGTH@ADDRESS, or wLENGTH@ADDRESS and its bytes)");
    }
    Message message;
    message.read = argument[0] == 'r';
    const std::size_t at = argument.find('@');
    message.length = static_cast<int>(parse_number(argument.substr(1, at - 1), "length in " + argument,
                                                   message.read ? 1 : 0, kMaxMessageLength));
    if (at != std::string::npos) {
        message.address =
            static_cast<int>(parse_number(argument.substr(at + 1), "address in " + argument, 0, 0x7F));
    } else if (previous != nullptr) {
        message.address = previous->address;
    } else {
        throw usage_error("transfer: " + argument + " needs an address (" + argument + "@0x48)");
    }
    return message;
}

// The value after `value` in a filled message: the suffix's rule, in 8 bits.
uint8_t next_fill(uint8_t value, char suffix) {
    switch (suffix) {
    case '+':
        return static_cast<uint8_t>(value + 1);
    case '-':
        return static_cast<uint8_t>(value - 1);
    case 'p': {
        // i2ctransfer's pseudo-random bytes, so that both tools write the
        // same test pattern: add 13 to value XOR 27, rotate left by one.
        const auto mixed = static_cast<uint8_t>((value ^ 27) + 13);
        return static_cast<uint8_t>(mixed << 1 | mixed >> 7);
    }
    default:
        return value;  // '='
    }
}

bool is_fill_suffix(char c) { return c == '+' || c == '-' || c == '=' || c == 'p'; }

// One data argument: a byte, or a byte and a suffix that fills the rest of
// the message from it (appended to `bytes` up to `length`).
void add_data(const std::string &argument, const std::string &what, int length, std::vector<uint8_t> &bytes) {
    const bool filled = argument.size() > 1 && is_fill_suffix(argument.back());
    auto value = static_cast<uint8_t>(
        parse_number(filled ? argument.substr(0, argument.size() - 1) : argument, what, 0, 0xFF));
    bytes.push_back(value);
    while (filled && static_cast<int>(bytes.size()) < length) {
        value = next_fill(value, argument.back());
        bytes.push_back(value);
    }
}

Message parse_write_data(Message message, const std::string &descriptor,
                         const std::vector<std::string> &arguments, std::size_t &i) {
    while (static_cast<int>(message.bytes.size()) < message.length) {
        const int n = static_cast<int>(message.bytes.size());
        if (i >= arguments.size() || looks_like_message(arguments[i])) {
            throw usage_error("transfer: " + descriptor + " needs " + std::to_string(message.length) +
                              " data bytes, got " + std::to_string(n));
        }
        add_data(arguments[i++], "byte " + std::to_string(n + 1) + " of " + descriptor, message.length,
                 message.bytes);
    }
    return message;
}

}  // namespace

std::vector<Message> parse_messages(const std::vector<std::string> &arguments) {
    std::vector<Message> messages;
    for (std::size_t i = 0; i < arguments.size();) {
        const std::string &descriptor = arguments[i++];
        if (!messages.empty() && !messages.back().read && !looks_like_message(descriptor)) {
            throw usage_error("transfer: '" + descriptor +
                              "' is a byte too many: the write before it takes " +
                              std::to_string(messages.back().length) + " bytes");
        }
        Message message = parse_descriptor(descriptor, messages.empty() ? nullptr : &messages.back());
        if (!message.read) message = parse_write_data(std::move(message), descriptor, arguments, i);
        messages.push_back(std::move(message));
    }
    if (messages.size() > kMaxMessages) {
        throw usage_error("transfer: " + std::to_string(messages.size()) + " messages, at most " +
                          std::to_string(kMaxMessages) + " go in one transaction");
    }
    return messages;
}

}  // namespace cli
