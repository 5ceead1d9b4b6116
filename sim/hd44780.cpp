#include "hd44780.h"

namespace wlsim {

namespace {
constexpr uint8_t kBlank = 0x20;
constexpr uint8_t kLineStart[2] = {0x00, 0x40};
}  // namespace

Hd44780::Hd44780(Pcf8574 &expander) : latch_(expander.latch()) {
    ddram_.fill(kBlank);
    read_byte_ = read_register((latch_ & kRs) != 0);
    expander.connect(this);
}

std::string Hd44780::line(int number) const {
    std::string text;
    if (number < 0 || number > 1) return text;
    for (int i = 0; i < kLineWidth; ++i)
        text.push_back(static_cast<char>(ddram(static_cast<uint8_t>(kLineStart[number] + i))));
    return text;
}

uint8_t Hd44780::ddram(uint8_t address) const {
    const int index = cell(address);
    return index < 0 ? kBlank : ddram_[static_cast<size_t>(index)];
}

// With two lines the memory splits into 0x00-0x27 and 0x40-0x67; with one
// line it is the single run 0x00-0x4F.
int Hd44780::cell(uint8_t address) const {
    if (!two_lines_) return address < 80 ? address : -1;
    if (address < 0x28) return address;
    if (address >= 0x40 && address < 0x68) return 40 + (address - 0x40);
    return -1;
}

void Hd44780::tick() {
    if (busy_left_ > 0) --busy_left_;
}

void Hd44780::port_written(uint8_t latch) {
    const uint8_t before = latch_;
    latch_ = latch;
    const bool was_high = (before & kE) != 0;
    const bool is_high = (latch & kE) != 0;
    if (!was_high && is_high) strobe_rise(latch);
    // Data is taken as it stood while E was high: that is what met the setup
    // time, whatever the same expander write changes along with E.
    if (was_high && !is_high) strobe_fall(before);
}

uint8_t Hd44780::port_levels(uint8_t latch) {
    if ((latch & (kE | kRw)) != (kE | kRw)) return 0xFF;
    const bool second = four_bit_ && low_nibble_next_;
    const uint8_t nibble = second ? (read_byte_ & 0x0F) : (read_byte_ >> 4);
    return static_cast<uint8_t>((nibble << 4) | 0x0F);
}

// The controller puts a register on the data lines when a read starts, so
// both nibbles of one read come from the same moment.
void Hd44780::strobe_rise(uint8_t latch) {
    if ((latch & kRw) == 0) return;
    if (!four_bit_ || !low_nibble_next_) read_byte_ = read_register((latch & kRs) != 0);
}

void Hd44780::strobe_fall(uint8_t lines) {
    const bool rs = (lines & kRs) != 0;
    if ((lines & kRw) == 0) {
        take_nibble(rs, static_cast<uint8_t>(lines >> 4));
        return;
    }
    if (four_bit_) {
        low_nibble_next_ = !low_nibble_next_;
        if (low_nibble_next_) return;
    }
    // Reading display data moves the address counter on, as writing does.
    if (rs) step_address(increment_);
}

void Hd44780::take_nibble(bool rs, uint8_t nibble) {
    if (!four_bit_) {
        execute(rs, static_cast<uint8_t>(nibble << 4));
        return;
    }
    if (!low_nibble_next_) {
        high_nibble_ = nibble;
        low_nibble_next_ = true;
        return;
    }
    low_nibble_next_ = false;
    execute(rs, static_cast<uint8_t>((high_nibble_ << 4) | nibble));
}

void Hd44780::execute(bool rs, uint8_t byte) {
    if (busy()) {
        ++dropped_;
        return;
    }
    const std::string before[2] = {line(0), line(1)};
    if (rs)
        write_data(byte);
    else
        instruction(byte);
    busy_left_ = busy_time_;
    if (!listener_) return;
    for (int number = 0; number < 2; ++number)
        if (line(number) != before[number]) listener_(number);
}

void Hd44780::instruction(uint8_t code) {
    if (code & 0x80) {
        cgram_ = false;
        ac_ = code & 0x7F;
    } else if (code & 0x40) {
        cgram_ = true;
        ac_ = code & 0x3F;
    } else if (code & 0x20) {
        // Function set; switching width restarts the nibble pairing.
        four_bit_ = (code & 0x10) == 0;
        two_lines_ = (code & 0x08) != 0;
        low_nibble_next_ = false;
    } else if (code & 0x10) {
        // Cursor move; a display shift is not modelled (the window stays put).
        if ((code & 0x08) == 0) step_address((code & 0x04) != 0);
    } else if (code & 0x08) {
        display_on_ = (code & 0x04) != 0;
        cursor_on_ = (code & 0x02) != 0;
        blink_on_ = (code & 0x01) != 0;
    } else if (code & 0x04) {
        increment_ = (code & 0x02) != 0;
    } else if (code & 0x02) {
        cgram_ = false;
        ac_ = 0;
    } else if (code & 0x01) {
        ddram_.fill(kBlank);
        cgram_ = false;
        ac_ = 0;
        increment_ = true;
    }
}

void Hd44780::write_data(uint8_t byte) {
    if (cgram_) {
        cgram_data_[ac_ & 0x3F] = byte;
    } else {
        const int index = cell(ac_);
        if (index >= 0) ddram_[static_cast<size_t>(index)] = byte;
    }
    step_address(increment_);
}

uint8_t Hd44780::read_register(bool rs) const {
    if (!rs) return static_cast<uint8_t>((busy() ? 0x80 : 0x00) | (ac_ & 0x7F));
    return cgram_ ? cgram_data_[ac_ & 0x3F] : ddram(ac_);
}

// The counter runs from the end of one line to the start of the other.
void Hd44780::step_address(bool forward) {
    if (cgram_) {
        ac_ = static_cast<uint8_t>((ac_ + (forward ? 1 : -1)) & 0x3F);
        return;
    }
    if (!two_lines_) {
        ac_ = forward ? (ac_ >= 0x4F ? 0x00 : ac_ + 1) : (ac_ == 0x00 ? 0x4F : ac_ - 1);
        return;
    }
    if (forward)
        ac_ = ac_ == 0x27 ? 0x40 : ac_ == 0x67 ? 0x00 : static_cast<uint8_t>((ac_ + 1) & 0x7F);
    else
        ac_ = ac_ == 0x40 ? 0x27 : ac_ == 0x00 ? 0x67 : static_cast<uint8_t>(ac_ - 1);
}

}  // namespace wlsim
