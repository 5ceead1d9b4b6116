// The simulated bench: the PC's I/O port space with up to two serial ports,
// an adapter with its I2C bus on either, and the chips on those buses.  Every
// port access is counted; an access outside the serial ports' 8-byte ranges
// is a violation.
#ifndef WLSIM_BENCH_H
#define WLSIM_BENCH_H

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "i2c_bus.h"
#include "pcf8574.h"
#include "uart.h"
#include "uart16550.h"
#include "vcd_writer.h"

namespace wlsim {

using uart16550::kCom1;
using uart16550::kCom2;

struct PortAccess {
    uint32_t port;
    bool write;
    uint8_t value;
};

class Bench {
public:
    Bench() = default;
    Bench(const Bench &) = delete;
    Bench &operator=(const Bench &) = delete;

    // A UART at base (0x3F8 or 0x2F8), with or without the adapter plugged.
    Uart &add_uart(uint32_t base, bool with_adapter, uint8_t initial_mcr = 0x00);
    Uart &uart(uint32_t base);
    bool has_uart(uint32_t base) const;
    // The adapter's bus on that port.
    I2cBus &bus(uint32_t base = kCom1);
    // Unplugging leaves the UART with nothing on its modem lines.
    void unplug_adapter(uint32_t base);

    // Adds a chip to a bus; the bench owns it.
    template <typename Chip, typename... Args>
    Chip &add(uint32_t base, Args &&...args) {
        auto chip = std::make_unique<Chip>(std::forward<Args>(args)...);
        Chip &ref = *chip;
        bus(base).attach(ref);
        chips_.push_back(std::move(chip));
        return ref;
    }
    Pcf8574 &add_pcf8574(int index, uint32_t base = kCom1) { return add<Pcf8574>(base, index); }

    // The port driver's two operations.
    uint8_t read(uint32_t port);
    void write(uint32_t port, uint8_t value);

    uint64_t accesses() const { return accesses_; }
    uint64_t reads(uint32_t port) const;
    uint64_t writes(uint32_t port) const;
    void reset_counts();
    // Records every access in order while on.
    void log_accesses(bool on) { logging_ = on; }
    const std::vector<PortAccess> &log() const { return log_; }
    const std::vector<std::string> &violations() const { return violations_; }
    void forget_violations() { violations_.clear(); }

    // From now on writes SDA and SCL of every plugged adapter to a Value
    // Change Dump (vcd_writer.h): SCL and SDA on 0x3F8, SCL2 and SDA2 on
    // 0x2F8; each port access takes access_ns.  A file already being written
    // is ended first.  Throws as VcdWriter does.
    void record_waveforms(const std::string &path, uint32_t access_ns = 1000);
    // Ends the file being written, if any.
    void stop_waveforms() { waveforms_.reset(); }
    // Real time that each access of one register takes, as a status read
    // over a USB serial adapter does; by default accesses take none.
    void set_access_time(uint32_t port, std::chrono::microseconds time) { access_time_[port] = time; }

    // Runs of line steps (the port driver's extension, port_extension.h):
    // with a limit above 0 every UART offers runs of up to that many steps,
    // as a cable in synchronous bit-bang mode does; 0, the default, offers
    // none, as a plain serial port.  A run is one exchange with the device.
    void offer_runs(uint32_t limit) { run_limit_ = limit; }
    uint32_t run_limit(uint32_t base) const;
    // Each step is applied, held for `delay` accesses' time, and sampled.
    int32_t run_steps(uint32_t base, const uint8_t *steps, uint8_t *samples, uint32_t count, uint32_t delay);
    // A device named for the port at base (port_extension.h's use_device):
    // the bench stands in for whatever is named, and keeps the name for a
    // test to look at ("" when none).  -EINVAL for a name that names
    // nothing or a base that is no serial port's.
    int32_t use_device(uint32_t base, const char *device);
    std::string named_device(uint32_t base) const;
    uint64_t runs() const { return runs_; }
    uint64_t steps_run() const { return steps_run_; }
    // Every value the modem control register took, by register write or by
    // a step, in order, while logging is on: the line states of both paths.
    const std::vector<uint8_t> &line_states() const { return line_states_; }

private:
    struct SerialPort {
        std::unique_ptr<Uart> uart;
        std::unique_ptr<I2cBus> bus;
    };

    SerialPort *port_at(uint32_t port);
    void count(uint32_t port, bool write, uint8_t value);
    void pass_time();
    void take_access_time(uint32_t port);
    void tick_once();
    uint8_t apply_step(Uart &uart, uint8_t step);

    std::map<uint32_t, SerialPort> serial_;
    std::vector<std::unique_ptr<BusDevice>> chips_;
    std::map<uint32_t, uint64_t> reads_;
    std::map<uint32_t, uint64_t> writes_;
    uint64_t accesses_ = 0;
    bool logging_ = false;
    std::vector<PortAccess> log_;
    std::vector<std::string> violations_;
    std::unique_ptr<VcdWriter> waveforms_;
    std::map<uint32_t, std::chrono::microseconds> access_time_;
    uint32_t run_limit_ = 0;
    std::map<uint32_t, std::string> named_devices_;
    uint64_t runs_ = 0;
    uint64_t steps_run_ = 0;
    std::vector<uint8_t> line_states_;
};

// Routes the port driver's operations (DlPortReadPortUchar and
// DlPortWritePortUchar of the drop-in libdlportio.so) to this bench;
// nullptr goes back to the default bench board.
void attach(Bench *bench);
Bench &attached();

}  // namespace wlsim

#endif
