#include "vcd_writer.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <stdexcept>

#include "i2c_bus.h"

namespace wlsim {

namespace {

struct TimeScale {
    uint32_t ns;
    const char *name;
};

// The coarsest scale that counts the access time in whole units keeps the
// files small and gives decoders one sample per unit.
constexpr TimeScale kTimeScales[] = {
    {1000000000, "1 s"}, {100000000, "100 ms"}, {10000000, "10 ms"}, {1000000, "1 ms"}, {100000, "100 us"},
    {10000, "10 us"},    {1000, "1 us"},        {100, "100 ns"},     {10, "10 ns"},     {1, "1 ns"}};

const TimeScale &scale_for(uint32_t access_ns) {
    for (const TimeScale &scale : kTimeScales)
        if (access_ns % scale.ns == 0) return scale;
    return kTimeScales[std::size(kTimeScales) - 1];
}

}  // namespace

VcdWriter::VcdWriter(const std::string &path, std::vector<Probe> probes, uint32_t access_ns) {
    if (access_ns == 0) throw std::invalid_argument("a port access cannot take no time");
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr)
        throw std::runtime_error("cannot write the waveform file " + path + ": " + std::strerror(errno));
    for (Probe &probe : probes) {
        const I2cBus &bus = *probe.bus;
        traced_.push_back(Traced{std::move(probe), bus.sda(), bus.scl()});
    }
    write_header(access_ns);
    write_levels(true);
}

VcdWriter::~VcdWriter() {
    stamp(now_ + step_);
    std::fclose(file_);
}

void VcdWriter::stamp(uint64_t time) {
    if (time == stamped_) return;
    std::fprintf(file_, "#%" PRIu64 "\n", time);
    stamped_ = time;
}

// Printable identifiers from '!' on, two per adapter.
char VcdWriter::scl_id(std::size_t index) { return static_cast<char>('!' + 2 * index); }
char VcdWriter::sda_id(std::size_t index) { return static_cast<char>('!' + 2 * index + 1); }

void VcdWriter::write_header(uint32_t access_ns) {
    const TimeScale &scale = scale_for(access_ns);
    step_ = access_ns / scale.ns;
    std::fprintf(file_, "$version wirelink simulated bench, %" PRIu32 " ns per port access $end\n",
                 access_ns);
    std::fprintf(file_, "$timescale %s $end\n", scale.name);
    for (std::size_t i = 0; i < traced_.size(); ++i) {
        const Probe &probe = traced_[i].probe;
        std::fprintf(file_, "$scope module %s $end\n", probe.scope.c_str());
        std::fprintf(file_, "$var wire 1 %c %s $end\n", scl_id(i), probe.scl_name.c_str());
        std::fprintf(file_, "$var wire 1 %c %s $end\n", sda_id(i), probe.sda_name.c_str());
        std::fprintf(file_, "$upscope $end\n");
    }
    std::fprintf(file_, "$enddefinitions $end\n#0\n");
    stamped_ = 0;
}

// Within one time stamp the order follows the bus: a falling SCL first, a
// rising SCL last, so that a reader taking the lines in file order sees no
// START or STOP that the bus did not have.  Returns whether a bus went idle.
bool VcdWriter::write_levels(bool all) {
    bool went_idle = false;
    auto put = [&](bool level, char id) {
        stamp(now_);
        std::fprintf(file_, "%c%c\n", level ? '1' : '0', id);
    };
    for (std::size_t i = 0; i < traced_.size(); ++i) {
        Traced &line = traced_[i];
        const bool sda = line.probe.bus->sda();
        const bool scl = line.probe.bus->scl();
        if (all || (scl != line.scl && !scl)) put(scl, scl_id(i));
        if (all || sda != line.sda) put(sda, sda_id(i));
        if (!all && scl != line.scl && scl) put(scl, scl_id(i));
        went_idle = went_idle || (sda && scl && (sda != line.sda || scl != line.scl));
        line.sda = sda;
        line.scl = scl;
    }
    return went_idle;
}

// A program stopped by a signal never ends the file; ending each transaction
// as the bus goes idle keeps the file whole up to the last STOP.
void VcdWriter::after_access() {
    now_ += step_;
    if (!write_levels(false)) return;
    stamp(now_ + step_);
    std::fflush(file_);
}

}  // namespace wlsim
