#include "bench.h"

#include "port_extension.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace wlsim {

namespace {
bool in_serial_range(uint32_t port) {
    return (port >= kCom1 && port < kCom1 + uart16550::kRegisterCount) ||
           (port >= kCom2 && port < kCom2 + uart16550::kRegisterCount);
}
}  // namespace

Uart &Bench::add_uart(uint32_t base, bool with_adapter, uint8_t initial_mcr) {
    if (base != kCom1 && base != kCom2) throw std::invalid_argument("a UART lives at 0x3F8 or 0x2F8");
    SerialPort &slot = serial_[base];
    slot.uart = std::make_unique<Uart>(initial_mcr);
    slot.bus = std::make_unique<I2cBus>();
    if (with_adapter) slot.uart->plug(slot.bus.get());
    return *slot.uart;
}

Uart &Bench::uart(uint32_t base) {
    SerialPort *slot = port_at(base);
    if (slot == nullptr) throw std::out_of_range("no UART there");
    return *slot->uart;
}

bool Bench::has_uart(uint32_t base) const { return serial_.count(base) != 0; }

I2cBus &Bench::bus(uint32_t base) {
    SerialPort *slot = port_at(base);
    if (slot == nullptr) throw std::out_of_range("no UART there");
    return *slot->bus;
}

void Bench::unplug_adapter(uint32_t base) { uart(base).plug(nullptr); }

Bench::SerialPort *Bench::port_at(uint32_t port) {
    auto it = serial_.find(port & ~7u);
    return it == serial_.end() ? nullptr : &it->second;
}

void Bench::count(uint32_t port, bool write, uint8_t value) {
    ++accesses_;
    ++(write ? writes_ : reads_)[port];
    if (logging_) log_.push_back(PortAccess{port, write, value});
    if (!in_serial_range(port)) {
        char text[64];
        std::snprintf(text, sizeof text, "%s of port 0x%X", write ? "write" : "read", port);
        violations_.push_back(text);
    }
}

// Each port access takes a moment in which clock-stretching slaves and slow
// devices move on.
void Bench::pass_time() {
    for (auto &entry : serial_) {
        entry.second.bus->tick();
        entry.second.uart->sample_inputs();
    }
}

void Bench::take_access_time(uint32_t port) {
    if (access_time_.empty()) return;
    auto it = access_time_.find(port);
    if (it != access_time_.end()) std::this_thread::sleep_for(it->second);
}

uint8_t Bench::read(uint32_t port) {
    take_access_time(port);
    pass_time();
    SerialPort *slot = in_serial_range(port) ? port_at(port) : nullptr;
    const uint8_t value = slot != nullptr ? slot->uart->read(port & 7) : 0xFF;
    count(port, false, value);
    if (waveforms_) waveforms_->after_access();
    return value;
}

void Bench::write(uint32_t port, uint8_t value) {
    take_access_time(port);
    pass_time();
    count(port, true, value);
    SerialPort *slot = in_serial_range(port) ? port_at(port) : nullptr;
    if (slot != nullptr) slot->uart->write(port & 7, value);
    if (slot != nullptr && logging_ && (port & 7) == uart16550::kModemControl)
        line_states_.push_back(slot->uart->mcr());
    if (waveforms_) waveforms_->after_access();
}

uint64_t Bench::reads(uint32_t port) const {
    auto it = reads_.find(port);
    return it == reads_.end() ? 0 : it->second;
}

uint64_t Bench::writes(uint32_t port) const {
    auto it = writes_.find(port);
    return it == writes_.end() ? 0 : it->second;
}

void Bench::record_waveforms(const std::string &path, uint32_t access_ns) {
    waveforms_.reset();
    std::vector<VcdWriter::Probe> probes;
    for (const auto &[base, slot] : serial_) {
        if (slot.uart->bus() == nullptr) continue;
        const bool second = base == kCom2;
        probes.push_back(VcdWriter::Probe{second ? "com2" : "com1", second ? "SCL2" : "SCL",
                                          second ? "SDA2" : "SDA", slot.bus.get()});
    }
    // 0x2F8 sorts first; the first adapter's signals come first.
    std::reverse(probes.begin(), probes.end());
    waveforms_ = std::make_unique<VcdWriter>(path, std::move(probes), access_ns);
}

uint32_t Bench::run_limit(uint32_t base) const { return has_uart(base) ? run_limit_ : 0; }

int32_t Bench::use_device(uint32_t base, const char *device) {
    if (base != 0x3F8 && base != 0x2F8) return -EINVAL;
    if (device == nullptr) {
        named_devices_.erase(base);
        return 0;
    }
    const std::string name(device);
    const bool blank =
        std::any_of(name.begin(), name.end(), [](unsigned char c) { return std::isspace(c) != 0; });
    if (name.empty() || blank) return -EINVAL;
    named_devices_[base] = name;
    return 0;
}

std::string Bench::named_device(uint32_t base) const {
    const auto it = named_devices_.find(base);
    return it != named_devices_.end() ? it->second : std::string();
}

void Bench::tick_once() {
    pass_time();
    if (waveforms_) waveforms_->after_access();
}

uint8_t Bench::apply_step(Uart &uart, uint8_t step) {
    uint8_t mcr = uart.mcr();
    switch (step) {
    case WIRELINK_STEP_SDA_LOW:
        mcr &= static_cast<uint8_t>(~uart16550::kMcrDtr);
        break;
    case WIRELINK_STEP_SDA_HIGH:
        mcr |= uart16550::kMcrDtr;
        break;
    case WIRELINK_STEP_SCL_LOW:
        mcr &= static_cast<uint8_t>(~uart16550::kMcrRts);
        break;
    case WIRELINK_STEP_SCL_HIGH:
        mcr |= uart16550::kMcrRts;
        break;
    default:
        return mcr;
    }
    uart.write(uart16550::kModemControl, mcr);
    if (logging_) line_states_.push_back(uart.mcr());
    return mcr;
}

// A step takes the time of the register path's line change (the control
// register read and written, then the delay) and of the status read after it.
int32_t Bench::run_steps(uint32_t base, const uint8_t *steps, uint8_t *samples, uint32_t count,
                         uint32_t delay) {
    if (run_limit(base) == 0 || steps == nullptr || samples == nullptr) return -1;
    Uart &uart = *port_at(base)->uart;
    ++runs_;
    count = std::min(count, run_limit_);
    for (uint32_t i = 0; i < count; ++i) {
        tick_once();
        apply_step(uart, steps[i]);
        for (uint32_t wait = 0; wait <= delay; ++wait) tick_once();
        tick_once();
        samples[i] = static_cast<uint8_t>(uart.read(uart16550::kModemStatus) & 0xF0);
        ++steps_run_;
    }
    return static_cast<int32_t>(count);
}

void Bench::reset_counts() {
    runs_ = 0;
    steps_run_ = 0;
    line_states_.clear();
    reads_.clear();
    writes_.clear();
    accesses_ = 0;
    log_.clear();
}

}  // namespace wlsim
