#include "port_tap.h"

#include <array>
#include <memory>
#include <utility>

#include "capture_port.h"
#include "uart16550.h"
#include "wire_decoder.h"

namespace cli::port_tap {
namespace {

constexpr std::array<unsigned long, 2> kSerialBases = {uart16550::kCom1, uart16550::kCom2};
using uart16550::kModemControl;
using uart16550::kModemStatus;

CapturePort *diverted_to = nullptr;
ReadPort driver_read = nullptr;
WritePort driver_write = nullptr;
std::array<std::unique_ptr<WireDecoder>, 2> decoders;
std::function<void(const std::string &)> printer;
std::string last;

void transaction_ended(const std::string &text) {
    last = text;
    if (printer) printer(text);
}

WireDecoder *decoder_at(unsigned long port, unsigned long offset) {
    for (std::size_t i = 0; i < kSerialBases.size(); ++i) {
        if (port == kSerialBases[i] + offset) return decoders[i].get();
    }
    return nullptr;
}

}  // namespace

void connect(ReadPort read, WritePort write) {
    driver_read = read;
    driver_write = write;
    for (auto &decoder : decoders) decoder = std::make_unique<WireDecoder>(transaction_ended);
}

void trace(std::function<void(const std::string &)> listener) { printer = std::move(listener); }

std::string take_last_transaction() { return std::exchange(last, std::string()); }

void divert(CapturePort *port) { diverted_to = port; }

void flush_trace() {
    for (auto &decoder : decoders) {
        if (decoder) decoder->flush();
    }
}

}  // namespace cli::port_tap

extern "C" {

// An empty slot reads 0xFF, should anything read before the driver is bound.
__attribute__((visibility("default"))) unsigned char DLPORTIO_CALL DlPortReadPortUchar(unsigned long port) {
    using namespace cli::port_tap;
    if (diverted_to != nullptr) return diverted_to->read(port);
    const unsigned char value = driver_read != nullptr ? driver_read(port) : 0xFF;
    if (cli::WireDecoder *decoder = decoder_at(port, kModemStatus)) decoder->status_read(value);
    return value;
}

__attribute__((visibility("default"))) void DLPORTIO_CALL DlPortWritePortUchar(unsigned long port,
                                                                               unsigned char value) {
    using namespace cli::port_tap;
    if (diverted_to != nullptr) {
        diverted_to->write(port, value);
        return;
    }
    if (driver_write != nullptr) driver_write(port, value);
    if (cli::WireDecoder *decoder = decoder_at(port, kModemControl)) {
        decoder->control_written(value);
    }
}

}  // extern "C"
