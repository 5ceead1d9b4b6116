#include "recording_slave.h"

namespace wlsim {

std::vector<uint8_t> RecordingSlave::last() const {
    return transactions_.empty() ? std::vector<uint8_t>{} : transactions_.back();
}

bool RecordingSlave::address(uint8_t address_byte) {
    if (nack_address_ || (address_byte & 0xFE) != address_) return false;
    in_write_ = (address_byte & 1) == 0;
    if (in_write_) transactions_.emplace_back();
    return true;
}

bool RecordingSlave::write(uint8_t byte) {
    if (!in_write_) return false;
    std::vector<uint8_t> &bytes = transactions_.back();
    const bool ack = nack_from_ < 0 || static_cast<int>(bytes.size()) < nack_from_;
    bytes.push_back(byte);
    return ack;
}

}  // namespace wlsim
