// What the bus costs on a USB-serial adapter, where every modem ioctl is a USB
// round trip: the real port driver (libdlportio.so's code) runs each operation
// on the simulated bench, through a stand-in for the kernel whose modem ioctls
// move the simulated UART's lines.  Counts are exact; times follow from them
// at 0.2 ms and 1 ms per round trip.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include <sys/ioctl.h>

#include "bench.h"
#include "operations.h"
#include "port_driver.h"
#include "system_calls.h"
#include "wirelink.h"

namespace {

using namespace std::chrono;
constexpr uint32_t kMcr = wlsim::kCom1 + 4, kMsr = wlsim::kCom1 + 6;
constexpr const char *kDevice = "/dev/ttyUSB0";
constexpr int kPortDelay = 10;  // rigcheck's
// How often a CH340 or PL2303 reports its inputs: a guess, one USB frame.
constexpr auto kStatusInterval = std::chrono::milliseconds(1);
const char *const kOperations[] = {"PCF8574 write", "PCF8591 read", "lcd_wchar", "TSA5511 send"};

struct Counts {
    uint64_t accesses = 0, status_reads = 0, control_writes = 0;
    uint64_t gets = 0, changes = 0, former_ioctls = 0;
    double milliseconds = 0;
};

// The kernel's side of one USB-serial device whose lines are the bench's
// UART at 0x3F8.  Time is kept, not spent: each round trip to the chip adds
// its cost to the clock, and a sleep moves the clock on.
class UsbSerialKernel final : public dlportio::SystemCalls {
public:
    UsbSerialKernel(wlsim::Bench &bench, duration<double> round_trip, bool status_cached)
        : bench_(bench),
          round_trip_(duration_cast<Clock::duration>(round_trip)),
          status_cached_(status_cached) {}

    Counts counts;

    int open_device(const std::string &path) override { return path == kDevice ? 3 : -ENOENT; }
    int open_lock_file(const std::string &) override { return -EACCES; }
    void close_device(int) override {}
    int lock(int) override { return 0; }
    int make_exclusive(int) override { return 0; }
    int get_settings(int, termios &settings) override { return settings = termios{}, 0; }
    int set_settings(int, const termios &) override { return 0; }

    // A CH340 or PL2303 answers from the status its chip last sent, with no
    // round trip; an FTDI or CP210x asks the chip.
    int get_modem_lines(int, int &lines) override {
        ++counts.gets;
        if (!status_cached_) round_trip();
        if (!status_cached_ || clock_ >= status_shows_at_) status_ = bench_.read(kMsr);
        const uint8_t mcr = bench_.read(kMcr);
        lines = (status_ & 0x10 ? TIOCM_CTS : 0) | (status_ & 0x20 ? TIOCM_DSR : 0) |
                (status_ & 0x40 ? TIOCM_RNG : 0) | (status_ & 0x80 ? TIOCM_CAR : 0) |
                (mcr & 1 ? TIOCM_DTR : 0) | (mcr & 2 ? TIOCM_RTS : 0);
        return 0;
    }
    int set_modem_lines(int, int lines) override { return drive(lines, ~lines); }
    int raise_modem_lines(int, int lines) override { return drive(lines, 0); }
    int lower_modem_lines(int, int lines) override { return drive(0, lines); }

