#include "pcf8591.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace wlsim {

namespace {

constexpr uint8_t kProgrammingMask = 0x30;
constexpr uint8_t kChannelMask = 0x03;

// A level that sits exactly on a step boundary (such as AOUT looped back)
// must not fall to the step below through rounding.
constexpr double kBoundarySlack = 1e-9;

std::size_t checked_input(int input) {
    if (input < 0 || input > 3) throw std::out_of_range("the PCF8591 has inputs 0..3");
    return static_cast<std::size_t>(input);
}

}  // namespace

Pcf8591::Pcf8591(int address, double vref) : address_(address), vref_(vref) {
    if (!(vref > 0.0)) throw std::invalid_argument("the PCF8591 needs a positive reference");
    for (int input = 0; input < 4; ++input) set_input_volts(input, 0.0);
}

void Pcf8591::set_input_code(int input, uint8_t code) {
    inputs_[checked_input(input)] = [this, code] { return (code + 0.5) * vref_ / 256.0; };
}

void Pcf8591::set_input_volts(int input, double volts) {
    inputs_[checked_input(input)] = [volts] { return volts; };
}

void Pcf8591::drive_input(int input, Level level) { inputs_[checked_input(input)] = std::move(level); }

void Pcf8591::loop_back_output(int input) {
    inputs_[checked_input(input)] = [this] { return output_volts(); };
}

double Pcf8591::output_volts() const { return output_enabled() ? vref_ * dac_ / 256.0 : 0.0; }

void Pcf8591::clear_history() {
    controls_.clear();
    dac_writes_.clear();
    conversions_ = 0;
}

void Pcf8591::tick() {
    I2cSlave::tick();
    ++now_;
}

bool Pcf8591::address(uint8_t address_byte) {
    return present_ && (address_byte & 0xFE) == 0x90 + 2 * address_;
}

bool Pcf8591::write(uint8_t byte) {
    if (data_bytes_++ == 0) {
        set_control(byte);
    } else {
        dac_ = byte;
        dac_writes_.push_back(byte);
    }
    return true;
}

void Pcf8591::set_control(uint8_t control) {
    control_ = control;
    controls_.push_back(control);
    channel_ = (control & kChannelMask) % channel_count();
}

// The byte going out is the previous result; the conversion that runs while
// it is shifted out gives the next one.
uint8_t Pcf8591::read() {
    const uint8_t out = result_;
    result_ = convert(channel_);
    ++conversions_;
    if ((control_ & kAutoIncrement) != 0) channel_ = (channel_ + 1) % channel_count();
    return out;
}

// Input programming: four single-ended, three differential against AIN3,
// two single-ended and one differential, or two differential.
int Pcf8591::channel_count() const {
    switch (control_ & kProgrammingMask) {
    case 0x00:
        return 4;
    case 0x30:
        return 2;
    default:
        return 3;
    }
}

uint8_t Pcf8591::convert(int channel) const {
    switch (control_ & kProgrammingMask) {
    case 0x00:
        return single_ended(channel);
    case 0x10:
        return differential(channel, 3);
    case 0x20:
        return channel < 2 ? single_ended(channel) : differential(2, 3);
    default:
        return channel == 0 ? differential(0, 1) : differential(2, 3);
    }
}

// A level that is not a number (a broken test source) reads as 0 V.
double Pcf8591::steps(double volts) const {
    const double exact = volts * 256.0 / vref_;
    return std::isnan(exact) ? 0.0 : std::floor(exact + kBoundarySlack);
}

uint8_t Pcf8591::single_ended(int input) const {
    return static_cast<uint8_t>(std::clamp(steps(inputs_[input]()), 0.0, 255.0));
}

// Differential results are two's complement, -128..127.
uint8_t Pcf8591::differential(int plus, int minus) const {
    const double code = std::clamp(steps(inputs_[plus]() - inputs_[minus]()), -128.0, 127.0);
    return static_cast<uint8_t>(static_cast<int>(code) & 0xFF);
}

}  // namespace wlsim
