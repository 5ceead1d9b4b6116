#include "linux_system_calls.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define DLPORTIO_HAVE_PORT_IO 1
#endif

namespace dlportio {

// No controlling terminal (the port must not take signals to us), and no
// waiting for carrier: the adapter does not drive DCD.
int LinuxSystemCalls::open_device(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

void LinuxSystemCalls::close_device(int fd) { ::close(fd); }

std::optional<int> LinuxSystemCalls::get_modem_lines(int fd) {
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) != 0) return std::nullopt;
    return lines;
}

void LinuxSystemCalls::raise_modem_lines(int fd, int lines) { ::ioctl(fd, TIOCMBIS, &lines); }

void LinuxSystemCalls::lower_modem_lines(int fd, int lines) { ::ioctl(fd, TIOCMBIC, &lines); }

#ifdef DLPORTIO_HAVE_PORT_IO
bool LinuxSystemCalls::claim_io_ports(unsigned long first, unsigned count) {
    return ::ioperm(first, count, 1) == 0;
}

uint8_t LinuxSystemCalls::in_port(unsigned long port) {
    return ::inb(static_cast<unsigned short>(port));
}

void LinuxSystemCalls::out_port(unsigned long port, uint8_t value) {
    ::outb(value, static_cast<unsigned short>(port));
}
#else
bool LinuxSystemCalls::claim_io_ports(unsigned long, unsigned) { return false; }
uint8_t LinuxSystemCalls::in_port(unsigned long) { return 0xFF; }
void LinuxSystemCalls::out_port(unsigned long, uint8_t) {}
#endif

// About one microsecond, what an access to a UART on the ISA bus takes.
// Busy, because a sleep would last far longer.
void LinuxSystemCalls::spend_register_access_time() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(1);
    while (std::chrono::steady_clock::now() < until) {
    }
}

}  // namespace dlportio
