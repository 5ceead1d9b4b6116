// The port driver's system calls on Linux.
#ifndef DLPORTIO_LINUX_SYSTEM_CALLS_H
#define DLPORTIO_LINUX_SYSTEM_CALLS_H

#include "system_calls.h"

namespace dlportio {

class LinuxSystemCalls final : public SystemCalls {
public:
    int open_device(const std::string& path) override;
    void close_device(int fd) override;
    std::optional<int> get_modem_lines(int fd) override;
    void raise_modem_lines(int fd, int lines) override;
    void lower_modem_lines(int fd, int lines) override;
    bool claim_io_ports(unsigned long first, unsigned count) override;
    uint8_t in_port(unsigned long port) override;
    void out_port(unsigned long port, uint8_t value) override;
    void spend_register_access_time() override;
};

}  // namespace dlportio

#endif
