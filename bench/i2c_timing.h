// The I2C bus timing of Table 10 of UM10204, the I2C-bus reference document,
// measured from the SDA and SCL levels of a waveform: the shortest of every
// time over the whole run, and the highest SCL frequency.
#ifndef WIRELINK_BENCH_I2C_TIMING_H
#define WIRELINK_BENCH_I2C_TIMING_H

#include <array>
#include <cstdint>
#include <vector>

#include "vcd_lines.h"

enum class Parameter { fscl, low, high, hd_sta, su_sta, su_dat, hd_dat, su_sto, buf };
constexpr std::size_t kParameters = 9;

struct Limits {
    const char *name;
    const char *unit;
    double standard;  // the limit in standard mode (100 kHz) ...
    double fast;      // ... and fast mode (400 kHz), in unit
    bool is_maximum;  // fSCL is a maximum, every time a minimum
};

// In the order of Parameter.
const std::array<Limits, kParameters> &table10();

class I2cTiming {
public:
    explicit I2cTiming(const std::vector<LineLevels> &levels);

    // In the parameter's unit (kHz or us); negative where the run had no such
    // interval.
    double value(Parameter parameter) const;
    bool within(Parameter parameter, bool fast_mode) const;
    bool within_mode(bool fast_mode) const;

private:
    void scl_rises(uint64_t ns);
    void scl_falls(uint64_t ns);
    void sda_changes(uint64_t ns, bool level);
    void shortest(Parameter parameter, uint64_t ns);

    static constexpr uint64_t kNone = UINT64_MAX;
    std::array<uint64_t, kParameters> shortest_ns_;
    bool sda_ = true, scl_ = true;
    uint64_t scl_rise_ = kNone, scl_fall_ = kNone, sda_change_ = kNone;
    uint64_t start_ = kNone, stop_ = kNone;
};

#endif
