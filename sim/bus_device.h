// Anything that hangs on the simulated I2C bus: slaves, the bus monitor, and
// faults.  Devices see the lines as the wired-AND of every driver.
#ifndef WLSIM_BUS_DEVICE_H
#define WLSIM_BUS_DEVICE_H

namespace wlsim {

class BusDevice {
public:
    virtual ~BusDevice() = default;

    // Conditions and clock edges of the effective (wired-AND) lines.
    virtual void on_start() {}
    virtual void on_stop() {}
    virtual void on_scl_rise(bool /*sda*/) {}
    virtual void on_scl_fall() {}

    // One unit of simulated time: one port access.
    virtual void tick() {}

    // Open-drain outputs: true pulls the line low.
    virtual bool pulls_sda() const { return false; }
    virtual bool holds_scl() const { return false; }
};

}  // namespace wlsim

#endif
