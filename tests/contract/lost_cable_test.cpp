// A USB-serial cable pulled out in the middle of a read, modelled at the
// ioctl level: the real port driver over system calls that drive the
// simulated bench's UART, failing with EIO from a chosen ioctl on.  Wherever
// the cable goes, a read never succeeds with a wrong value, stores nothing,
// and tells ENODEV.
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <functional>
#include <memory>

#include "bench.h"
#include "pcf8591.h"
#include "port_driver.h"
#include "wirelink.h"

namespace {

// The cable: modem ioctls become the bench UART's register accesses.
class Cable final : public dlportio::SystemCalls {
public:
    explicit Cable(wlsim::Bench &bench) : bench_(bench) {}

    int pull_at = 0;  // the ioctl (counted from 1) that finds the cable gone; 0 never
    int ioctls = 0;

    int open_device(const std::string &) override { return pulled() ? -ENOENT : 3; }
    int open_lock_file(const std::string &) override { return -EACCES; }
    void close_device(int) override {}
    int lock(int) override { return 0; }
    int make_exclusive(int) override { return 0; }
    int get_settings(int, termios &) override { return 0; }
    int set_settings(int, const termios &) override { return 0; }
    int get_modem_lines(int, int &lines) override {
        if (const int error = ioctl()) return error;
        const uint8_t status = bench_.read(wlsim::kCom1 + 6);
        lines = (mcr_ & 0x01 ? TIOCM_DTR : 0) | (mcr_ & 0x02 ? TIOCM_RTS : 0) |
                (status & 0x10 ? TIOCM_CTS : 0) | (status & 0x20 ? TIOCM_DSR : 0) |
                (status & 0x40 ? TIOCM_RNG : 0) | (status & 0x80 ? TIOCM_CAR : 0);
        return 0;
    }
    int set_modem_lines(int, int lines) override { return drive(lines, ~lines); }
    int raise_modem_lines(int, int lines) override { return drive(lines, 0); }
    int lower_modem_lines(int, int lines) override { return drive(0, lines); }
    bool claim_io_ports(unsigned long, unsigned) override { return false; }
    uint8_t in_port(unsigned long) override { return 0xFF; }
    void out_port(unsigned long, uint8_t) override {}
    std::optional<std::string> environment(const std::string &name) override {
        if (name == "WIRELINK_COM1") return "/dev/ttyUSB0";
        if (name == "WIRELINK_COM2") return "off";
        return std::nullopt;
    }
    void print_message(const std::string &) override {}
    Clock::time_point now() override { return clock_; }
    void sleep_until(Clock::time_point until) override { clock_ = std::max(clock_, until); }
    void spend_register_access_time() override {}

private:
    bool pulled() const { return pull_at != 0 && ioctls >= pull_at; }
    int ioctl() {
        ++ioctls;
        return pulled() ? EIO : 0;
    }
    int drive(int raise, int lower) {
        if (const int error = ioctl()) return error;
        if (raise & TIOCM_DTR) mcr_ |= 0x01;
        if (raise & TIOCM_RTS) mcr_ |= 0x02;
        if (lower & TIOCM_DTR) mcr_ &= ~0x01;
        if (lower & TIOCM_RTS) mcr_ &= ~0x02;
        bench_.write(wlsim::kCom1 + 4, mcr_);
        return 0;
    }

    wlsim::Bench &bench_;
    uint8_t mcr_ = 0;
    Clock::time_point clock_{};
};

dlportio::PortDriver *driver = nullptr;

// A bench of its own for every pull: the expander and the converter on a
// USB cable at COM1.
struct Rig {
    Rig() {
        bench.add_uart(wlsim::kCom1, true);
        bench.add_pcf8574(1).drive_pins(0x3C);
        auto &converter = bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
        for (int input = 0; input < 4; ++input) converter.set_input_code(input, 10 + input);
        driver = &port_driver;
    }
    ~Rig() { driver = nullptr; }

    wlsim::Bench bench;
    Cable cable{bench};
    dlportio::PortDriver port_driver{cable, {"/nonexistent", "/nonexistent/ports.conf", "/nonexistent"}};
};

struct Read {
    const char *name;
    // Makes the read; true when it reported success.  `stored` is what it
    // stored (or returned), checked against `right` on success and against
    // what was there before on failure.
    std::function<bool(int32_t &stored)> call;
    int32_t right;
};

// Converter records start at a sentinel, so that a failed read is seen to
// store nothing.
constexpr int32_t kUntouched = 77;

const Read kReads[] = {
    {"iic_rx_pcf8574_into", [](int32_t &v) { return _iic_rx_pcf8574(&v, 1) == 1; }, 0x3C},
    {"iic_rx_pcf8574", [](int32_t &v) { return (v = iic_rx_pcf8574(1)) != 0; }, 0x3C},
    {"pcf8591_readchan",
     [](int32_t &v) {
         pcf8591_state state{};
         pcf8591_init(&state, 0, 2.55f);
         state.reading[2] = kUntouched;
         const bool read = pcf8591_readchan(&state, 2, 0) == 1;
         v = state.reading[2];
         return read;
     },
     12},
    {"pcf8591_read4chan",
     [](int32_t &v) {
         pcf8591_state state{};
         pcf8591_init(&state, 0, 2.55f);
         state.reading[3] = kUntouched;
         const bool read = pcf8591_read4chan(&state, 0) == 1;
         v = state.reading[3];
         return read;
     },
     13},
};

class LostCable : public ::testing::TestWithParam<Read> {};

TEST_P(LostCable, NeverGivesAWrongValueAndTellsTheAdapterWasLost) {
    const Read &read = GetParam();
    int ioctls_of_read = 0;
    {
        Rig rig;
        ASSERT_EQ(init_iic(1), 0x3F8);
        const int before = rig.cable.ioctls;
        int32_t value = 0;
        ASSERT_TRUE(read.call(value));
        ASSERT_EQ(value, read.right);
        ioctls_of_read = rig.cable.ioctls - before;
    }
    for (int pull = 1; pull <= ioctls_of_read; ++pull) {
        Rig rig;
        ASSERT_EQ(init_iic(1), 0x3F8);
        rig.cable.pull_at = rig.cable.ioctls + pull;
        int32_t value = kUntouched;
        if (read.call(value)) {
            EXPECT_EQ(value, read.right) << "pulled at ioctl " << pull;
        } else {
            EXPECT_EQ(wirelink_last_error(), WIRELINK_ENODEV) << "pulled at ioctl " << pull;
            EXPECT_TRUE(value == kUntouched || value == 0) << "pulled at ioctl " << pull << ": " << value;
        }
        EXPECT_TRUE(rig.bench.violations().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Reads, LostCable, ::testing::ValuesIn(kReads),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace

extern "C" {

unsigned char DlPortReadPortUchar(unsigned long port) { return driver ? driver->read(port) : 0xFF; }
void DlPortWritePortUchar(unsigned long port, unsigned char value) {
    if (driver) driver->write(port, value);
}

}  // extern "C"
