/*
 * The optional extension of a port driver: besides DlPortReadPortUchar and
 * DlPortWritePortUchar, a driver whose device can run a whole run of line
 * changes in one exchange (an FTDI cable in synchronous bit-bang mode, the
 * simulated bench) exports wirelink_port_extension.  libwirelink looks it up
 * in the driver it was loaded with; a driver without it is used one register
 * access at a time, as always.
 *
 * Members are only ever added at the end: a caller checks `version` (and
 * `size`) before using a member that a later version added.  C, no system
 * header, the same on every platform.
 */
#ifndef WIRELINK_PORT_EXTENSION_H
#define WIRELINK_PORT_EXTENSION_H

#include <stdint.h>

#if defined(_WIN32)
#define WIRELINK_PORT_EXTENSION_CALL __stdcall
#else
#define WIRELINK_PORT_EXTENSION_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define WIRELINK_PORT_EXTENSION_NAME "wirelink_port_extension"
#define WIRELINK_PORT_EXTENSION_VERSION 2

/* One step of a run: a single line operation, as sda_high ... scl_low do it
 * through the modem control register (DTR carries SDA, RTS carries SCL), or
 * no change at all (a look at the inputs). */
enum wirelink_line_step {
    WIRELINK_STEP_HOLD = 0,
    WIRELINK_STEP_SDA_LOW = 1,
    WIRELINK_STEP_SDA_HIGH = 2,
    WIRELINK_STEP_SCL_LOW = 3,
    WIRELINK_STEP_SCL_HIGH = 4
};

struct wirelink_port_extension {
    uint32_t version; /* WIRELINK_PORT_EXTENSION_VERSION of the driver */
    uint32_t size;    /* sizeof the structure as the driver was built */

    /* The longest run the serial port at port_base (0x3F8 or 0x2F8) takes
     * now; 0 when that port runs none (a plain UART, nothing open), and its
     * registers are then the only way to it. */
    uint32_t(WIRELINK_PORT_EXTENSION_CALL *run_limit)(uint32_t port_base);

    /* Applies steps[0..count) one after the other, each held for about
     * `delay` register accesses (the port delay), and stores in samples[i]
     * the inputs read once step i has been applied, as the modem status
     * register's upper nibble (CTS 0x10, DSR 0x20, RI 0x40, DCD 0x80).
     * Returns the number of samples stored: count when the whole run went
     * out, fewer when the device failed or went away partway (the steps
     * after the last sample may or may not have reached the wire), -1 when
     * the port runs no runs (nothing was done). */
    int32_t(WIRELINK_PORT_EXTENSION_CALL *run_steps)(uint32_t port_base, const uint8_t *steps,
                                                     uint8_t *samples, uint32_t count, uint32_t delay);

    /* Version 2.  Names the device that stands for the serial port at
     * port_base from its next open on, as WIRELINK_COM1 / ports.conf would
     * ("/dev/ttyUSB0", "ttyUSB0", "ftdi:SERIAL", "off"); null goes back to
     * the configured choice.  A device already open is closed (its settings
     * put back) so that the next access opens the new one.  Returns 0, or
     * -EINVAL for a name that names nothing (empty, blanks in it) or a
     * port_base that is no serial port. */
    int32_t(WIRELINK_PORT_EXTENSION_CALL *use_device)(uint32_t port_base, const char *device);
};

typedef const struct wirelink_port_extension *(WIRELINK_PORT_EXTENSION_CALL *wirelink_port_extension_fn)(
    void);

#ifdef __cplusplus
}
#endif

#endif /* WIRELINK_PORT_EXTENSION_H */
