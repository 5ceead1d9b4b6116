// HD44780-type character display controller, wired in 4-bit mode to the pins
// of a PCF8574: P0 E, P1 R/W, P2 RS, P3 backlight, P4..P7 D4..D7.  D0..D3 are
// not connected and read as 0 while the controller still runs 8 bits wide.
//
// The controller latches written data on the falling edge of E and drives
// the data lines while E is high with R/W set.  After an instruction or a
// character it stays busy for a set number of port accesses (the bench's
// time); a byte that completes while it is busy is dropped, as a real
// controller would lose it, and counted.
#ifndef WLSIM_HD44780_H
#define WLSIM_HD44780_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "bus_device.h"
#include "pcf8574.h"

namespace wlsim {

class Hd44780 : public PortPeer, public BusDevice {
public:
    static constexpr uint8_t kE = 0x01, kRw = 0x02, kRs = 0x04, kBacklight = 0x08;
    static constexpr int kLineWidth = 16;

    // Hangs the display on the expander's pins.  Added to a bus with
    // Bench::add<Hd44780>(base, expander) it also sees the bench's time.
    explicit Hd44780(Pcf8574 &expander);

    // Port accesses the controller stays busy after each instruction or
    // character (default 40: shorter than one expander transaction).
    void set_busy_time(int accesses) { busy_time_ = accesses; }
    // A controller that never finishes: the busy flag always reads 1.
    void stay_busy(bool stuck) { stuck_busy_ = stuck; }

    // The 16 visible characters of line 0 (from 0x00) or line 1 (from 0x40).
    std::string line(int number) const;
    // The display data at a DDRAM address; a blank for an address that no
    // cell answers to.
    uint8_t ddram(uint8_t address) const;
    uint8_t address_counter() const { return ac_; }
    bool busy() const { return stuck_busy_ || busy_left_ > 0; }
    bool four_bit() const { return four_bit_; }
    bool two_lines() const { return two_lines_; }
    bool display_on() const { return display_on_; }
    bool cursor_on() const { return cursor_on_; }
    bool blink_on() const { return blink_on_; }
    bool increment() const { return increment_; }
    bool backlight() const { return (latch_ & kBacklight) != 0; }
    // Bytes that arrived while the controller was busy and were lost.
    int dropped_while_busy() const { return dropped_; }

    // Called after a character write has changed a visible line.
    void on_line_change(std::function<void(int line)> listener) { listener_ = std::move(listener); }

    void port_written(uint8_t latch) override;
    uint8_t port_levels(uint8_t latch) override;
    void tick() override;

private:
    void strobe_rise(uint8_t latch);
    void strobe_fall(uint8_t latch);
    void take_nibble(bool rs, uint8_t nibble);
    void execute(bool rs, uint8_t byte);
    void instruction(uint8_t code);
    void write_data(uint8_t byte);
    uint8_t read_register(bool rs) const;
    void step_address(bool forward);
    int cell(uint8_t address) const;

    uint8_t latch_;
    bool four_bit_ = false;  // power-on: 8-bit interface
    bool low_nibble_next_ = false;
    uint8_t high_nibble_ = 0;
    uint8_t read_byte_ = 0;  // what the data lines show during a read
    uint8_t ac_ = 0;
    bool cgram_ = false;
    bool increment_ = true;
    bool two_lines_ = false;
    bool display_on_ = false;
    bool cursor_on_ = false;
    bool blink_on_ = false;
    int busy_time_ = 40;  // about a real controller's 37 us at 1 us per access
    int busy_left_ = 0;
    bool stuck_busy_ = false;
    int dropped_ = 0;
    std::array<uint8_t, 80> ddram_;
    std::array<uint8_t, 64> cgram_data_{};
    std::function<void(int)> listener_;
};

}  // namespace wlsim

#endif
