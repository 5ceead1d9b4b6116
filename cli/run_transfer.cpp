#include "run_transfer.h"

#include <string>

#include "call_faults.h"
#include "failure.h"
#include "port_tap.h"
#include "transfer_failure.h"

namespace cli {
namespace {

// The messages as the library takes them; read messages get room in `reads`.
std::vector<wirelink_msg> library_messages(std::vector<Message> &messages,
                                           std::vector<std::vector<uint8_t>> &reads) {
    std::vector<wirelink_msg> list;
    reads.assign(messages.size(), {});
    for (std::size_t i = 0; i < messages.size(); ++i) {
        Message &message = messages[i];
        if (message.read) reads[i].resize(static_cast<std::size_t>(message.length));
        uint8_t *data = message.read ? reads[i].data() : message.bytes.data();
        list.push_back({static_cast<uint16_t>(message.address),
                        static_cast<uint16_t>(message.read ? WIRELINK_MSG_READ : 0), message.length, data});
    }
    return list;
}

// Only the read messages' bytes, in order.
std::vector<std::vector<uint8_t>> read_parts(const std::vector<Message> &messages,
                                             std::vector<std::vector<uint8_t>> &reads) {
    std::vector<std::vector<uint8_t>> parts;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].read) parts.push_back(std::move(reads[i]));
    }
    return parts;
}

}  // namespace

std::vector<std::vector<uint8_t>> run_transfer(const Wirelink &bus, std::vector<Message> messages) {
    std::vector<std::vector<uint8_t>> reads;
    const std::vector<wirelink_msg> list = library_messages(messages, reads);
    port_tap::take_last_transaction();
    if (bus.wirelink_transfer(list.data(), static_cast<int32_t>(list.size())) != 0) {
        port_tap::flush_trace();
        // A held clock, a lost adapter or a stop signal say so; an unanswered
        // byte is named from the decoded wire.
        const std::string unanswered = unanswered_byte(messages, port_tap::take_last_transaction());
        throw_if_failed(bus, unanswered);
        throw no_acknowledge(unanswered);
    }
    return read_parts(messages, reads);
}

bool try_transfer(const Wirelink &bus, std::vector<Message> messages,
                  std::vector<std::vector<uint8_t>> &parts) {
    std::vector<std::vector<uint8_t>> reads;
    const std::vector<wirelink_msg> list = library_messages(messages, reads);
    if (bus.wirelink_transfer(list.data(), static_cast<int32_t>(list.size())) != 0) {
        throw_if_bus_failed(bus);
        return false;
    }
    parts = read_parts(messages, reads);
    return true;
}

}  // namespace cli
