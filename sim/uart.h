// A 16550-style UART as the adapter sees it: the modem control register
// drives DTR and RTS, the modem status register reads CTS, DSR, RI and DCD
// with the change bits that a UART latches until the register is read.
#ifndef WLSIM_UART_H
#define WLSIM_UART_H

#include <array>
#include <cstdint>

namespace wlsim {

class I2cBus;

class Uart {
public:
    explicit Uart(uint8_t initial_mcr = 0x00);

    uint8_t read(unsigned offset);
    void write(unsigned offset, uint8_t value);
    // Samples the inputs, latching change bits; called at every port access.
    void sample_inputs();

    uint8_t mcr() const { return mcr_; }
    // The adapter: DTR/RTS drive SDA/SCL, DSR/CTS read them back.
    void plug(I2cBus *bus);
    I2cBus *bus() const { return bus_; }

    // Inputs wired high from outside.
    void set_dcd(bool high) { dcd_ = high; }
    void set_ri(bool high) { ri_ = high; }
    void force_cts_high(bool high) { cts_forced_ = high; }

private:
    uint8_t inputs() const;
    void drive_bus();

    std::array<uint8_t, 8> registers_{};
    uint8_t mcr_;
    uint8_t last_inputs_ = 0;
    uint8_t changes_ = 0;
    I2cBus *bus_ = nullptr;
    bool dcd_ = false;
    bool ri_ = false;
    bool cts_forced_ = false;
};

}  // namespace wlsim

#endif
