#include "i2c_bus.h"

namespace wlsim {

I2cBus::I2cBus() { attach(monitor_); }

void I2cBus::attach(BusDevice &device) {
    devices_.push_back(&device);
    settle();
}

void I2cBus::drive(bool sda, bool scl) {
    master_sda_ = sda;
    master_scl_ = scl;
    settle();
}

void I2cBus::tick() {
    for (BusDevice *device : devices_) device->tick();
    settle();
}

void I2cBus::stick_sda_low(bool stuck) {
    sda_stuck_ = stuck;
    settle();
}

void I2cBus::stick_scl_low(bool stuck) {
    scl_stuck_ = stuck;
    settle();
}

bool I2cBus::wanted_sda() const {
    if (!master_sda_ || sda_stuck_) return false;
    for (const BusDevice *device : devices_)
        if (device->pulls_sda()) return false;
    return true;
}

bool I2cBus::wanted_scl() const {
    if (!master_scl_ || scl_stuck_) return false;
    for (const BusDevice *device : devices_)
        if (device->holds_scl()) return false;
    return true;
}

// Devices answer edges by changing their own outputs, so the lines are
// re-evaluated until nothing moves.  When both lines change at once, the one
// order that cannot fake a START or STOP is taken: a falling SCL goes first,
// a rising SCL goes last.
void I2cBus::settle() {
    for (int round = 0; round < 64; ++round) {
        const bool sda = wanted_sda();
        const bool scl = wanted_scl();
        if (sda == sda_ && scl == scl_) return;
        if (scl != scl_ && (!scl || sda == sda_))
            change_scl(scl);
        else
            change_sda(sda);
    }
}

void I2cBus::change_scl(bool level) {
    scl_ = level;
    for (BusDevice *device : devices_) {
        if (level)
            device->on_scl_rise(sda_);
        else
            device->on_scl_fall();
    }
}

void I2cBus::change_sda(bool level) {
    sda_ = level;
    if (!scl_) return;
    for (BusDevice *device : devices_) {
        if (level)
            device->on_stop();
        else
            device->on_start();
    }
}

}  // namespace wlsim
