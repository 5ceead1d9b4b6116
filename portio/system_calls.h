// The operating-system calls that the Linux port driver makes, behind one
// seam so that the driver can be exercised against fake serial devices.
// Calls that can fail give 0 or the errno value.
#ifndef DLPORTIO_SYSTEM_CALLS_H
#define DLPORTIO_SYSTEM_CALLS_H

#include <termios.h>

#include <cstdint>
#include <optional>
#include <string>

#include "timing.h"

namespace dlportio {

// Modem lines travel as the TIOCM_* bits of <sys/ioctl.h>.
class SystemCalls : public Timing {
public:
    // An open descriptor, or minus the errno value.
    virtual int open_device(const std::string &path) = 0;
    // Creates the file when it is missing; same result as open_device.
    virtual int open_lock_file(const std::string &path) = 0;
    virtual void close_device(int fd) = 0;

    // flock(LOCK_EX | LOCK_NB): EWOULDBLOCK while another program holds it.
    virtual int lock(int fd) = 0;
    // TIOCEXCL: nobody else may open the terminal while it is open here.
    virtual int make_exclusive(int fd) = 0;
    // tcgetattr / tcsetattr(TCSANOW).
    virtual int get_settings(int fd, termios &settings) = 0;
    virtual int set_settings(int fd, const termios &settings) = 0;

    // The modem ioctls: TIOCMGET, TIOCMSET, TIOCMBIS, TIOCMBIC.
    virtual int get_modem_lines(int fd, int &lines) = 0;
    virtual int set_modem_lines(int fd, int lines) = 0;
    virtual int raise_modem_lines(int fd, int lines) = 0;
    virtual int lower_modem_lines(int fd, int lines) = 0;

    // Direct port I/O, for when no device can be opened.  Only the ports
    // granted by claim_io_ports may be passed to in_port/out_port.
    virtual bool claim_io_ports(unsigned long first, unsigned count) = 0;
    virtual uint8_t in_port(unsigned long port) = 0;
    virtual void out_port(unsigned long port, uint8_t value) = 0;

    virtual std::optional<std::string> environment(const std::string &name) = 0;
    // One line on standard error.
    virtual void print_message(const std::string &line) = 0;
};

}  // namespace dlportio

#endif
