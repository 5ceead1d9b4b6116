// The C interface of wlsim_c.h over the attached bench.  The C++ interface
// throws where a bus is missing; nothing may cross into a C caller, so every
// function answers that case itself.

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

#include "bench.h"
#include "wlsim_c.h"

namespace {

wlsim::I2cBus *adapter_bus() {
    wlsim::Bench &bench = wlsim::attached();
    return bench.has_uart(wlsim::kCom1) ? &bench.bus(wlsim::kCom1) : nullptr;
}

}  // namespace

extern "C" {

int32_t wlsim_trace_text(char *buffer, int32_t size) {
    wlsim::I2cBus *bus = adapter_bus();
    if (bus == nullptr) return -1;
    const std::string text = bus->monitor().text();
    if (buffer != nullptr && size > 0) {
        const std::size_t kept = std::min(text.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(buffer, text.data(), kept);
        buffer[kept] = '\0';
    }
    return static_cast<int32_t>(text.size());
}

void wlsim_forget_history(void) {
    wlsim::attached().reset_counts();
    if (wlsim::I2cBus *bus = adapter_bus()) bus->monitor().clear();
}

uint64_t wlsim_accesses(void) { return wlsim::attached().accesses(); }

int32_t wlsim_violations(void) {
    std::size_t count = wlsim::attached().violations().size();
    if (wlsim::I2cBus *bus = adapter_bus()) count += bus->monitor().violations().size();
    return static_cast<int32_t>(count);
}

void wlsim_stick_scl_low(int32_t stuck) {
    if (wlsim::I2cBus *bus = adapter_bus()) bus->stick_scl_low(stuck != 0);
}

int32_t wlsim_vcd_start(const char *path, int32_t access_ns) {
    if (path == nullptr || access_ns <= 0) return 0;
    try {
        wlsim::attached().record_waveforms(path, static_cast<uint32_t>(access_ns));
        return 1;
    } catch (const std::exception &) {
        return 0;
    }
}

void wlsim_vcd_stop(void) { wlsim::attached().stop_waveforms(); }

}  // extern "C"
