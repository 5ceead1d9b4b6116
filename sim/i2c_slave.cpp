#include "i2c_slave.h"

namespace wlsim {

void I2cSlave::on_start() {
    phase_ = Phase::address;
    bit_ = 0;
    shift_ = 0;
    in_ack_ = false;
    pull_sda_ = false;
    started();
}

void I2cSlave::on_stop() {
    const bool was_active = phase_ != Phase::idle;
    phase_ = Phase::idle;
    pull_sda_ = false;
    if (was_active) stopped();
}

void I2cSlave::on_scl_rise(bool sda) {
    if (phase_ == Phase::address || phase_ == Phase::writing) {
        if (!in_ack_ && bit_ < 8) {
            shift_ = static_cast<uint8_t>((shift_ << 1) | (sda ? 1 : 0));
            ++bit_;
        }
    } else if (phase_ == Phase::reading && in_ack_) {
        master_ack_ = !sda;
    }
}

void I2cSlave::on_scl_fall() {
    if (phase_ == Phase::idle) return;
    if (stretch_ > 0 && phase_ != Phase::ignoring) stretch_left_ = stretch_;
    if (phase_ == Phase::address || phase_ == Phase::writing)
        receive_fall();
    else if (phase_ == Phase::reading)
        transmit_fall();
}

void I2cSlave::tick() {
    if (stretch_left_ > 0) --stretch_left_;
}

// Data changes only while SCL is low: the acknowledge goes on after the
// eighth clock and comes off after the ninth.
void I2cSlave::receive_fall() {
    if (!in_ack_) {
        if (bit_ < 8) return;
        if (phase_ == Phase::address) {
            acked_ = address(shift_);
            reading_ = transmits_after(shift_);
        } else {
            acked_ = write(shift_);
        }
        pull_sda_ = acked_;
        in_ack_ = true;
        return;
    }
    in_ack_ = false;
    pull_sda_ = false;
    bit_ = 0;
    shift_ = 0;
    if (!acked_) {
        phase_ = Phase::ignoring;
    } else if (phase_ == Phase::address && reading_) {
        phase_ = Phase::reading;
        shift_ = read();
        drive_bit();
    } else {
        phase_ = Phase::writing;
    }
}

void I2cSlave::transmit_fall() {
    if (in_ack_) {
        in_ack_ = false;
        read_acknowledged(master_ack_);
        if (!master_ack_) {
            phase_ = Phase::ignoring;
            pull_sda_ = false;
            return;
        }
        bit_ = 0;
        shift_ = read();
        drive_bit();
        return;
    }
    ++bit_;
    if (bit_ < 8) {
        drive_bit();
    } else {
        pull_sda_ = false;  // the master acknowledges on the ninth clock
        in_ack_ = true;
    }
}

void I2cSlave::drive_bit() { pull_sda_ = ((shift_ >> (7 - bit_)) & 1) == 0; }

}  // namespace wlsim
