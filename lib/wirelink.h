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

/* A PCF8591 (four 8-bit analog inputs, one 8-bit analog output) at chip
 * address 0..7: write address 0x90 + 2 * address, read address one higher.
 * An address outside 0..7 only changes the address byte on the bus.
 *
 * Two layers.  The workers take a caller-owned state record, one per
 * converter, and work in volts (single-precision floats); the ad_pcf8591_
 * entries use the library's own record (zero at load) and work in integer
 * millivolts (m millivolts become m * 0.001 volts, computed in double
 * precision and rounded to single precision).  Init and aout never touch
 * the bus.  Readings are raw codes 0..255; a read that the chip does not
 * answer leaves the stored readings as they were.
 *
 * Channels are 0..3.  A read or aout of any other channel is refused: no bus
 * traffic, no record change, result 0 (for ad_pcf8591_readchan and both
 * aouts too).  A null record pointer is refused the same way. */

/* The record's layout is part of the workers' interface: seven 32-bit
 * fields in this order (28 bytes, no padding). */
typedef struct pcf8591_state {
    int32_t mode;       /* input programming bits, OR'ed into every read's control byte */
    float vref;         /* reference in volts */
    int32_t dac;        /* last D/A code computed by a set, kept whole (not cut to 8 bits) */
    int32_t reading[4]; /* last conversion result of channels 0..3 */
} pcf8591_state;

/* Workers.  Windows export names: _pcf8591_init@12, _pcf8591_readchan@12,
 * _pcf8591_read4chan@8, _pcf8591_setda@12, _pcf8591_aout@8. */

/* Clears the record, then stores mode and reference.  Returns 0. */
int32_t WIRELINK_CALL pcf8591_init(pcf8591_state *state, int32_t mode, float vref);
/* Control byte mode | channel | 0x44 (output on, auto-increment), then a read
 * of two bytes: the first is the previous conversion and is discarded, the
 * second is stored in reading[channel].  1 when every byte sent was
 * acknowledged, else 0. */
int32_t WIRELINK_CALL pcf8591_readchan(pcf8591_state *state, int32_t channel, int32_t address);
/* Control byte mode | 0x44, then five bytes read: the stale first one is
 * discarded, the others fill reading[0..3].  1 when acknowledged, else 0. */
int32_t WIRELINK_CALL pcf8591_read4chan(pcf8591_state *state, int32_t address);
/* Sets the analog output: code = volts * 256 / vref in single precision,
 * truncated toward zero and stored whole in dac before the bus is touched;
 * control byte 0x40 (whatever mode holds) and the code's low 8 bits go on the
 * wire.  Codes are not clamped: vref itself gives 256, sent as 0x00, and -1
 * is sent as 0xFF.  A quotient beyond the 32-bit range saturates to
 * INT32_MAX (sent as 0xFF) or INT32_MIN (sent as 0x00).  While vref is 0 (no
 * init yet) or the quotient is not a number, the call is refused: dac and the
 * bus are left alone and the result is 0.  Otherwise 1 when every byte was
 * acknowledged, else 0. */
int32_t WIRELINK_CALL pcf8591_setda(pcf8591_state *state, float volts, int32_t address);
/* The stored reading of a channel in volts: vref * 0.00390625 * reading. */
float WIRELINK_CALL pcf8591_aout(pcf8591_state *state, int32_t channel);

/* Public entries, on the library's record. */

/* pcf8591_init with the reference in millivolts.  Returns 0. */
int32_t WIRELINK_CALL ad_pcf8591_init(int32_t mode, int32_t vref_millivolts);
/* Reads the channel and returns its stored reading, whatever happened on the
 * bus: the previous reading (0 after init) when the chip did not answer. */
int32_t WIRELINK_CALL ad_pcf8591_readchan(int32_t channel, int32_t address);
/* pcf8591_setda with the output in millivolts; the same wrap-around and
 * refusals.  1 when every byte was acknowledged, else 0. */
