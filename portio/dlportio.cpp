// Placeholder port driver: every port reads as an empty ISA slot.
#include "wirelink.h"

extern "C" {
__attribute__((visibility("default"))) unsigned char DlPortReadPortUchar(unsigned long) { return 0xFF; }
__attribute__((visibility("default"))) void DlPortWritePortUchar(unsigned long, unsigned char) {}
}
