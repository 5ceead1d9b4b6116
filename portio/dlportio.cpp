// The port driver's two exports, over one driver for the whole process.

#if defined(WIRELINK_WITH_FTDI)
#include "ftdi_api.h"
#endif
#include "linux_system_calls.h"
#include "dlportio.h"
#include "port_driver.h"
#include "port_extension.h"

namespace {

dlportio::PortDriver *instance = nullptr;

// Built at the first port access and never destroyed, so the serial devices
// stay open for the life of the process and a port access made during exit
// still finds its driver.
dlportio::PortDriver &driver() {
    static auto *const system = new dlportio::LinuxSystemCalls;
#if defined(WIRELINK_WITH_FTDI)
    static auto *const made = instance =
        new dlportio::PortDriver(*system, {}, &dlportio::ftdi_api_of_process());
#else
    static auto *const made = instance = new dlportio::PortDriver(*system, {});
#endif
    return *made;
}

// Runs after the program's own exit handlers, which may still release the
// adapter through the bus, have written their last register: the devices'
// settings go back as they were found.
__attribute__((destructor)) void release_devices() {
    if (instance != nullptr) instance->release();
}

uint32_t run_limit(uint32_t port_base) { return driver().run_limit(port_base); }

int32_t run_steps(uint32_t port_base, const uint8_t *steps, uint8_t *samples, uint32_t count,
                  uint32_t delay) {
    if (steps == nullptr || samples == nullptr) return -1;
    return driver().run_steps(port_base, steps, samples, count, delay);
}

int32_t use_device(uint32_t port_base, const char *device) { return driver().use_device(port_base, device); }

}  // namespace

extern "C" {

__attribute__((visibility("default"))) unsigned char DLPORTIO_CALL DlPortReadPortUchar(unsigned long port) {
    return driver().read(port);
}

__attribute__((visibility("default"))) void DLPORTIO_CALL DlPortWritePortUchar(unsigned long port,
                                                                               unsigned char value) {
    driver().write(port, value);
}

// Runs of line steps, for the ports whose device takes them (an FTDI cable),
// and a device named for a port by the program.
__attribute__((visibility("default"))) const struct wirelink_port_extension *wirelink_port_extension(void) {
    static const struct wirelink_port_extension extension {
        WIRELINK_PORT_EXTENSION_VERSION, sizeof extension, run_limit, run_steps, use_device
    };
    return &extension;
}

}  // extern "C"
