// The port driver's surroundings, faked: a throw-away /sys/class/tty, and its
// system calls over serial devices whose modem lines and settings are held in
// memory, an I/O space for the direct-access fallback, a clock that moves only
// when slept on, and a record of the calls made and the messages printed.
#ifndef DLPORTIO_TESTS_FAKE_SYSTEM_H
#define DLPORTIO_TESTS_FAKE_SYSTEM_H

#include <stdlib.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "system_calls.h"

class FakeSysfs {
public:
    FakeSysfs() : root_(std::filesystem::temp_directory_path() / "dlportio-sysfs-XXXXXX") {
        std::string pattern = root_.string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~FakeSysfs() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    // An entry whose "port" file holds port_text as the kernel writes it;
    // without port_text, an entry without a "port" file.  Likewise "type",
    // and the link to the driver behind the device.
    void add_tty(const std::string &name, const char *port_text, const char *type_text = nullptr,
                 const char *driver = nullptr) {
        std::filesystem::create_directories(root_ / name / "device");
        if (port_text != nullptr) std::ofstream(root_ / name / "port") << port_text << '\n';
        if (type_text != nullptr) std::ofstream(root_ / name / "type") << type_text << '\n';
        if (driver != nullptr) {
            std::filesystem::create_directories(root_ / "drivers" / driver);
            std::filesystem::create_directory_symlink(root_ / "drivers" / driver,
                                                      root_ / name / "device" / "driver");
        }
    }
    const std::filesystem::path &root() const { return root_; }

private:
    std::filesystem::path root_;
};

struct FakeDevice {
    int open_error = 0;    // errno that opening fails with
    int modem_error = 0;   // errno of every modem call: EINVAL like a pseudo-terminal, EIO unplugged
    int lines = 0;         // TIOCM_* bits
    bool adapter = false;  // the bus adapter: DTR comes back on DSR, RTS on CTS
    termios settings{};
    // Inputs reported this long after a change, as a chip's status messages are.
    std::chrono::steady_clock::duration report_delay{};
    int reported = 0;
    std::chrono::steady_clock::time_point report_due{};
};

class FakeSystem final : public dlportio::SystemCalls {
public:
    std::map<std::string, FakeDevice> devices;  // by path, e.g. "/dev/ttyS0"
    std::set<std::string> held_elsewhere;       // paths another program has locked
    std::map<std::string, std::string> variables;
    bool io_ports_allowed = false;
    std::map<unsigned long, uint8_t> io_space;  // what in_port reads

    int calls = 0, open_descriptors = 0, access_times_spent = 0;
    std::vector<std::string> open_attempts, messages;
    std::vector<std::string> modem_ioctls;    // "TIOCMGET", "TIOCMSET", ...
    std::vector<tcflag_t> control_flags_set;  // c_cflag of each tcsetattr
    std::vector<unsigned long> claimed_io_bases, in_ports;
    std::vector<std::pair<unsigned long, uint8_t>> out_ports;
    Clock::time_point clock{};
    std::vector<Clock::duration> sleeps;

    int open_device(const std::string &path) override {
        ++calls;
        open_attempts.push_back(path);
        if (!devices.contains(path)) return -ENOENT;
        if (devices[path].open_error != 0) return -devices[path].open_error;
        ++open_descriptors;
        return remember(path);
    }
    int open_lock_file(const std::string &path) override {
        ++calls;
        return remember(path);
    }
    void close_device(int fd) override {
        ++calls;
        if (devices.contains(paths_.at(fd))) --open_descriptors;
        paths_.erase(fd);
    }
    int lock(int fd) override {
        ++calls;
        return held_elsewhere.contains(paths_.at(fd)) ? EWOULDBLOCK : 0;
    }
    int make_exclusive(int) override { return ++calls, 0; }
    int get_settings(int fd, termios &settings) override {
        ++calls;
        settings = device(fd).settings;
        return 0;
    }
    int set_settings(int fd, const termios &settings) override {
        ++calls;
        control_flags_set.push_back(settings.c_cflag);
        device(fd).settings = settings;
        return 0;
    }
    int get_modem_lines(int fd, int &lines) override {
        if (const int error = modem_call("TIOCMGET", fd)) return error;
        FakeDevice &d = device(fd);
        if (clock >= d.report_due) d.reported = d.lines;
        constexpr int kInputs = TIOCM_CTS | TIOCM_DSR | TIOCM_RNG | TIOCM_CAR;
        lines = d.report_delay.count() == 0 ? d.lines : (d.lines & ~kInputs) | (d.reported & kInputs);
        return 0;
    }
    int set_modem_lines(int fd, int lines) override {
        constexpr int kSettable = TIOCM_DTR | TIOCM_RTS | 0x2000 | 0x4000 | 0x8000;
        return drive("TIOCMSET", fd, lines & kSettable, ~lines & kSettable);
    }
    int raise_modem_lines(int fd, int lines) override { return drive("TIOCMBIS", fd, lines, 0); }
    int lower_modem_lines(int fd, int lines) override { return drive("TIOCMBIC", fd, 0, lines); }
    bool claim_io_ports(unsigned long first, unsigned count) override {
        ++calls;
        claimed_io_bases.push_back(first);
        if (io_ports_allowed) granted_ = {first, first + count};
        return io_ports_allowed;
    }
    uint8_t in_port(unsigned long port) override {
        in_ports.push_back(granted(port));
        return io_space[port];
    }
    void out_port(unsigned long port, uint8_t value) override {
        out_ports.emplace_back(granted(port), value);
    }
    std::optional<std::string> environment(const std::string &name) override {
        if (!variables.contains(name)) return std::nullopt;
        return variables[name];
    }
    void print_message(const std::string &line) override { messages.push_back(line); }
    Clock::time_point now() override { return clock; }
    void sleep_until(Clock::time_point until) override {
        if (until <= clock) return;
        sleeps.push_back(until - clock);
        clock = until;
    }
    void spend_register_access_time() override {
        ++calls;
        ++access_times_spent;
    }

private:
    FakeDevice &device(int fd) { return devices.at(paths_.at(fd)); }
    int remember(const std::string &path) {
        paths_[next_fd_] = path;
        return next_fd_++;
    }
    int modem_call(const char *name, int fd) {
        ++calls;
        modem_ioctls.push_back(name);
        return device(fd).modem_error;
    }
    int drive(const char *name, int fd, int raise, int lower) {
        if (const int error = modem_call(name, fd)) return error;
        FakeDevice &d = device(fd);
        d.lines = (d.lines | raise) & ~lower;
        if (d.adapter) {
            d.lines &= ~(TIOCM_DSR | TIOCM_CTS);
            d.lines |= (d.lines & TIOCM_DTR ? TIOCM_DSR : 0) | (d.lines & TIOCM_RTS ? TIOCM_CTS : 0);
        }
        d.report_due = clock + d.report_delay;
        return 0;
    }
    // Touching a port outside the claim would be a real fault.
    unsigned long granted(unsigned long port) {
        ++calls;
        if (port < granted_.first || port >= granted_.second) throw std::logic_error("port not claimed");
        return port;
    }

    std::map<int, std::string> paths_;
    int next_fd_ = 10;
    std::pair<unsigned long, unsigned long> granted_{0, 0};
};

#endif
