// SDA and SCL of the adapters' buses, as they are on the wire, written as a
// Value Change Dump that logic-analyser viewers (PulseView, GTKWave) and
// decoders (sigrok-cli) open directly.  Simulated time is counted in port
// accesses, each taking the access time, since that is what times the bus on
// a real UART; a program's own sleeps do not show.
#ifndef WLSIM_VCD_WRITER_H
#define WLSIM_VCD_WRITER_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wlsim {

class I2cBus;

class VcdWriter {
public:
    // One adapter's pair of signals, named scl_name and sda_name in the
    // scope `scope`.
    struct Probe {
        std::string scope;
        std::string scl_name;
        std::string sda_name;
        const I2cBus *bus;
    };

    // Writes the header and the lines' present levels at time 0.  Throws
    // std::runtime_error naming the file when it cannot be written, and
    // std::invalid_argument for an access time of 0.
    VcdWriter(const std::string &path, std::vector<Probe> probes, uint32_t access_ns);
    // Ends the file one access after the last one, so that readers keep a
    // change at the last time stamp.  A STOP that leaves a bus idle is ended
    // the same way and flushed at once, so a program stopped by a signal
    // still leaves every transaction up to its last STOP.
    ~VcdWriter();
    VcdWriter(const VcdWriter &) = delete;
    VcdWriter &operator=(const VcdWriter &) = delete;

    // Another port access has passed: writes what changed during it.
    void after_access();

private:
    struct Traced {
        Probe probe;
        bool sda;
        bool scl;
    };

    void write_header(uint32_t access_ns);
    bool write_levels(bool all);
    void stamp(uint64_t time);
    static char scl_id(std::size_t index);
    static char sda_id(std::size_t index);

    std::FILE *file_;
    std::vector<Traced> traced_;
    uint64_t now_ = 0;      // in time-scale units
    uint64_t step_ = 1;     // time-scale units per access
    uint64_t stamped_ = 0;  // the last time stamp written
};

}  // namespace wlsim

#endif
