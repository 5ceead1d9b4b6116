#include "recording_slave.h"

namespace wlsim {

std::vector<uint8_t> RecordingSlave::last() const {
    return transactions_.empty() ? std::vector<uint8_t>{} : transactions_.back();
}

bool RecordingSlave::address(uint8_t address_byte) {
    if (nack_address_) return false;
    if (write_only_) {
        if (address_byte != address_) return false;
        in_write_ = true;
    } else {
        if ((address_byte & 0xFE) != address_) return false;
        in_write_ = (address_byte & 1) == 0;
    }
    if (in_write_) transactions_.emplace_back();
    return true;
}

bool RecordingSlave::transmits_after(uint8_t address_byte) const {
    return !write_only_ && I2cSlave::transmits_after(address_byte);
}

bool RecordingSlave::write(uint8_t byte) {
    if (!in_write_) return false;
    std::vector<uint8_t> &bytes = transactions_.back();
    const bool ack = nack_from_ < 0 || static_cast<int>(bytes.size()) < nack_from_;
    bytes.push_back(byte);
    return ack;
}

}  // namespace wlsim
