// The two operations of the port driver library.  They are resolved when the
// library is loaded (from libdlportio.so or dlportio.dll), so a program can
// put any driver of that name and interface underneath wirelink.
#ifndef WIRELINK_BUS_PORT_IO_H
#define WIRELINK_BUS_PORT_IO_H

#include "wirelink.h"

extern "C" {
unsigned char WIRELINK_CALL DlPortReadPortUchar(unsigned long port);
void WIRELINK_CALL DlPortWritePortUchar(unsigned long port, unsigned char value);
}

#endif
