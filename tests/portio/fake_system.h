// The port driver's surroundings, faked: a throw-away /sys/class/tty, and its
// system calls over serial devices whose modem lines are held in memory, an
// I/O space for the direct-access fallback, and a record of the calls made.
#ifndef DLPORTIO_TESTS_FAKE_SYSTEM_H
#define DLPORTIO_TESTS_FAKE_SYSTEM_H

#include <stdlib.h>
#include <sys/ioctl.h>

#include <filesystem>
#include <fstream>
#include <map>
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
    // without port_text, an entry without a "port" file.
    void add_tty(const std::string& name, const char* port_text) {
        std::filesystem::create_directories(root_ / name);
        if (port_text != nullptr) std::ofstream(root_ / name / "port") << port_text << '\n';
    }
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

struct FakeDevice {
    bool openable = true;
    bool modem_calls_work = true;  // false: like a pseudo-terminal
    int lines = 0;                 // TIOCM_* bits
    bool adapter = false;          // the bus adapter: DTR comes back on DSR, RTS on CTS
};

class FakeSystem final : public dlportio::SystemCalls {
public:
    std::map<std::string, FakeDevice> devices;  // by path, e.g. "/dev/ttyS0"
    bool io_ports_allowed = false;
    std::map<unsigned long, uint8_t> io_space;  // what in_port reads

    int calls = 0, open_descriptors = 0, access_times_spent = 0;
    std::vector<std::string> open_attempts;
    std::vector<unsigned long> claimed_io_bases, in_ports;
    std::vector<std::pair<unsigned long, uint8_t>> out_ports;

    int open_device(const std::string& path) override {
        ++calls;
        open_attempts.push_back(path);
        if (!devices.contains(path) || !devices[path].openable) return -1;
        ++open_descriptors;
        paths_[next_fd_] = path;
        return next_fd_++;
    }
    void close_device(int) override {
        ++calls;
        --open_descriptors;
    }
    std::optional<int> get_modem_lines(int fd) override {
        ++calls;
        return device(fd).modem_calls_work ? std::optional(device(fd).lines) : std::nullopt;
    }
    void raise_modem_lines(int fd, int lines) override { drive(device(fd), lines, 0); }
    void lower_modem_lines(int fd, int lines) override { drive(device(fd), 0, lines); }
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
    void out_port(unsigned long port, uint8_t value) override { out_ports.emplace_back(granted(port), value); }
    void spend_register_access_time() override {
        ++calls;
        ++access_times_spent;
    }

private:
    FakeDevice& device(int fd) { return devices.at(paths_.at(fd)); }
    void drive(FakeDevice& device, int raise, int lower) {
        ++calls;
        if (!device.modem_calls_work) return;
        device.lines = (device.lines | raise) & ~lower;
        if (device.adapter) {
            device.lines &= ~(TIOCM_DSR | TIOCM_CTS);
            device.lines |= (device.lines & TIOCM_DTR ? TIOCM_DSR : 0) | (device.lines & TIOCM_RTS ? TIOCM_CTS : 0);
        }
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
