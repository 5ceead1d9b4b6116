// The port's registers reached with in/out instructions, for a process that
// may not open the serial device but holds the I/O permission for it.
#ifndef DLPORTIO_DIRECT_PORTS_H
#define DLPORTIO_DIRECT_PORTS_H

#include "register_backend.h"
#include "system_calls.h"

namespace dlportio {

class DirectPorts final : public RegisterBackend {
public:
    // The caller has claimed the eight ports from base on, and holds the
    // lock file that keeps other programs of ours off them (lock_fd, which
    // this closes).
    DirectPorts(SystemCalls &system, unsigned long base, int lock_fd)
        : system_(system), base_(base), lock_fd_(lock_fd) {}
    ~DirectPorts() override { system_.close_device(lock_fd_); }
    DirectPorts(const DirectPorts &) = delete;
    DirectPorts &operator=(const DirectPorts &) = delete;

    // A real register access already takes its ISA-bus time; nothing to add.
    uint8_t read(unsigned offset) override { return system_.in_port(base_ + offset); }
    void write(unsigned offset, uint8_t value) override { system_.out_port(base_ + offset, value); }

private:
    SystemCalls &system_;
    unsigned long base_;
    int lock_fd_;
};

}  // namespace dlportio

#endif
