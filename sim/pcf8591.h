// PCF8591 8-bit converter: four analog inputs, one analog output.
//
// A write sets the control byte (first data byte) and the DAC register (every
// further byte).  A read starts a conversion with each byte it sends, and
// each byte carries the result of the conversion before it: the first byte
// of a read is therefore whatever the previous read converted last (0x80
// after power-on).  With auto-increment the channel steps after every
// conversion, through as many channels as the input programming provides.
#ifndef WLSIM_PCF8591_H
#define WLSIM_PCF8591_H

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "i2c_slave.h"

namespace wlsim {

class Pcf8591 : public I2cSlave {
public:
    // An input level in volts, asked for at every conversion that uses it.
    using Level = std::function<double()>;

    static constexpr uint8_t kOutputEnable = 0x40;
    static constexpr uint8_t kAutoIncrement = 0x04;
    static constexpr uint8_t kPowerOnResult = 0x80;

    // address: the chip's pins A2..A0 (bus address 0x90 + 2 * address).
    explicit Pcf8591(int address, double vref = 2.55);

    int chip_address() const { return address_; }
    double vref() const { return vref_; }

    // Input levels of AIN0..AIN3 (all 0 V at first).  A code is held at the
    // middle of its step, so it converts to exactly that code.
    void set_input_code(int input, uint8_t code);
    void set_input_volts(int input, double volts);
    void drive_input(int input, Level level);
    // Wires AOUT to an input: it then converts the DAC code (0 V while the
    // output is disabled).
    void loop_back_output(int input);

    uint8_t control() const { return control_; }
    bool output_enabled() const { return (control_ & kOutputEnable) != 0; }
    uint8_t dac() const { return dac_; }
    // AOUT in volts; a disabled output is taken as 0 V.
    double output_volts() const;
    // Every control byte and every DAC byte written, in order.
    const std::vector<uint8_t> &controls() const { return controls_; }
    const std::vector<uint8_t> &dac_writes() const { return dac_writes_; }
    int conversions() const { return conversions_; }
    void clear_history();

    // Simulated time: the port accesses seen since the chip was fitted.
    uint64_t now() const { return now_; }
    // Not answering at all: as if the chip were missing.
    void set_present(bool present) { present_ = present; }

    void tick() override;

protected:
    bool address(uint8_t address_byte) override;
    bool write(uint8_t byte) override;
    uint8_t read() override;
    void started() override { data_bytes_ = 0; }

private:
    int channel_count() const;
    uint8_t convert(int channel) const;
    uint8_t single_ended(int input) const;
    uint8_t differential(int plus, int minus) const;
    double steps(double volts) const;
    void set_control(uint8_t control);

    int address_;
    double vref_;
    std::array<Level, 4> inputs_;
    uint8_t control_ = 0;
    int channel_ = 0;
    uint8_t dac_ = 0;
    uint8_t result_ = kPowerOnResult;
    int data_bytes_ = 0;  // in the current write transaction
    int conversions_ = 0;
    std::vector<uint8_t> controls_;
    std::vector<uint8_t> dac_writes_;
    uint64_t now_ = 0;
    bool present_ = true;
};

}  // namespace wlsim

#endif
