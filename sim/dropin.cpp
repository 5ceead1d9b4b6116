// The simulated bench behind the port driver's interface: loaded in place of
// libdlportio.so or dlportio.dll, it gives wirelink a bench board instead of
// real ports.

#include "bench.h"
#include "dlportio.h"
#include "default_board.h"
#include "port_extension.h"
#include "wlsim_c.h"

namespace wlsim {
namespace {

Bench *current = nullptr;

Bench &default_board() {
    static DefaultBoard board = [] {
        DefaultBoard made = make_default_board();
        print_activity_if_asked(made);
        record_waveforms_if_asked(made);
        return made;
    }();
    return *board.bench;
}

}  // namespace

void attach(Bench *bench) { current = bench; }

Bench &attached() { return current != nullptr ? *current : default_board(); }

}  // namespace wlsim

extern "C" {

WLSIM_EXPORT unsigned char DLPORTIO_CALL DlPortReadPortUchar(unsigned long port) {
    return wlsim::attached().read(static_cast<uint32_t>(port));
}

WLSIM_EXPORT void DLPORTIO_CALL DlPortWritePortUchar(unsigned long port, unsigned char value) {
    wlsim::attached().write(static_cast<uint32_t>(port), value);
}

static uint32_t WIRELINK_PORT_EXTENSION_CALL bench_run_limit(uint32_t port_base) {
    return wlsim::attached().run_limit(port_base);
}

static int32_t WIRELINK_PORT_EXTENSION_CALL bench_run_steps(uint32_t port_base, const uint8_t *steps,
                                                            uint8_t *samples, uint32_t count,
                                                            uint32_t delay) {
    return wlsim::attached().run_steps(port_base, steps, samples, count, delay);
}

static int32_t WIRELINK_PORT_EXTENSION_CALL bench_use_device(uint32_t port_base, const char *device) {
    return wlsim::attached().use_device(port_base, device);
}

// Always there; whether a port runs steps is the bench's option.
WLSIM_EXPORT const struct wirelink_port_extension *WIRELINK_PORT_EXTENSION_CALL
wirelink_port_extension(void) {
    static const struct wirelink_port_extension extension {
        WIRELINK_PORT_EXTENSION_VERSION, sizeof extension, bench_run_limit, bench_run_steps, bench_use_device
    };
    return &extension;
}

}  // extern "C"
