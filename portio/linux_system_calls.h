// The port driver's system calls on Linux.
#ifndef DLPORTIO_LINUX_SYSTEM_CALLS_H
#define DLPORTIO_LINUX_SYSTEM_CALLS_H

#include "system_calls.h"

namespace dlportio {

class LinuxSystemCalls final : public SystemCalls {
public:
    int open_device(const std::string &path) override;
    int open_lock_file(const std::string &path) override;
    void close_device(int fd) override;
    int lock(int fd) override;
    int make_exclusive(int fd) override;
    int get_settings(int fd, termios &settings) override;
    int set_settings(int fd, const termios &settings) override;
    int get_modem_lines(int fd, int &lines) override;
    int set_modem_lines(int fd, int lines) override;
    int raise_modem_lines(int fd, int lines) override;
    int lower_modem_lines(int fd, int lines) override;
    bool claim_io_ports(unsigned long first, unsigned count) override;
    uint8_t in_port(unsigned long port) override;
    void out_port(unsigned long port, uint8_t value) override;
    std::optional<std::string> environment(const std::string &name) override;
    void print_message(const std::string &line) override;
    Clock::time_point now() override;
    void sleep_until(Clock::time_point until) override;
    void spend_register_access_time() override;
};

}  // namespace dlportio

#endif
