#include "pcf8574.h"

namespace wlsim {

uint8_t Pcf8574::pins() const {
    uint8_t levels = static_cast<uint8_t>(latch_ & outside_);
    if (peer_ != nullptr) levels &= peer_->port_levels(latch_);
    return levels;
}

void Pcf8574::clear_history() {
    writes_.clear();
    reads_ = 0;
}

bool Pcf8574::address(uint8_t address_byte) { return present_ && (address_byte & 0xFE) == 0x70 + 2 * index_; }

bool Pcf8574::write(uint8_t byte) {
    latch_ = byte;
    writes_.push_back(byte);
    if (peer_ != nullptr) peer_->port_written(latch_);
    return true;
}

uint8_t Pcf8574::read() {
    ++reads_;
    return pins();
}

}  // namespace wlsim
