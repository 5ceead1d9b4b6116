// A port driver whose accesses cost nothing: the adapter's lines loop straight
// back (DSR follows DTR, CTS follows RTS) and nothing else answers.
#include "wirelink.h"

namespace {
unsigned char modem_control = 0;
}

extern "C" {

unsigned char DlPortReadPortUchar(unsigned long port) {
    if ((port & 7) == 4) return modem_control;
    if ((port & 7) == 6)
        return static_cast<unsigned char>(((modem_control & 1) ? 0x20 : 0) |
                                          ((modem_control & 2) ? 0x10 : 0));
    return 0;
}

void DlPortWritePortUchar(unsigned long port, unsigned char value) {
    if ((port & 7) == 4) modem_control = value;
}

}  // extern "C"
