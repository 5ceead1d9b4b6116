#include "bus_monitor.h"

#include <cstdio>

namespace wlsim {

std::string BusEvent::text() const {
    switch (kind) {
    case Kind::start:
        return "S";
    case Kind::repeated_start:
        return "Sr";
    case Kind::stop:
        return "P";
    case Kind::byte: {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%02X %c", value, ack ? 'A' : 'N');
        return buffer;
    }
    case Kind::partial: {
        std::string bits_text = "x";
        for (int i = bits - 1; i >= 0; --i) bits_text += ((value >> i) & 1) ? '1' : '0';
        return bits_text;
    }
    }
    return "?";
}

void BusMonitor::record(BusEvent event) {
    if (!transaction_.empty()) transaction_ += ' ';
    transaction_ += event.text();
    events_.push_back(event);
    if (max_events_ != 0 && events_.size() > max_events_) events_.pop_front();
}

// A START or STOP that falls inside a byte cuts it off.
void BusMonitor::cut_byte(const char *condition) {
    if (!open_ || bits_ == 0) return;
    violations_.push_back(std::string(condition) + " after " + std::to_string(bits_) + " bits");
    BusEvent partial{BusEvent::Kind::partial};
    partial.value = shift_;
    partial.bits = bits_ > 8 ? 8 : bits_;
    record(partial);
}

void BusMonitor::on_start() {
    clean_high_ = false;
    cut_byte("START");
    record(BusEvent{open_ ? BusEvent::Kind::repeated_start : BusEvent::Kind::start});
    open_ = true;
    bits_ = 0;
    shift_ = 0;
}

void BusMonitor::on_stop() {
    clean_high_ = false;
    cut_byte("STOP");
    record(BusEvent{BusEvent::Kind::stop});
    open_ = false;
    bits_ = 0;
    if (listener_) listener_(transaction_);
    transaction_.clear();
}

void BusMonitor::on_scl_rise(bool sda) {
    clean_high_ = true;
    bit_ = sda;
}

// A bit counts once SCL has gone low again with SDA steady all along; a clock
// pulse that carried a START or STOP is no bit.
void BusMonitor::on_scl_fall() {
    if (!clean_high_ || !open_) return;
    clean_high_ = false;
    if (bits_ < 8) {
        shift_ = static_cast<uint8_t>((shift_ << 1) | (bit_ ? 1 : 0));
        ++bits_;
        return;
    }
    BusEvent byte{BusEvent::Kind::byte};
    byte.value = shift_;
    byte.ack = !bit_;
    record(byte);
    bits_ = 0;
    shift_ = 0;
}

std::string BusMonitor::text() const {
    std::string out;
    for (const BusEvent &event : events_) {
        if (!out.empty()) out += ' ';
        out += event.text();
    }
    return out;
}

void BusMonitor::clear() {
    events_.clear();
    violations_.clear();
}

}  // namespace wlsim
