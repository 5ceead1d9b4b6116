/*
 * A small C interface to the bench that the simulated port driver serves,
 * for programs that load the driver as a plain shared library and cannot use
 * the C++ interface of bench.h (the Windows tests load dlportio.dll and look
 * these up by name).  Every function works on the attached bench, which is
 * the default bench board unless a C++ test attached its own, and on the
 * adapter's bus on 0x3F8.  None of them touches a port or throws.
 */
#ifndef WLSIM_C_H
#define WLSIM_C_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && defined(WLSIM_BUILDING)
#define WLSIM_EXPORT __declspec(dllexport)
#else
#define WLSIM_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The decoded bus trace ("S 72 A 5A A P"), NUL-terminated and cut to fit
 * size bytes; returns the length of the whole trace, or -1 when there is no
 * bus on 0x3F8. */
WLSIM_EXPORT int32_t wlsim_trace_text(char *buffer, int32_t size);
/* Forgets the trace and the port access counts. */
WLSIM_EXPORT void wlsim_forget_history(void);
/* Port accesses since the history was last forgotten. */
WLSIM_EXPORT uint64_t wlsim_accesses(void);
/* Accesses outside the serial ports plus conditions inside a byte, ever. */
WLSIM_EXPORT int32_t wlsim_violations(void);
/* A nonzero argument holds SCL low as a broken board would; 0 lets it go. */
WLSIM_EXPORT void wlsim_stick_scl_low(int32_t stuck);
/* From now on writes SDA and SCL of every adapter to the Value Change Dump
 * file path (SCL and SDA for 0x3F8, SCL2 and SDA2 for 0x2F8), each port
 * access taking access_ns nanoseconds (1000 for a UART); a file already being
 * written is ended first.  Returns 1, or 0 when path is null, access_ns is
 * not positive or the file cannot be written. */
WLSIM_EXPORT int32_t wlsim_vcd_start(const char *path, int32_t access_ns);
/* Ends the file being written, if any, one access after the last change. */
WLSIM_EXPORT void wlsim_vcd_stop(void);

#ifdef __cplusplus
}
#endif

#endif /* WLSIM_C_H */
