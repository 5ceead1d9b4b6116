#include "transfer_failure.h"

#include <sstream>

#include "numbers.h"

namespace cli {
namespace {

// The acknowledge of every byte on the wire, in order; conditions dropped.
std::vector<bool> acknowledges(const std::string &wire) {
    std::istringstream words(wire);
    std::vector<bool> acknowledged;
    for (std::string word; words >> word;) {
        if (word == "A" || word == "N") acknowledged.push_back(word == "A");
    }
    return acknowledged;
}

}  // namespace

std::string unanswered_byte(const std::vector<Message> &messages, const std::string &wire) {
    const std::vector<bool> acknowledged = acknowledges(wire);
    std::size_t next = 0;
    for (const Message &message : messages) {
        const std::string from = "no acknowledge from " + hex(message.address);
        if (next >= acknowledged.size()) break;
        if (!acknowledged[next++]) return from;
        if (message.read) {
            next += static_cast<std::size_t>(message.length);
            continue;
        }
        for (std::size_t i = 0; i < message.bytes.size() && next < acknowledged.size(); ++i) {
            if (!acknowledged[next++]) {
                return from + " for byte " + std::to_string(i + 1) + " (" + hex(message.bytes[i]) + ")";
            }
        }
    }
    return "no acknowledge from " + hex(messages.front().address);
}

}  // namespace cli
