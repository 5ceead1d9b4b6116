#include "uart.h"

#include "i2c_bus.h"

namespace wlsim {

namespace {
constexpr unsigned kInterruptId = 2;
constexpr unsigned kLineStatus = 5;
constexpr uint8_t kMcrBits = 0x1F;  // bits 5..7 of a 16550 MCR read as 0
}  // namespace

Uart::Uart(uint8_t initial_mcr) : mcr_(initial_mcr & kMcrBits) {
    registers_[kInterruptId] = 0x01;  // no interrupt pending
    registers_[kLineStatus] = 0x60;   // transmitter empty
    last_inputs_ = inputs();
}

void Uart::plug(I2cBus *bus) {
    bus_ = bus;
    drive_bus();
    last_inputs_ = inputs();
}

uint8_t Uart::inputs() const {
    uint8_t bits = 0;
    if (bus_ != nullptr) {
        if (bus_->scl()) bits |= kCts;
        if (bus_->sda()) bits |= kDsr;
    }
    if (cts_forced_) bits |= kCts;
    if (ri_) bits |= kRi;
    if (dcd_) bits |= kDcd;
    return bits;
}

void Uart::sample_inputs() {
    const uint8_t now = inputs();
    const uint8_t changed = now ^ last_inputs_;
    if (changed & kCts) changes_ |= 0x01;
    if (changed & kDsr) changes_ |= 0x02;
    if ((changed & kRi) && !(now & kRi)) changes_ |= 0x04;  // trailing edge only
    if (changed & kDcd) changes_ |= 0x08;
    last_inputs_ = now;
}

uint8_t Uart::read(unsigned offset) {
    if (offset == kModemControl) return mcr_;
    if (offset == kModemStatus) {
        sample_inputs();
        const uint8_t status = static_cast<uint8_t>(last_inputs_ | changes_);
        changes_ = 0;
        return status;
    }
    if (offset == kData) return 0x00;  // nothing received
    return registers_[offset & 7];
}

void Uart::write(unsigned offset, uint8_t value) {
    if (offset == kModemControl) {
        mcr_ = value & kMcrBits;
        drive_bus();
        sample_inputs();
        return;
    }
    if (offset == kData || offset == kInterruptId || offset == kLineStatus || offset == kModemStatus) return;
    registers_[offset & 7] = value;
}

void Uart::drive_bus() {
    if (bus_ != nullptr) bus_->drive((mcr_ & kDtr) != 0, (mcr_ & kRts) != 0);
}

}  // namespace wlsim
