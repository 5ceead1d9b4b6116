#include "i2c_timing.h"

#include <algorithm>

namespace {

std::size_t slot(Parameter parameter) { return static_cast<std::size_t>(parameter); }

}  // namespace

const std::array<Limits, kParameters> &table10() {
    static const std::array<Limits, kParameters> limits{{
        {"fSCL", "kHz", 100.0, 400.0, true},
        {"tLOW", "us", 4.7, 1.3, false},
        {"tHIGH", "us", 4.0, 0.6, false},
        {"tHD;STA", "us", 4.0, 0.6, false},
        {"tSU;STA", "us", 4.7, 0.6, false},
        {"tSU;DAT", "us", 0.25, 0.1, false},
        {"tHD;DAT", "us", 0.0, 0.0, false},
        {"tSU;STO", "us", 4.0, 0.6, false},
        {"tBUF", "us", 4.7, 1.3, false},
    }};
    return limits;
}

// Where both lines change at one time stamp, the order is the bus's own: a
// falling SCL first, a rising SCL last.
I2cTiming::I2cTiming(const std::vector<LineLevels> &levels) {
    shortest_ns_.fill(kNone);
    if (levels.empty()) return;
    sda_ = levels.front().sda;
    scl_ = levels.front().scl;
    for (const LineLevels &at : levels) {
        if (scl_ && !at.scl) scl_falls(at.ns);
        if (at.sda != sda_) sda_changes(at.ns, at.sda);
        if (!scl_ && at.scl) scl_rises(at.ns);
    }
}

void I2cTiming::shortest(Parameter parameter, uint64_t ns) {
    uint64_t &kept = shortest_ns_[slot(parameter)];
    kept = std::min(kept, ns);
}

// A clock period runs from one rising edge to the next.
void I2cTiming::scl_rises(uint64_t ns) {
    if (scl_fall_ != kNone) shortest(Parameter::low, ns - scl_fall_);
    if (sda_change_ != kNone) shortest(Parameter::su_dat, ns - sda_change_);
    if (scl_rise_ != kNone) shortest(Parameter::fscl, ns - scl_rise_);
    scl_rise_ = ns;
    scl_ = true;
}

void I2cTiming::scl_falls(uint64_t ns) {
    if (scl_rise_ != kNone) shortest(Parameter::high, ns - scl_rise_);
    if (start_ != kNone && (scl_rise_ == kNone || start_ >= scl_rise_))
        shortest(Parameter::hd_sta, ns - start_);
    scl_fall_ = ns;
    scl_ = false;
}

// With SCL high a falling SDA is a START and a rising one a STOP; with SCL
// low it is data.
void I2cTiming::sda_changes(uint64_t ns, bool level) {
    sda_ = level;
    if (!scl_) {
        if (scl_fall_ != kNone) shortest(Parameter::hd_dat, ns - scl_fall_);
        sda_change_ = ns;
        return;
    }
    if (scl_rise_ == kNone) return;  // no clock seen yet: nothing to time from
    if (level) {
        shortest(Parameter::su_sto, ns - scl_rise_);
        stop_ = ns;
        return;
    }
    shortest(Parameter::su_sta, ns - scl_rise_);
    if (stop_ != kNone && stop_ >= scl_rise_) shortest(Parameter::buf, ns - stop_);
    start_ = ns;
}

double I2cTiming::value(Parameter parameter) const {
    const uint64_t ns = shortest_ns_[slot(parameter)];
    if (ns == kNone) return -1.0;
    if (parameter == Parameter::fscl) return ns == 0 ? -1.0 : 1e6 / static_cast<double>(ns);
    return static_cast<double>(ns) / 1000.0;
}

bool I2cTiming::within(Parameter parameter, bool fast_mode) const {
    const Limits &limits = table10()[slot(parameter)];
    const double limit = fast_mode ? limits.fast : limits.standard;
    const double measured = value(parameter);
    if (measured < 0) return true;  // nothing of the kind happened
    return limits.is_maximum ? measured <= limit : measured >= limit;
}

bool I2cTiming::within_mode(bool fast_mode) const {
    for (std::size_t i = 0; i < kParameters; ++i)
        if (!within(static_cast<Parameter>(i), fast_mode)) return false;
    return true;
}