    bool claim_io_ports(unsigned long, unsigned) override { return false; }
    uint8_t in_port(unsigned long) override { return 0xFF; }
    void out_port(unsigned long, uint8_t) override {}
    std::optional<std::string> environment(const std::string &name) override {
        if (name == "WIRELINK_COM1") return kDevice;
        if (name == "WIRELINK_COM2") return "off";
        return std::nullopt;
    }
    void print_message(const std::string &line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
    Clock::time_point now() override { return clock_; }
    void sleep_until(Clock::time_point until) override { clock_ = std::max(clock_, until); }
    // The bench's time moves with the data-register reads, as on a UART.
    void spend_register_access_time() override {
        clock_ += microseconds(1);
        bench_.read(wlsim::kCom1);
    }

    // Round trips also take their time for real, for the library's own clock.
    bool real_time = false;

private:
    void round_trip() {
        clock_ += round_trip_;
        if (real_time) std::this_thread::sleep_for(round_trip_);
    }

    int drive(int raise, int lower) {
        ++counts.changes;
        round_trip();
        uint8_t mcr = bench_.read(kMcr);
        if (raise & TIOCM_DTR) mcr |= 1;
        if (raise & TIOCM_RTS) mcr |= 2;
        if (lower & TIOCM_DTR) mcr &= ~1;
        if (lower & TIOCM_RTS) mcr &= ~2;
        bench_.write(kMcr, mcr);
        // The chip reports its pins once per status interval.
        const auto intervals =
            (clock_.time_since_epoch() + kStatusInterval - Clock::duration(1)) / kStatusInterval;
        status_shows_at_ = Clock::time_point(intervals * kStatusInterval);
        return 0;
    }

    wlsim::Bench &bench_;
    Clock::duration round_trip_;
    bool status_cached_;
    Clock::time_point clock_{};
    uint8_t status_ = 0;
    Clock::time_point status_shows_at_{};
};

// The library's port accesses go to this driver: the program's own
// DlPortReadPortUchar and DlPortWritePortUchar come before the simulator's.
dlportio::PortDriver *driver = nullptr;
UsbSerialKernel *kernel = nullptr;

// A throw-away /sys/class/tty in which ttyUSB0 is served by `chip_driver`.
std::filesystem::path fake_tty_class(const char *chip_driver) {
    const auto root = std::filesystem::temp_directory_path() / ("wirelink-bench-" + std::string(chip_driver));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "drivers" / chip_driver);
    std::filesystem::create_directories(root / "ttyUSB0" / "device");
    std::filesystem::create_directory_symlink(root / "drivers" / chip_driver,
                                              root / "ttyUSB0" / "device" / "driver");
    return root;
}

// Runs `body` with the library claiming the adapter on a bench whose UART is
// reached through the port driver and a USB-serial kernel of that chip.
template <typename Body>
void on_usb_serial(const char *chip_driver, duration<double> round_trip, Body body) {
    wlsim::Bench bench;
    bench.add_uart(wlsim::kCom1, true);
    fit_chips(bench);
    const auto tty_class = fake_tty_class(chip_driver);
    UsbSerialKernel usb(bench, round_trip, std::string(chip_driver) != "ftdi_sio");
    dlportio::PortDriver port_driver(usb, {tty_class, "/nonexistent/ports.conf", "/nonexistent"});
    kernel = &usb;
    driver = &port_driver;
    set_port_delay(kPortDelay);
    if (init_iic(1) != 0x3F8) {
        std::fprintf(stderr, "the adapter did not answer through the port driver\n");
        std::exit(1);
    }
    body(bench, usb);
    port_driver.release();
    driver = nullptr;
    std::filesystem::remove_all(tty_class);
}

std::map<std::string, Counts> measure(const char *chip_driver, duration<double> round_trip) {
    std::map<std::string, Counts> results;
    on_usb_serial(chip_driver, round_trip, [&](wlsim::Bench &, UsbSerialKernel &usb) {
        for (const Operation &operation : operations()) {
            iic_stop();
            usb.counts = {};
            const auto start = usb.now();
            operation.run();
            usb.counts.milliseconds = duration<double, std::milli>(usb.now() - start).count();
            results[operation.name] = usb.counts;
        }
    });
    return results;
}

// Wall-clock time of an expander write while SCL is held low, every round
// trip taking its time for real: the library's wait for SCL gives up by its
// clock, not after 25,000 status reads.
double stuck_clock_ms(const char *chip_driver, duration<double> round_trip) {
    double milliseconds = 0;
    on_usb_serial(chip_driver, round_trip, [&](wlsim::Bench &bench, UsbSerialKernel &usb) {
        bench.bus().stick_scl_low(true);
        usb.real_time = true;
        const auto start = steady_clock::now();
        iic_tx_pcf8574(0x5A, 1);
        milliseconds = duration<double, std::milli>(steady_clock::now() - start).count();
        usb.real_time = false;
        bench.bus().stick_scl_low(false);
    });
    return milliseconds;
}

}  // namespace

extern "C" {

unsigned char DlPortReadPortUchar(unsigned long port) {
    ++kernel->counts.accesses;
    if (port == kMsr) ++kernel->counts.status_reads;
    return driver->read(port);
}

// The former driver made a TIOCMBIS for the lines that were to be high and a
// TIOCMBIC for those to be low at every control write, changed or not.
void DlPortWritePortUchar(unsigned long port, unsigned char value) {
    ++kernel->counts.accesses;
    if (port == kMcr) {
        ++kernel->counts.control_writes;
        kernel->counts.former_ioctls += ((value & 3) != 0) + ((value & 3) != 3);
    }
    driver->write(port, value);
}

}  // extern "C"

int main() {
    const auto ftdi_fast = measure("ftdi_sio", 0.2ms), ftdi_slow = measure("ftdi_sio", 1ms);
    const auto ch340_fast = measure("ch341-uart", 0.2ms), ch340_slow = measure("ch341-uart", 1ms);

    std::printf(
        "Modem ioctls per call through libdlportio.so on a USB-serial adapter (port delay %d,\n"
        "every byte acknowledged).  An ioctl is one USB round trip; a CH340 or PL2303\n"
        "answers TIOCMGET without one, from the status its chip reports (here once a\n"
        "millisecond), so a read waits until a line change shows there.\n\n",
        kPortDelay);
    std::printf("%-15s %8s %7s %7s %7s %7s %7s   %s\n", "", "port", "MSR", "MCR", "line", "modem", "former",
                "time per call (ms)");
    std::printf("%-15s %8s %7s %7s %7s %7s %7s   %-15s %s\n", "operation", "accesses", "reads", "writes",
                "changes", "ioctls", "driver", "FTDI, CP210x", "CH340, PL2303");
    std::printf("%-15s %8s %7s %7s %7s %7s %7s   %6s %6s   %6s %6s\n", "", "", "", "", "", "", "", "0.2 ms",
                "1 ms", "0.2 ms", "1 ms");
    for (const char *name : kOperations) {
        const Counts &c = ftdi_fast.at(name);
        std::printf("%-15s %8llu %7llu %7llu %7llu %7llu %7llu   %6.1f %6.1f   %6.1f %6.1f\n", name,
                    (unsigned long long)c.accesses, (unsigned long long)c.status_reads,
                    (unsigned long long)c.control_writes, (unsigned long long)c.changes,
                    (unsigned long long)(c.gets + c.changes),
                    (unsigned long long)(c.former_ioctls + c.status_reads), c.milliseconds,
                    ftdi_slow.at(name).milliseconds, ch340_fast.at(name).milliseconds,
                    ch340_slow.at(name).milliseconds);
    }
    std::printf(
        "\nSCL held low (a stuck bus): one PCF8574 write returns after, wall clock,\n"
        "at 1 ms per round trip: FTDI, CP210x %.0f ms; CH340, PL2303 %.0f ms\n",
        stuck_clock_ms("ftdi_sio", 1ms), stuck_clock_ms("ch341-uart", 1ms));
    return 0;
}
