#include "modem_uart.h"

#include <sys/ioctl.h>

namespace dlportio {
namespace {

constexpr int kDriven = TIOCM_DTR | TIOCM_RTS;

uint8_t control_bits(int lines) {
    uint8_t mcr = 0;
    if (lines & TIOCM_DTR) mcr |= uart::kMcrDtr;
    if (lines & TIOCM_RTS) mcr |= uart::kMcrRts;
    return mcr;
}

int driven_lines(uint8_t mcr) {
    int lines = 0;
    if (mcr & uart::kMcrDtr) lines |= TIOCM_DTR;
    if (mcr & uart::kMcrRts) lines |= TIOCM_RTS;
    return lines;
}

uint8_t input_bits(int lines) {
    uint8_t msr = 0;
    if (lines & TIOCM_CTS) msr |= uart::kMsrCts;
    if (lines & TIOCM_DSR) msr |= uart::kMsrDsr;
    if (lines & TIOCM_RNG) msr |= uart::kMsrRi;
    if (lines & TIOCM_CAR) msr |= uart::kMsrDcd;
    return msr;
}

// Each change indicator sits four bits below its input, as in the UART;
// the ring indicator's marks only the trailing edge, when the ringing stops.
uint8_t change_indicators(uint8_t before, uint8_t now) {
    const uint8_t toggled = static_cast<uint8_t>((before ^ now) >> 4);
    const uint8_t fell = static_cast<uint8_t>((before & ~now) >> 4);
    return static_cast<uint8_t>((toggled & ~uart::kMsrTrailingEdgeRi) |
                                (fell & uart::kMsrTrailingEdgeRi));
}

}  // namespace

ModemUart::ModemUart(SystemCalls& system, int fd, int initial_lines)
    : system_(system), fd_(fd), inputs_(input_bits(initial_lines)) {
    written_[uart::kModemControl] = control_bits(initial_lines);
}

ModemUart::~ModemUart() { system_.close_device(fd_); }

uint8_t ModemUart::read(unsigned offset) {
    switch (offset) {
    case uart::kData:
        // The bus is timed by data-register reads, so each must cost what
        // it costs on the real UART.  Nothing is ever received.
        system_.spend_register_access_time();
        return 0;
    case uart::kModemStatus:
        return read_modem_status();
    default:
        return written_[offset];
    }
}

void ModemUart::write(unsigned offset, uint8_t value) {
    switch (offset) {
    case uart::kData:  // never transmit: the port carries a bus, not a line
    case uart::kModemStatus:
        return;
    case uart::kModemControl:
        write_modem_control(value);
        return;
    default:
        written_[offset] = value;
    }
}

// The device is only looked at when the register is read, so a pulse that
// comes and goes between two reads leaves no change indicator behind.
uint8_t ModemUart::read_modem_status() {
    const auto lines = system_.get_modem_lines(fd_);
    if (!lines) return uart::kEmptyPort;
    const uint8_t now = input_bits(*lines);
    const uint8_t status = static_cast<uint8_t>(now | change_indicators(inputs_, now));
    inputs_ = now;  // reading clears the change indicators
    return status;
}

// Only DTR and RTS reach the device.  OUT1, OUT2 and loop-back are kept for
// reading back: the kernel's driver needs OUT2 for its interrupts, and
// loop-back would cut the adapter off.
void ModemUart::write_modem_control(uint8_t value) {
    written_[uart::kModemControl] = value;
    const int high = driven_lines(value);
    if (high != 0) system_.raise_modem_lines(fd_, high);
    if (high != kDriven) system_.lower_modem_lines(fd_, kDriven & ~high);
}

}  // namespace dlportio
