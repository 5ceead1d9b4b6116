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

}  // namespace

std::vector<Message> parse_messages(const std::vector<std::string> &arguments) {
    std::vector<Message> messages;
    for (std::size_t i = 0; i < arguments.size();) {
        const std::string &descriptor = arguments[i++];
        Message message = parse_descriptor(descriptor, messages.empty() ? nullptr : &messages.back());
        for (int n = 0; !message.read && n < message.length; ++n, ++i) {
            if (i >= arguments.size() || looks_like_message(arguments[i])) {
                throw usage_error("transfer: " + descriptor + " needs " + std::to_string(message.length) +
                                  " data bytes, got " + std::to_string(n));
            }
            message.bytes.push_back(static_cast<uint8_t>(
                parse_number(arguments[i], "byte " + std::to_string(n + 1) + " of " + descriptor, 0, 0xFF)));
        }
        messages.push_back(std::move(message));
    }
    if (messages.size() > kMaxMessages) {
        throw usage_error("transfer: " + std::to_string(messages.size()) + " messages, at most " +
                          std::to_string(kMaxMessages) + " go in one transaction");
    }
    return messages;
}

}  // namespace cli
