#include "legacy_ports.h"

#include <utility>

#include "uart16550.h"

namespace dlportio {

LegacyPorts::LegacyPorts(Open open)
    : open_(std::move(open)),
      serial_ports_{SerialPort{{"COM1", uart16550::kCom1}, false, nullptr},
                    SerialPort{{"COM2", uart16550::kCom2}, false, nullptr}} {}

uint8_t LegacyPorts::read(unsigned long port) {
    unsigned offset = 0;
    RegisterBackend *backend = backend_at(port, offset);
    return backend ? backend->read(offset) : uart16550::kEmptyPort;
}

void LegacyPorts::write(unsigned long port, uint8_t value) {
    unsigned offset = 0;
    if (RegisterBackend *backend = backend_at(port, offset)) backend->write(offset, value);
}

uint32_t LegacyPorts::run_limit(unsigned long base) {
    unsigned offset = 0;
    RegisterBackend *backend = backend_at(base, offset);
    return backend && offset == 0 ? backend->run_limit() : 0;
}

int32_t LegacyPorts::run_steps(unsigned long base, const uint8_t *steps, uint8_t *samples, uint32_t count,
                               uint32_t delay) {
    unsigned offset = 0;
    RegisterBackend *backend = backend_at(base, offset);
    return backend && offset == 0 ? backend->run_steps(steps, samples, count, delay) : -1;
}

bool LegacyPorts::reopen(unsigned long base) {
    for (SerialPort &serial : serial_ports_) {
        if (serial.id.base != base) continue;
        serial.backend.reset();
        serial.opened = false;
        return true;
    }
    return false;
}

void LegacyPorts::release() {
    released_ = true;
    for (SerialPort &serial : serial_ports_) serial.backend.reset();
}

// A device that goes away is looked for again by its backend; a port where
// nothing was found is not searched again.
RegisterBackend *LegacyPorts::backend_at(unsigned long port, unsigned &offset) {
    for (SerialPort &serial : serial_ports_) {
        if (port < serial.id.base || port - serial.id.base >= uart16550::kRegisterCount) continue;
        if (!serial.opened && !released_) {
            serial.opened = true;
            serial.backend = open_(serial.id);
        }
        offset = static_cast<unsigned>(port - serial.id.base);
        return serial.backend.get();
    }
    return nullptr;
}

}  // namespace dlportio
