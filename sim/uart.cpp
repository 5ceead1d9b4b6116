#include "uart.h"

#include "i2c_bus.h"
#include "uart16550.h"

namespace wlsim {

namespace {
using namespace uart16550;
constexpr unsigned kInterruptId = 2;
constexpr unsigned kLineStatus = 5;
}  // namespace

Uart::Uart(uint8_t initial_mcr) : mcr_(initial_mcr & kMcrWritable) {
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
        if (bus_->scl()) bits |= kMsrCts;
        if (bus_->sda()) bits |= kMsrDsr;
    }
    if (cts_forced_) bits |= kMsrCts;
    if (ri_) bits |= kMsrRi;
    if (dcd_) bits |= kMsrDcd;
    return bits;
}

void Uart::sample_inputs() {
    const uint8_t now = inputs();
    const uint8_t changed = now ^ last_inputs_;
    if (changed & kMsrCts) changes_ |= kMsrDeltaCts;
    if (changed & kMsrDsr) changes_ |= kMsrDeltaDsr;
    if ((changed & kMsrRi) && !(now & kMsrRi)) changes_ |= kMsrTrailingEdgeRi;  // trailing edge only
    if (changed & kMsrDcd) changes_ |= kMsrDeltaDcd;
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
        mcr_ = value & kMcrWritable;
        drive_bus();
        sample_inputs();
        return;
    }
    if (offset == kData || offset == kInterruptId || offset == kLineStatus || offset == kModemStatus) return;
    registers_[offset & 7] = value;
}

void Uart::drive_bus() {
    if (bus_ != nullptr) bus_->drive((mcr_ & kMcrDtr) != 0, (mcr_ & kMcrRts) != 0);
}

}  // namespace wlsim
