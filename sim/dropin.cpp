// The simulated bench behind the port driver's interface: loaded in place of
// libdlportio.so or dlportio.dll, it gives wirelink a bench board instead of
// real ports.

#include "bench.h"
#include "dlportio.h"
#include "default_board.h"
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

}  // extern "C"
