/*
 * The DlPortIO port driver interface: byte, word and double-word access to
 * absolute I/O port addresses.  wirelink uses the two byte functions, which
 * it resolves when it is loaded (from libdlportio.so or dlportio.dll), so any
 * driver of that name and interface can stand underneath it: the real one
 * over serial devices (portio/), the simulated bench (sim/), the command-line
 * tool's tap (cli/).  On Windows every function is stdcall; the Windows
 * driver exports the whole family, the Linux one the two byte functions.
 */
#ifndef WIRELINK_DLPORTIO_H
#define WIRELINK_DLPORTIO_H

#if defined(_WIN32)
#define DLPORTIO_CALL __stdcall
#else
#define DLPORTIO_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

unsigned char DLPORTIO_CALL DlPortReadPortUchar(unsigned long port);
void DLPORTIO_CALL DlPortWritePortUchar(unsigned long port, unsigned char value);

unsigned short DLPORTIO_CALL DlPortReadPortUshort(unsigned long port);
unsigned long DLPORTIO_CALL DlPortReadPortUlong(unsigned long port);
void DLPORTIO_CALL DlPortWritePortUshort(unsigned long port, unsigned short value);
void DLPORTIO_CALL DlPortWritePortUlong(unsigned long port, unsigned long value);
void DLPORTIO_CALL DlPortReadPortBufferUchar(unsigned long port, unsigned char *buffer, unsigned long count);
void DLPORTIO_CALL DlPortReadPortBufferUshort(unsigned long port, unsigned short *buffer,
                                              unsigned long count);
void DLPORTIO_CALL DlPortReadPortBufferUlong(unsigned long port, unsigned long *buffer, unsigned long count);
void DLPORTIO_CALL DlPortWritePortBufferUchar(unsigned long port, unsigned char *buffer, unsigned long count);
void DLPORTIO_CALL DlPortWritePortBufferUshort(unsigned long port, unsigned short *buffer,
                                               unsigned long count);
void DLPORTIO_CALL DlPortWritePortBufferUlong(unsigned long port, unsigned long *buffer, unsigned long count);

#ifdef __cplusplus
}
#endif

#endif
