/*
 * wirelink: an I2C bus bit-banged through the modem-control lines of a PC
 * serial port, and drivers for the chips that hang on it.
 *
 * The adapter ties SDA to DTR and SCL to RTS and feeds both lines back to
 * DSR and CTS.  Every function takes and returns 32-bit values; calls must
 * come one at a time (the library keeps process-wide state and takes no
 * locks).  This header can be included from C and from C++.
 *
 * Port access goes through DlPortReadPortUchar / DlPortWritePortUchar of the
 * port driver library (libdlportio.so, dlportio.dll), which must be present
 * for wirelink to load.
 */
#ifndef WIRELINK_H
#define WIRELINK_H

#include <stdint.h>

#if defined(_WIN32)
#define WIRELINK_CALL __stdcall
#else
#define WIRELINK_CALL
#endif

#if defined(_WIN32) && !defined(WIRELINK_BUILDING)
#define WIRELINK_DATA __declspec(dllimport)
#else
#define WIRELINK_DATA
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Adapter claim, bus speed and single lines
 *
 * With no adapter claimed (before a successful init_iic) no port is touched:
 * line changes, waits, deinit_iic and iic_ok do nothing and return 0, and
 * read_sda / read_scl return 1, as an idle bus would.
 * ---------------------------------------------------------------------- */

/* Claims the adapter.  0 searches 0x2F8, then 0x3F8; 2 tries 0x2F8; 1 and
 * every other value try 0x3F8.  Returns the claimed base address or 0. */
int32_t WIRELINK_CALL init_iic(int32_t port_choice);
/* Writes back the modem control value saved by an explicit claim. */
int32_t WIRELINK_CALL deinit_iic(void);
/* Stores the delay; its low 8 bits are the number of data-register reads
 * after every line change.  Returns the value passed. */
int32_t WIRELINK_CALL set_port_delay(int32_t delay);
int32_t WIRELINK_CALL wait_port(void);
/* Adapter probe on the claimed port: 0 when nothing answers, else nonzero
 * (the raw modem status byte when DSR or DCD read high). */
int32_t WIRELINK_CALL iic_ok(void);
int32_t WIRELINK_CALL sda_high(void);
int32_t WIRELINK_CALL sda_low(void);
int32_t WIRELINK_CALL scl_high(void);
int32_t WIRELINK_CALL scl_low(void);
int32_t WIRELINK_CALL read_sda(void); /* 1 high, 0 low */
int32_t WIRELINK_CALL read_scl(void); /* 1 high, 0 low */

/* Inert: they touch no port and no state and return 0. */
int32_t WIRELINK_CALL set_strobe(int32_t ignored);
int32_t WIRELINK_CALL byte_out(int32_t ignored);
int32_t WIRELINK_CALL byte_in(int32_t ignored);
int32_t WIRELINK_CALL get_status(int32_t ignored);
int32_t WIRELINK_CALL inp32(int32_t ignored);
int32_t WIRELINK_CALL out32(int32_t ignored1, int32_t ignored2);
int32_t WIRELINK_CALL io_disable(void);
int32_t WIRELINK_CALL io_enable(void);
/* Windows export name: _read_int@0 */
int32_t WIRELINK_CALL read_int(void);

/* ------------------------------------------------------------------------
 * Bus transactions
 *
 * Every wait for SCL to read high (clock stretching, rise time) gives up
 * after 25,000 reads of the modem status register, about 25 ms at the 1 us
 * a UART register access takes.  Once a wait has given up, later waits read
 * SCL once until it is seen high again, so a stuck or unplugged bus makes
 * every call return promptly.  A byte whose clock timed out is reported as
 * not acknowledged.
 * ---------------------------------------------------------------------- */

int32_t WIRELINK_CALL iic_start(void); /* START, or repeated START */
int32_t WIRELINK_CALL iic_stop(void);
/* Sends the low 8 bits; 1 when acknowledged, 0 when not. */
int32_t WIRELINK_CALL iic_send_byte(int32_t value);
/* Reads a byte (0..255); a nonzero ack flag acknowledges it. */
int32_t WIRELINK_CALL iic_read_byte(int32_t ack);

/* ------------------------------------------------------------------------
 * PCF8574 port expander, device index 0..7 (write address 0x70 + 2 * index)
 * ---------------------------------------------------------------------- */

/* 1 when address and value were acknowledged.  A failed write leaves the
 * bus open (no STOP); the next transaction starts with a repeated START. */
int32_t WIRELINK_CALL iic_tx_pcf8574(int32_t value, int32_t index);
/* Windows export name: __iic_rx_pcf8574@8.  Stores the port value (0 when
 * nothing answered) and returns 1 when the address was acknowledged.  A null
 * pointer is refused: nothing goes on the bus and the result is 0. */
int32_t WIRELINK_CALL _iic_rx_pcf8574(int32_t *value, int32_t index);
/* The port value, or 0 when nothing answered. */
int32_t WIRELINK_CALL iic_rx_pcf8574(int32_t index);

/* --- PCF8591 converter --- */

/* --- Character display on a PCF8574 --- */

/* --- PLL synthesizers --- */

#ifdef __cplusplus
}
#endif

#endif /* WIRELINK_H */
