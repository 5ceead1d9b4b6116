#include "capture_port.h"

#include <sstream>

#include "failure.h"
#include "port_tap.h"
#include "uart16550.h"

namespace cli {
namespace {

using namespace uart16550;

// "S C0 N 09 N P" to {0xC0, 0x09}: the two-digit words are the bytes.
std::vector<int32_t> bytes_of(const std::string &transaction) {
    std::vector<int32_t> bytes;
    std::istringstream words(transaction);
    for (std::string word; words >> word;) {
        if (word.size() == 2 && word != "Sr") bytes.push_back(std::stoi(word, nullptr, 16));
    }
    return bytes;
}

// Undoes the diversion however the capture ends.
struct Diversion {
    explicit Diversion(CapturePort &port) { port_tap::divert(&port); }
    ~Diversion() { port_tap::divert(nullptr); }
    Diversion(const Diversion &) = delete;
    Diversion &operator=(const Diversion &) = delete;
};

}  // namespace

CapturePort::CapturePort()
    : decoder_([this](const std::string &transaction) { transactions_.push_back(bytes_of(transaction)); }) {}

// The adapter feeds DTR back on DSR and RTS on CTS; no slave pulls either low.
uint8_t CapturePort::read(unsigned long port) {
    if (port == kCom1 + kModemControl) return modem_control_;
    if (port != kCom1 + kModemStatus) return port >= kCom1 && port < kCom1 + kRegisterCount ? 0 : kEmptyPort;
    uint8_t status = 0;
    if (modem_control_ & kMcrDtr) status |= kMsrDsr;
    if (modem_control_ & kMcrRts) status |= kMsrCts;
    decoder_.status_read(status);
    return status;
}

void CapturePort::write(unsigned long port, uint8_t value) {
    if (port != kCom1 + kModemControl) return;
    modem_control_ = value & kMcrWritable;
    decoder_.control_written(modem_control_);
}

std::vector<std::vector<int32_t>> capture_bytes(const Wirelink &wirelink,
                                                const std::function<void(const Wirelink &)> &send) {
    CapturePort port;
    {
        const Diversion diversion(port);
        wirelink.set_port_delay(0);
        if (wirelink.init_iic(1) == 0)
            throw Failure(kNoAdapter, "the capture port did not answer as an adapter");
        send(wirelink);
        wirelink.deinit_iic();
    }
    return port.transactions();
}

}  // namespace cli