int32_t WIRELINK_CALL ad_pcf8591_setda(int32_t millivolts, int32_t address);
/* The stored reading in millivolts, truncated toward zero (reading 128 of a
 * 2550 mV reference is 1274: the reference is held as 2.5499999523 V). */
int32_t WIRELINK_CALL ad_pcf8591_aout(int32_t channel);

/* --- Character display on a PCF8574 --- */

/*
 * An HD44780-type display run in 4-bit mode on the pins of the PCF8574 at
 * index 0: P0 E, P1 R/W, P2 RS, P3 backlight, P4..P7 D4..D7.  Every access
 * is a series of whole expander transactions.  Before each instruction or
 * character the driver polls the busy flag up to ten times, printing
 * "TimeOut busy\n" on standard output at every busy reading; after ten
 * busy readings the call gives up (see each function).  Without an
 * expander every read gives 0, so the display looks ready at address 0 and
 * writes return 0.  Display addresses are 0x00..0x7F; only the low 7 bits of
 * an address are used, so a set-address instruction stays one whatever the
 * argument.  Call lcd_init first, after init_iic.
 */

/* Backlight: lcd_init sets 1, lcd_backlight stores its argument unchanged.
 * Writes to the display light it only when the cell equals 1, reads of the
 * display whenever it is not 0. */
extern WIRELINK_DATA int32_t lcd_BACKLIGHT;
/* Address cell for callers: lcd_init sets 0; nothing else uses it. */
extern WIRELINK_DATA int32_t lcd_ADRESS;
/* The last string read by lcd_read_str, ended by a NUL (31 characters at
 * most). */
extern WIRELINK_DATA char lcd_STRING[32];

/* Wakes the controller into 4-bit mode (sleeps 15 ms + 5 ms), then two lines,
 * cleared, home, incrementing, display and cursor on.  Sets lcd_ADRESS 0 and
 * lcd_BACKLIGHT 1.  Returns the result of the last instruction. */
int32_t WIRELINK_CALL lcd_init(void);
/* Writes an instruction (low 8 bits).  1 when acknowledged; 0 when not, or
 * when the display stayed busy (then nothing is sent). */
int32_t WIRELINK_CALL lcd_instr(int32_t instruction);
/* Writes a character code (low 8 bits) at the address counter; as lcd_instr. */
int32_t WIRELINK_CALL lcd_wchar(int32_t character);
/* Reads the character at an address into *character (0..255) and returns the
 * result of its set-address instruction.  When the display stays busy
 * *character keeps its value.  A null pointer is refused: nothing is sent
 * and the result is 0. */
int32_t WIRELINK_CALL lcd_rchar(int32_t *character, int32_t address);
/* Writes the leading characters of a NUL-terminated string at the address
 * counter: all of a string of up to 16, the first 16 of a longer one.
 * Returns 1; a null pointer sends nothing and returns 0. */
int32_t WIRELINK_CALL lcd_write_str(const char *text);
/* Reads count characters from the display, starting at an address, into
 * lcd_STRING and copies them up to and including the first NUL into
 * destination, which must hold count + 1 bytes.  A count above 31 reads 31
 * (lcd_STRING's size), so at most 32 bytes are written; a count of 0 or less
 * gives an empty string and sends nothing.  A character the display stayed
 * busy for reads as a blank (0x20).  Returns 1; a null destination is
 * refused: nothing is sent, lcd_STRING is left alone and the result is 0. */
int32_t WIRELINK_CALL lcd_read_str(int32_t count, int32_t address, char *destination);
/* Stores the flag in lcd_BACKLIGHT and writes 0x08 (nonzero) or 0x00 to the
 * expander.  Returns that write's acknowledge (1 or 0). */
int32_t WIRELINK_CALL lcd_backlight(int32_t on);
/* The controller's address counter (0x00..0x7F), or -1 when it stayed busy. */
int32_t WIRELINK_CALL lcd_get_adress(void);

/* --- PLL synthesizers --- */

#ifdef __cplusplus
}
#endif

#endif /* WIRELINK_H */
