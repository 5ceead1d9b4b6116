// PCF8574 8-bit quasi-bidirectional port expander.  A pin reads low when the
// output latch holds 0 or something outside pulls it low.
#ifndef WLSIM_PCF8574_H
#define WLSIM_PCF8574_H

#include <cstdint>
#include <vector>

#include "i2c_slave.h"

namespace wlsim {

// Something wired to the expander's pins, such as a display.
class PortPeer {
public:
    virtual ~PortPeer() = default;
    virtual void port_written(uint8_t latch) = 0;
    // The levels the peer drives onto the pins (1 where it leaves a pin alone).
    virtual uint8_t port_levels(uint8_t latch) = 0;
};

class Pcf8574 : public I2cSlave {
public:
    explicit Pcf8574(int index) : index_(index) {}

    int index() const { return index_; }
    uint8_t latch() const { return latch_; }
    uint8_t pins() const;
    // Every value written to the port, in order.
    const std::vector<uint8_t> &writes() const { return writes_; }
    int reads() const { return reads_; }
    void clear_history();

    // Levels driven onto the pins from outside (0 bits pull a pin low).
    void drive_pins(uint8_t levels) { outside_ = levels; }
    void connect(PortPeer *peer) { peer_ = peer; }
    // Not answering at all: as if the chip were missing.
    void set_present(bool present) { present_ = present; }

protected:
    bool address(uint8_t address_byte) override;
    bool write(uint8_t byte) override;
    uint8_t read() override;

private:
    int index_;
    uint8_t latch_ = 0xFF;  // power-on: all pins high
    uint8_t outside_ = 0xFF;
    std::vector<uint8_t> writes_;
    int reads_ = 0;
    PortPeer *peer_ = nullptr;
    bool present_ = true;
};

}  // namespace wlsim

#endif
