// A slave's side of the I2C protocol: it shifts in the address and written
// bytes, drives its acknowledge and the bytes it is read for, and can stretch
// the clock.  Chip models fill in what the bytes mean.
#ifndef WLSIM_I2C_SLAVE_H
#define WLSIM_I2C_SLAVE_H

#include <cstdint>

#include "bus_device.h"

namespace wlsim {

class I2cSlave : public BusDevice {
public:
    void on_start() override;
    void on_stop() override;
    void on_scl_rise(bool sda) override;
    void on_scl_fall() override;
    void tick() override;
    bool pulls_sda() const override { return pull_sda_; }
    bool holds_scl() const override { return stretch_left_ > 0; }

    // Holds SCL low for this many port accesses after every falling clock
    // edge while the slave takes part in a transaction.
    void stretch_clock(int accesses) { stretch_ = accesses; }

protected:
    // The address byte (direction in bit 0); true acknowledges and selects.
    virtual bool address(uint8_t address_byte) = 0;
    // A byte the master wrote; true acknowledges it.
    virtual bool write(uint8_t /*byte*/) { return true; }
    // The next byte the master reads.
    virtual uint8_t read() { return 0xFF; }
    // After a read byte: did the master acknowledge it (and want another)?
    virtual void read_acknowledged(bool /*ack*/) {}
    virtual void started() {}
    virtual void stopped() {}
    // Whether the master reads after this (acknowledged) address byte.  Bit 0
    // by the rule; a chip without a read direction may be written at an odd
    // byte.
    virtual bool transmits_after(uint8_t address_byte) const { return (address_byte & 1) != 0; }

private:
    enum class Phase { idle, address, writing, reading, ignoring };

    void receive_fall();
    void transmit_fall();
    void drive_bit();

    Phase phase_ = Phase::idle;
    int bit_ = 0;          // data bits done in the current byte
    bool in_ack_ = false;  // the ninth clock is under way
    bool acked_ = false;
    bool reading_ = false;
    bool master_ack_ = false;
    uint8_t shift_ = 0;
    bool pull_sda_ = false;
    int stretch_ = 0;
    int stretch_left_ = 0;
};

}  // namespace wlsim

#endif
