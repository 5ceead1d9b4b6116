// A fake of the port driver's system calls: serial devices with modem lines
// held in memory, an I/O space for the direct-access fallback, and a record
// of every call made.
#ifndef DLPORTIO_TESTS_FAKE_SYSTEM_H
#define DLPORTIO_TESTS_FAKE_SYSTEM_H

#include <sys/ioctl.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "system_calls.h"

struct FakeDevice {
    bool openable = true;
    bool modem_calls_work = true;  // false: like a pseudo-terminal
    int lines = 0;                 // TIOCM_* bits
    // The bus adapter: DTR comes back on DSR and RTS on CTS.
    bool adapter = false;
};

class FakeSystem final : public dlportio::SystemCalls {
public:
    std::map<std::string, FakeDevice> devices;  // by path, e.g. "/dev/ttyS0"
    bool io_ports_allowed = false;
    std::map<unsigned long, uint8_t> io_space;  // what in_port reads

    std::vector<std::string> open_attempts;
    std::vector<int> closed;
    std::vector<unsigned long> claimed_io_bases;
    std::vector<unsigned long> in_ports;
    std::vector<std::pair<unsigned long, uint8_t>> out_ports;
    int modem_calls = 0;
    int access_times_spent = 0;

    FakeDevice& device_of(int fd) { return devices.at(open_paths_.at(fd)); }

    int calls() const {
        return static_cast<int>(open_attempts.size() + closed.size() + claimed_io_bases.size() +
                                in_ports.size() + out_ports.size()) +
               modem_calls + access_times_spent;
    }

    int open_device(const std::string& path) override {
        open_attempts.push_back(path);
        auto it = devices.find(path);
        if (it == devices.end() || !it->second.openable) return -1;
        const int fd = next_fd_++;
        open_paths_[fd] = path;
        return fd;
    }
    void close_device(int fd) override { closed.push_back(fd); }

    std::optional<int> get_modem_lines(int fd) override {
        ++modem_calls;
        if (!device_of(fd).modem_calls_work) return std::nullopt;
        return device_of(fd).lines;
    }
    void raise_modem_lines(int fd, int lines) override { drive(fd, lines, 0); }
    void lower_modem_lines(int fd, int lines) override { drive(fd, 0, lines); }

    bool claim_io_ports(unsigned long first, unsigned count) override {
        claimed_io_bases.push_back(first);
        if (io_ports_allowed) granted_ = {first, first + count};
        return io_ports_allowed;
    }
    uint8_t in_port(unsigned long port) override {
        check_granted(port);
        in_ports.push_back(port);
        return io_space[port];
    }
    void out_port(unsigned long port, uint8_t value) override {
        check_granted(port);
        out_ports.emplace_back(port, value);
    }

    void spend_register_access_time() override { ++access_times_spent; }

private:
    void drive(int fd, int raise, int lower) {
        ++modem_calls;
        FakeDevice& device = device_of(fd);
        if (!device.modem_calls_work) return;
        device.lines = (device.lines | raise) & ~lower;
        if (device.adapter) {
            device.lines &= ~(TIOCM_DSR | TIOCM_CTS);
            if (device.lines & TIOCM_DTR) device.lines |= TIOCM_DSR;
            if (device.lines & TIOCM_RTS) device.lines |= TIOCM_CTS;
        }
    }

    // Touching a port outside the claim would be a real fault.
    void check_granted(unsigned long port) const {
        if (port < granted_.first || port >= granted_.second) throw std::logic_error("port not claimed");
    }

    std::map<int, std::string> open_paths_;
    int next_fd_ = 10;
    std::pair<unsigned long, unsigned long> granted_{0, 0};
};

#endif
