#include "ftdi_rig.h"

#include "port_extension.h"

FtdiBoard::FtdiBoard() {
    for (wlsim::BusDevice *chip : std::initializer_list<wlsim::BusDevice *>{
             &display_port, &one, &two, &display, &converter, &synthesizer})
        bus.attach(*chip);
    converter.set_input_volts(2, 1.0);
    converter.set_input_volts(3, 2.0);
    synthesizer.set_status(0x5C);
}

FtdiRig::FtdiRig()
    : cable(ftdi.add("A5XK3RJT")),
      driver(system, {sysfs.root(), sysfs.root() / "ports.conf", "/lock"}, &ftdi.api()) {
    system.variables["WIRELINK_COM1"] = "ftdi:";
    cable.bus = &board.bus;
    cable.write_byte(0xFF);  // UART mode after the chip's reset: both lines low
}

namespace {
std::unique_ptr<FtdiRig> rig;

uint32_t run_limit(uint32_t base) { return ftdi_rig().offer_runs ? ftdi_rig().driver.run_limit(base) : 0; }

int32_t run_steps(uint32_t base, const uint8_t *steps, uint8_t *samples, uint32_t count, uint32_t delay) {
    return ftdi_rig().driver.run_steps(base, steps, samples, count, delay);
}
}  // namespace

FtdiRig &ftdi_rig() {
    if (!rig) new_ftdi_rig();
    return *rig;
}

void new_ftdi_rig() {
    rig.reset();  // the old cable is closed before the new fake takes over
    rig = std::make_unique<FtdiRig>();
}

extern "C" {

unsigned char DlPortReadPortUchar(unsigned long port) { return ftdi_rig().driver.read(port); }

void DlPortWritePortUchar(unsigned long port, unsigned char value) { ftdi_rig().driver.write(port, value); }

const struct wirelink_port_extension *wirelink_port_extension(void) {
    static const struct wirelink_port_extension extension {
        WIRELINK_PORT_EXTENSION_VERSION, sizeof extension, run_limit, run_steps, nullptr
    };
    return &extension;
}

}  // extern "C"
