// The two bus lines as wired-AND of the master (the adapter's DTR and RTS)
// and every device, with edge and condition events for the devices.
#ifndef WLSIM_I2C_BUS_H
#define WLSIM_I2C_BUS_H

#include <vector>

#include "bus_device.h"
#include "bus_monitor.h"

namespace wlsim {

class I2cBus {
public:
    I2cBus();

    // Devices are owned by the caller and must outlive the bus.
    void attach(BusDevice &device);

    // The master's outputs: true releases the line (it floats high).
    void drive(bool sda, bool scl);
    void tick();

    bool sda() const { return sda_; }
    bool scl() const { return scl_; }

    // Faults: a line held low by something broken on the board.
    void stick_sda_low(bool stuck);
    void stick_scl_low(bool stuck);

    BusMonitor &monitor() { return monitor_; }
    const BusMonitor &monitor() const { return monitor_; }

private:
    void settle();
    bool wanted_sda() const;
    bool wanted_scl() const;
    void change_scl(bool level);
    void change_sda(bool level);

    BusMonitor monitor_;
    std::vector<BusDevice *> devices_;
    bool master_sda_ = false;
    bool master_scl_ = false;
    bool sda_stuck_ = false;
    bool scl_stuck_ = false;
    bool sda_ = false;
    bool scl_ = false;
};

}  // namespace wlsim

#endif
