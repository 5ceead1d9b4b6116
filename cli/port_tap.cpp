#include "port_tap.h"

#include <array>
#include <cerrno>
#include <cstddef>
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
const wirelink_port_extension *driver_extension = nullptr;
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

void connect_extension(const wirelink_port_extension *extension) { driver_extension = extension; }

void flush_trace() {
    for (auto &decoder : decoders) {
        if (decoder) decoder->flush();
    }
}

namespace {

uint8_t after_step(uint8_t mcr, uint8_t step) {
    switch (step) {
    case WIRELINK_STEP_SDA_LOW:
        return mcr & static_cast<uint8_t>(~0x01);
    case WIRELINK_STEP_SDA_HIGH:
        return mcr | 0x01;
    case WIRELINK_STEP_SCL_LOW:
        return mcr & static_cast<uint8_t>(~0x02);
    case WIRELINK_STEP_SCL_HIGH:
        return mcr | 0x02;
    default:
        return mcr;
    }
}

// A diverted port (the capture port of a dry run) takes single accesses only:
// a run would go past it to the driver.
uint32_t tapped_run_limit(uint32_t port_base) {
    if (diverted_to != nullptr || driver_extension == nullptr) return 0;
    return driver_extension->run_limit(port_base);
}

// A driver too old to name devices says so as the library would.
int32_t tapped_use_device(uint32_t port_base, const char *device) {
    constexpr std::size_t kVersion2Size =
        offsetof(wirelink_port_extension, use_device) + sizeof driver_extension->use_device;
    if (driver_extension == nullptr || driver_extension->version < 2 ||
        driver_extension->size < kVersion2Size || driver_extension->use_device == nullptr)
        return -EOPNOTSUPP;
    return driver_extension->use_device(port_base, device);
}

// Each step is decoded as the control write and status read it stands for.
int32_t tapped_run_steps(uint32_t port_base, const uint8_t *steps, uint8_t *samples, uint32_t count,
                         uint32_t delay) {
    if (diverted_to != nullptr || driver_extension == nullptr) return -1;
    WireDecoder *decoder = decoder_at(port_base, 0);
    uint8_t mcr = decoder != nullptr && driver_read != nullptr ? driver_read(port_base + kModemControl) : 0;
    const int32_t stored = driver_extension->run_steps(port_base, steps, samples, count, delay);
    for (int32_t i = 0; decoder != nullptr && i < stored; ++i) {
        mcr = after_step(mcr, steps[i]);
        decoder->control_written(mcr);
        decoder->status_read(samples[i]);
    }
    return stored;
}

}  // namespace

}  // namespace cli::port_tap

extern "C" {

__attribute__((visibility("default"))) const struct wirelink_port_extension *wirelink_port_extension(void) {
    using namespace cli::port_tap;
    static const struct wirelink_port_extension tapped {
        WIRELINK_PORT_EXTENSION_VERSION, sizeof tapped, tapped_run_limit, tapped_run_steps, tapped_use_device
    };
    return &tapped;
}

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
