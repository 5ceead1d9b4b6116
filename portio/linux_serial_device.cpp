#include "linux_serial_device.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "serial_device_lookup.h"
#include "uart16550.h"

namespace dlportio {
namespace {

// Drivers that ask the chip for its inputs at every TIOCMGET.  Others (CH340,
// PL2303, ...) answer from the last status the chip sent on its interrupt
// endpoint, which can be a millisecond or more behind a line change (the
// register model then waits for changes to show).
bool reads_inputs_live(const std::string &tty, const std::optional<std::string> &driver) {
    return tty.starts_with("ttyS") || driver == "ftdi_sio" || driver == "cp210x";
}

// The UART's two spare outputs as TIOCMGET reports them (<asm/termios.h>,
// which cannot be included beside <termios.h>).
constexpr int kOut1 = 0x2000, kOut2 = 0x4000;

uint8_t control_bits(int lines) {
    uint8_t mcr = 0;
    if (lines & TIOCM_DTR) mcr |= uart16550::kMcrDtr;
    if (lines & TIOCM_RTS) mcr |= uart16550::kMcrRts;
    return mcr;
}

int driven_lines(uint8_t mcr) {
    int lines = 0;
    if (mcr & uart16550::kMcrDtr) lines |= TIOCM_DTR;
    if (mcr & uart16550::kMcrRts) lines |= TIOCM_RTS;
    return lines;
}

uint8_t input_bits(int lines) {
    uint8_t msr = 0;
    if (lines & TIOCM_CTS) msr |= uart16550::kMsrCts;
    if (lines & TIOCM_DSR) msr |= uart16550::kMsrDsr;
    if (lines & TIOCM_RNG) msr |= uart16550::kMsrRi;
    if (lines & TIOCM_CAR) msr |= uart16550::kMsrDcd;
    return msr;
}

// What an unplugged USB device answers, before and after its hang-up.
bool means_gone(int error) { return error == EIO || error == ENODEV || error == ENXIO; }

Opened failure(int error) {
    const std::string text = std::strerror(error);
    switch (error) {
    case EACCES:
    case EPERM:
        return {nullptr, OpenFailure::refused, text + " (is the user in the dialout group?)"};
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO:
        return {nullptr, OpenFailure::absent,
                text + " (is it plugged in? ls -l /dev/serial/by-id/ lists the USB cables)"};
    case EBUSY:
    case EWOULDBLOCK:
        return {nullptr, OpenFailure::in_use,
                "in use by another program (close it, and keep ModemManager off the device)"};
    case ENOTTY:
    case EINVAL:
        return {nullptr, OpenFailure::refused, "not a serial port with modem lines (" + text + ")"};
    default:
        return {nullptr, OpenFailure::refused, text};
    }
}

// The name the kernel's tty class knows the device by, through any links.
std::string tty_name(const std::string &path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return (error ? std::filesystem::path(path) : resolved).filename().string();
}

class LinuxModemLines final : public ModemLines {
public:
    LinuxModemLines(SystemCalls &system, int fd, const termios &saved, bool settings_changed,
                    int lines_at_open, bool inputs_reported_late)
        : system_(system),
          fd_(fd),
          saved_(saved),
          settings_changed_(settings_changed),
          lines_at_open_(lines_at_open),
          kept_(lines_at_open & (kOut1 | kOut2)),
          inputs_reported_late_(inputs_reported_late) {}

    ~LinuxModemLines() override {
        if (settings_changed_ && gone_error_ == 0) system_.set_settings(fd_, saved_);
        system_.close_device(fd_);
    }

    uint8_t outputs_at_open() const override { return control_bits(lines_at_open_); }
    uint8_t inputs_at_open() const override { return input_bits(lines_at_open_); }

    LineResult read_inputs(uint8_t &inputs) override {
        int lines = 0;
        const int error = system_.get_modem_lines(fd_, lines);
        if (error == 0) inputs = input_bits(lines);
        return result(error);
    }

    // One ioctl whatever changes: lines that only rise or only fall go by
    // TIOCMBIS or TIOCMBIC, which touch nothing else; a rise and a fall
    // together by TIOCMSET, which also sets OUT1 and OUT2 as they were found.
    LineResult drive_outputs(uint8_t from, uint8_t to) override {
        const int rising = driven_lines(to & ~from);
        const int falling = driven_lines(from & ~to);
        int error = 0;
        if (falling == 0) {
            error = system_.raise_modem_lines(fd_, rising);
        } else if (rising == 0) {
            error = system_.lower_modem_lines(fd_, falling);
        } else {
            error = system_.set_modem_lines(fd_, driven_lines(to) | kept_);
        }
        return result(error);
    }

    std::string why_gone() const override { return std::strerror(gone_error_); }
    bool inputs_may_lag() const override { return inputs_reported_late_; }

private:
    LineResult result(int error) {
        if (error == 0) return LineResult::done;
        if (!means_gone(error)) return LineResult::refused;
        gone_error_ = error;
        return LineResult::gone;
    }

    SystemCalls &system_;
    int fd_;
    termios saved_;
    bool settings_changed_;
    int lines_at_open_;
    int kept_;
    bool inputs_reported_late_;
    int gone_error_ = 0;
};

}  // namespace

LinuxSerialDevice::LinuxSerialDevice(SystemCalls &system, std::string port, std::string path,
                                     std::filesystem::path tty_class_root)
    : system_(system),
      port_(std::move(port)),
      path_(std::move(path)),
      tty_class_root_(std::move(tty_class_root)) {}

std::string LinuxSerialDevice::label() const { return port_ + " = " + path_; }

Opened LinuxSerialDevice::open() {
    const std::string tty = tty_name(path_);
    const std::optional<std::string> driver = tty_driver(tty_class_root_, tty);
    if (tty.starts_with("ttyACM") || driver == "cdc_acm") {
        return {nullptr, OpenFailure::refused,
                "a USB modem (CDC-ACM) device cannot carry the adapter: its driver reports CTS "
                "always set, so SCL cannot be read back; use a cable with an FTDI, CP210x, "
                "CH340 or PL2303 chip"};
    }
    const int fd = system_.open_device(path_);
    if (fd < 0) return failure(-fd);
    Opened opened = claim(fd, !reads_inputs_live(tty, driver));
    if (!opened.lines) system_.close_device(fd);
    return opened;
}

Opened LinuxSerialDevice::claim(int fd, bool inputs_reported_late) {
    if (const int error = system_.lock(fd)) return failure(error);
    if (const int error = system_.make_exclusive(fd)) return failure(error);
    termios saved{};
    if (const int error = system_.get_settings(fd, saved)) return failure(error);
    termios wanted = saved;
    wanted.c_cflag = (saved.c_cflag & ~CRTSCTS) | CLOCAL;
    const bool change = wanted.c_cflag != saved.c_cflag;
    if (change) {
        if (const int error = system_.set_settings(fd, wanted)) return failure(error);
    }
    int lines = 0;
    if (const int error = system_.get_modem_lines(fd, lines)) {
        if (change) system_.set_settings(fd, saved);
        return failure(error);
    }
    return {std::make_unique<LinuxModemLines>(system_, fd, saved, change, lines, inputs_reported_late),
            OpenFailure::none,
            {}};
}

}  // namespace dlportio
