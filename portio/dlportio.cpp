// The port driver's two exports, over one driver for the whole process.

#include "linux_system_calls.h"
#include "dlportio.h"
#include "port_driver.h"

namespace {

dlportio::PortDriver *instance = nullptr;

// Built at the first port access and never destroyed, so the serial devices
// stay open for the life of the process and a port access made during exit
// still finds its driver.
dlportio::PortDriver &driver() {
    static auto *const system = new dlportio::LinuxSystemCalls;
    static auto *const made = instance = new dlportio::PortDriver(*system, {});
    return *made;
}

// Runs after the program's own exit handlers, which may still release the
// adapter through the bus, have written their last register: the devices'
// settings go back as they were found.
__attribute__((destructor)) void release_devices() {
    if (instance != nullptr) instance->release();
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) unsigned char DLPORTIO_CALL DlPortReadPortUchar(unsigned long port) {
    return driver().read(port);
}

__attribute__((visibility("default"))) void DLPORTIO_CALL DlPortWritePortUchar(unsigned long port,
                                                                               unsigned char value) {
    driver().write(port, value);
}

}  // extern "C"
