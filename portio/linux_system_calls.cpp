#include "linux_system_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define DLPORTIO_HAVE_PORT_IO 1
#endif

namespace dlportio {
namespace {

int result_of(int returned) { return returned == 0 ? 0 : errno; }

int descriptor_or_error(int fd) { return fd >= 0 ? fd : -errno; }

}  // namespace

// No controlling terminal (the port must not take signals to us), and no
// waiting for carrier: the adapter does not drive DCD.
int LinuxSystemCalls::open_device(const std::string &path) {
    return descriptor_or_error(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
}

// Read-only: flock needs no more, and a file another user made stays usable.
int LinuxSystemCalls::open_lock_file(const std::string &path) {
    return descriptor_or_error(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
}

void LinuxSystemCalls::close_device(int fd) { ::close(fd); }

int LinuxSystemCalls::lock(int fd) { return result_of(::flock(fd, LOCK_EX | LOCK_NB)); }

int LinuxSystemCalls::make_exclusive(int fd) { return result_of(::ioctl(fd, TIOCEXCL)); }

int LinuxSystemCalls::get_settings(int fd, termios &settings) {
    return result_of(::tcgetattr(fd, &settings));
}

int LinuxSystemCalls::set_settings(int fd, const termios &settings) {
    return result_of(::tcsetattr(fd, TCSANOW, &settings));
}

int LinuxSystemCalls::get_modem_lines(int fd, int &lines) { return result_of(::ioctl(fd, TIOCMGET, &lines)); }

int LinuxSystemCalls::set_modem_lines(int fd, int lines) { return result_of(::ioctl(fd, TIOCMSET, &lines)); }

int LinuxSystemCalls::raise_modem_lines(int fd, int lines) {
    return result_of(::ioctl(fd, TIOCMBIS, &lines));
}

int LinuxSystemCalls::lower_modem_lines(int fd, int lines) {
    return result_of(::ioctl(fd, TIOCMBIC, &lines));
}

#ifdef DLPORTIO_HAVE_PORT_IO
bool LinuxSystemCalls::claim_io_ports(unsigned long first, unsigned count) {
    return ::ioperm(first, count, 1) == 0;
}

uint8_t LinuxSystemCalls::in_port(unsigned long port) { return ::inb(static_cast<unsigned short>(port)); }

void LinuxSystemCalls::out_port(unsigned long port, uint8_t value) {
    ::outb(value, static_cast<unsigned short>(port));
}
#else
bool LinuxSystemCalls::claim_io_ports(unsigned long, unsigned) { return false; }
uint8_t LinuxSystemCalls::in_port(unsigned long) { return 0xFF; }
void LinuxSystemCalls::out_port(unsigned long, uint8_t) {}
#endif

std::optional<std::string> LinuxSystemCalls::environment(const std::string &name) {
    const char *value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

// One write, so that lines from two threads or processes do not mix.
void LinuxSystemCalls::print_message(const std::string &line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
}

Timing::Clock::time_point LinuxSystemCalls::now() { return Clock::now(); }

void LinuxSystemCalls::sleep_until(Clock::time_point until) { std::this_thread::sleep_until(until); }

// About one microsecond, what an access to a UART on the ISA bus takes.
// Busy, because a sleep would last far longer.
void LinuxSystemCalls::spend_register_access_time() {
    const auto until = Clock::now() + std::chrono::microseconds(1);
    while (Clock::now() < until) {
    }
}

}  // namespace dlportio
