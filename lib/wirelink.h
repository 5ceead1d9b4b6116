/*
 * wirelink: an I2C bus bit-banged through the modem-control lines of a PC
 * serial port, and drivers for the chips that hang on it.
 *
 * The adapter ties SDA to DTR and SCL to RTS and feeds both lines back to
 * DSR and CTS.  Every function takes and returns 32-bit values.  This header
 * can be included from C and from C++.
 *
 * Threads: every chip-level call (expander, converter, display and
 * synthesizer entries and workers), wirelink_transfer and init_iic,
 * deinit_iic, iic_ok and set_port_delay hold one process-wide lock for their
 * whole duration, so calls from different threads run one after the other
 * (a second caller waits).  The line operations and bus primitives
 * (sda_high ... read_scl, wait_port, iic_start, iic_stop, iic_send_byte,
 * iic_read_byte) take no lock: a program that calls them from more than one
 * thread, or alongside chip calls, must serialise them itself.  The exported
 * cells lcd_ADRESS, lcd_BACKLIGHT and lcd_STRING are plain memory the display
 * calls use.
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
 * Why a call failed, and stopping a call
 *
 * Every call (but the two below that read it) sets the calling thread's last
 * error, as errno is set: 0 when the call went through, else one of these
 * codes (Linux's values for the same I2C faults, on every platform).  The
 * results the calls return are unchanged; the code tells what they cannot.
 * When a call meets several faults it keeps the one that explains the rest,
 * in this order: ENODEV, ECANCELED, ETIMEDOUT, EBUSY, then the first
 * acknowledge fault.
 * ---------------------------------------------------------------------- */

#define WIRELINK_ENXIO 6       /* the address was not acknowledged */
#define WIRELINK_EBUSY 16      /* the display stayed busy */
#define WIRELINK_ENODEV 19     /* no port claimed, or the port went away */
#define WIRELINK_EINVAL 22     /* an argument was refused */
#define WIRELINK_EPROTO 71     /* a block count outside 1..32 (wirelink_transfer) */
#define WIRELINK_EOPNOTSUPP 95 /* the port driver cannot name devices (wirelink_use_device) */
#define WIRELINK_ETIMEDOUT 110 /* SCL stayed low: a wait or a stretch budget ran out */
#define WIRELINK_EREMOTEIO 121 /* a byte after the address was not acknowledged */
#define WIRELINK_ECANCELED 125 /* the call was cancelled */

/* The outcome of the calling thread's last call: 0 or a code above. */
int32_t WIRELINK_CALL wirelink_last_error(void);
/* A short English text for a code; never null. */
const char *WIRELINK_CALL wirelink_strerror(int32_t code);

/* Safe from a signal handler and from any thread.  The call in progress ends
 * at its next byte boundary: an open transaction is finished with a STOP, so
 * the bus is left idle, and the call fails with ECANCELED.  Every later call
 * that would touch the bus fails the same way without touching it, until
 * wirelink_cancel_reset, init_iic or deinit_iic. */
void WIRELINK_CALL wirelink_cancel(void);
void WIRELINK_CALL wirelink_cancel_reset(void);

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
/* Names the device that stands for COM1 (port 1) or COM2 (port 2) from the
 * next init_iic on, as WIRELINK_COM1 / ports.conf would: "/dev/ttyUSB0",
 * "ttyUSB0", "ftdi:SERIAL", "off"; null goes back to the configured choice.
 * Call it with the adapter released.  Returns 0, -WIRELINK_EINVAL for
 * another port or a name that names nothing (empty, blanks in it), or
 * -WIRELINK_EOPNOTSUPP when the port driver cannot name devices. */
int32_t WIRELINK_CALL wirelink_use_device(int32_t port, const char *device);
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
 * after 25 ms or 25,000 reads of the modem status register, whichever comes
 * first, reading once more after the 25 ms (25,000 reads take about 25 ms at
 * the 1 us a UART register access takes; over a USB serial adapter the time
 * decides).  Once a wait has given up, later waits read SCL once until it is
 * seen high again, so a stuck or unplugged bus makes every call return
 * promptly.
 *
 * The clock stretching of one transaction, START to STOP, is bounded the
 * same way (25 ms or 25,000 reads in all, SMBus's cumulative clock-low
 * extension); once that is spent every further wait of the transaction reads
 * SCL once.  A chip call that runs many transactions (the display calls) may
 * spend 1 s or 1,000,000 reads in all.
 *
 * A byte whose clock timed out is reported as not acknowledged.  A chip call
 * in whose transactions any wait gave up fails as if the chip had not
 * answered (see each call); nothing that was not clocked in is stored.  The
 * next chip call first clocks free a slave left in the middle of a byte (up
 * to nine clocks, then START and STOP: the I2C bus clear).
 * ---------------------------------------------------------------------- */

int32_t WIRELINK_CALL iic_start(void); /* START, or repeated START */
int32_t WIRELINK_CALL iic_stop(void);
/* Sends the low 8 bits; 1 when acknowledged, 0 when not. */
int32_t WIRELINK_CALL iic_send_byte(int32_t value);
/* Reads a byte (0..255); a nonzero ack flag acknowledges it. */
int32_t WIRELINK_CALL iic_read_byte(int32_t ack);

/* ------------------------------------------------------------------------
 * Combined transfers
 *
 * wirelink_transfer runs count messages (1..42) as one transaction: each
 * message is a START (a repeated one after the first), the address byte with
 * its R/W bit and the message's bytes; one STOP ends the transaction, also
 * when it fails.  It holds the lock of the chip calls and has their time
 * budgets.  A write of length 0 sends only the address byte (a probe).  A
 * read acknowledges every byte but the last of its message.
 *
 * Lengths are 0..8192 for a write and 1..8192 for a read; data may be null
 * only for a length of 0.  With WIRELINK_MSG_RECV_LEN (reads only, as
 * Linux's I2C_M_RECV_LEN) the first byte read is a count 1..32 that extends
 * the read by that many bytes: the read takes length + count bytes, so data
 * must hold length + 32; data[0] is the count.
 *
 * Returns 0, or a negative errno value, the first failure ending the
 * transaction: -ENXIO an address not acknowledged, -EREMOTEIO a data byte
 * not acknowledged, -ETIMEDOUT a wait for SCL gave up, -ENODEV no port
 * claimed or the port went away, -ECANCELED cancelled, -EPROTO a block count
 * outside 1..32 (it is not acknowledged), -EINVAL a malformed message list
 * (nothing goes on the bus): the WIRELINK_E codes above, negated, which are
 * Linux's values on every platform.  The same code is the last error.  Read
 * data is complete only when the result is 0.
 * ---------------------------------------------------------------------- */

#define WIRELINK_MSG_READ 0x0001     /* a read; without it a write */
#define WIRELINK_MSG_RECV_LEN 0x0400 /* the first byte read is a block count */

typedef struct wirelink_msg {
    uint16_t address; /* 7-bit */
    uint16_t flags;   /* WIRELINK_MSG_READ, WIRELINK_MSG_RECV_LEN */
    int32_t length;
    uint8_t *data;
} wirelink_msg;

int32_t WIRELINK_CALL wirelink_transfer(const wirelink_msg *messages, int32_t count);

/* ------------------------------------------------------------------------
 * PCF8574 port expander, device index 0..7 (write address 0x70 + 2 * index)
 * ---------------------------------------------------------------------- */

/* 1 when address and value were acknowledged and every clock came through.
 * A write that was not acknowledged leaves the bus open (no STOP); the next
 * transaction starts with a repeated START. */
int32_t WIRELINK_CALL iic_tx_pcf8574(int32_t value, int32_t index);
/* Windows export name: __iic_rx_pcf8574@8.  Stores the port value and
 * returns 1 when the address was acknowledged and every clock came through;
 * otherwise stores 0 and returns 0.  A null pointer is refused: nothing goes
 * on the bus and the result is 0. */
int32_t WIRELINK_CALL _iic_rx_pcf8574(int32_t *value, int32_t index);
/* The port value, or 0 when nothing answered or a clock failed. */
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
 * answer, or in which a wait for SCL gave up, leaves the stored readings as
 * they were and reports 0.
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
 * acknowledged and every clock came through, else 0. */
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
 * acknowledged and every clock came through, else 0. */
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
 * busy readings the call gives up (see each function); time spent polling a
 * busy display counts against the call's 1 s budget, after which its
 * remaining busy waits give up at once.  Without an expander every read
 * gives 0, so the display looks ready at address 0 and writes return 0.
 * After a display transfer that failed, the next display call first wakes
 * the controller's 4-bit interface again (without clearing it).  When a wait for SCL gives up (a stuck or
 * stretched clock, see "Bus transactions") the call fails at once: writes and lcd_init return 0, lcd_rchar
 * returns 0 and keeps *character, lcd_read_str returns 0 and touches neither buffer, lcd_get_adress returns
 * -1.  Display addresses are 0x00..0x7F; only the low 7 bits of an address are used, so a set-address
 * instruction stays one whatever the argument.  Call lcd_init first, after init_iic.
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
 * result of its set-address instruction.  When that instruction failed, or
 * the display stays busy, *character keeps its value.  A null pointer is refused: nothing is sent
 * and the result is 0. */
int32_t WIRELINK_CALL lcd_rchar(int32_t *character, int32_t address);
/* Writes the leading characters of a NUL-terminated string at the address
 * counter: all of a string of up to 16, the first 16 of a longer one.
 * Returns 1; a null pointer sends nothing and returns 0. */
int32_t WIRELINK_CALL lcd_write_str(const char *text);
/* Reads count characters from the display, starting at an address, into
 * lcd_STRING and copies them up to and including the first NUL into
 * destination, which must hold count + 1 bytes.  A count above 31 reads 31
 * (lcd_STRING's size), so at most 32 bytes are written to either buffer,
 * whatever other threads do; a count of 0 or less gives an empty string and
 * sends nothing.  A character the display stayed busy for, or whose
 * set-address instruction failed, reads as a blank (0x20).  Returns 1; 0 when a wait for SCL gave up, and
 * then neither buffer is touched.  A null destination is refused: nothing is sent, lcd_STRING is left alone
 * and the result is 0. */
int32_t WIRELINK_CALL lcd_read_str(int32_t count, int32_t address, char *destination);
/* Stores the flag in lcd_BACKLIGHT and writes 0x08 (nonzero) or 0x00 to the
 * expander.  Returns that write's acknowledge (1 or 0). */
int32_t WIRELINK_CALL lcd_backlight(int32_t on);
/* The controller's address counter (0x00..0x7F), or -1 when it stayed busy
 * or a wait for SCL gave up. */
int32_t WIRELINK_CALL lcd_get_adress(void);

/* --- PLL synthesizers --- */

/* ------------------------------------------------------------------------
 * Five frequency synthesizers.  Each driver keeps the chip's data bytes in a
 * state record, computes them from a frequency (calc; no bus traffic) and
 * writes them in one transaction per register (send).
 *
 * Two layers: the workers (tsa5511_init, ...; Windows names _tsa5511_init@16,
 * ...) take a caller-owned record first, so a caller can keep one record per
 * chip; the pll_ entries use the library's one record per chip type (zero at
 * load) and forward their arguments unchanged.
 *
 * Frequencies are hertz (the TBB200 uses only ratios, in any one unit).
 * Divisions truncate toward zero.  Address offsets are added unchanged to the
 * chip's base byte; only the low 8 bits of a value reach the bus.
 *
 * Unsafe input, the same for every chip:
 * - A null record makes a worker return 0 without touching the bus.
 * - A zero step (TSA5511 fref between -63 and 63, or a record that no init
 *   has set; TBB200 fstep 0, or prescaler 0 with a nonzero mode) refuses
 *   calc: the record is left unchanged and the result is 0, which no chip
 *   accepts as a divider.
 * - No argument overflows the arithmetic.  The 37.3 MHz offsets are added in
 *   64 bits, so even the largest frequencies give their true divider; sums
 *   of bytes and offsets wrap around 32 bits (their low bits, the ones on the
 *   bus, stay right); the one quotient that does not fit, -2147483648 / -1,
 *   wraps to -2147483648 with remainder 0.
 * Sends clock out every byte and the STOP whatever the chip answers.  A send
 * or read in which a wait for SCL gave up returns 0.
 * ---------------------------------------------------------------------- */

/* TSA5511: write 0xC0 + offset, div_high, div_low, control, port; status
 * read at 0xC1 + offset.  step = fref / 64 (62,500 Hz for 4 MHz). */
typedef struct tsa5511_state {
    int32_t div_high; /* divider bits 8..14 */
    int32_t div_low;  /* divider with bits 8..14 cleared */
    int32_t control;
    int32_t port;
    int32_t fref; /* reference in Hz, 4,000,000 unless init says */
    int32_t step; /* fref / 64; calc derives it from fref again */
} tsa5511_state;

/* TSA5523: as the TSA5511 with a band byte for the port byte, a fixed
 * 50 kHz step and the divider taken for freq + 37.3 MHz. */
typedef struct tsa5523_state {
    int32_t div_high;
    int32_t div_low;
    int32_t control;
    int32_t band; /* 2 after init; 0xA0, 0x90 or 0x30 after calc */
} tsa5523_state;

/* TBB200: status, R counter and main counter written one register per
 * transaction, at 0xC4 + mode with register-select byte mode + 8, 4, 12.
 * The mode is added as given: mode 1 writes at the odd byte 0xC5. */
typedef struct tbb200_state {
    int32_t mode;    /* 0 single-modulus main counter, else N + swallow A */
    int32_t status;  /* 0xF8 after init, then the last status sent */
    int32_t r_high;  /* R >> 8 */
    int32_t r_low;   /* R & 0xFF */
    int32_t n_byte1; /* A >> 4 (swallow mode only) */
    int32_t n_byte2; /* T >> 8; swallow mode: (A & 0x0F) * 16 + (N >> 8) */
    int32_t n_byte3; /* T & 0xFF; swallow mode: N & 0xFF */
    int32_t fref;
    int32_t prescaler; /* P: T = N * P + A */
} tbb200_state;

/* TSA6057: write 0xC4 + offset, subaddress, db0, db1, db2, db3. */
typedef struct tsa6057_state {
    int32_t subaddress; /* 0 */
    int32_t step;       /* 1,000, 10,000 or 25,000 Hz */
    int32_t db0;        /* divider bits 0..6 in bits 7..1, bit 0 set */
    int32_t db1;        /* divider bits 7..14 */
    int32_t db2;        /* reference select + control bits 5..2 + divider bits 15..16 */
    int32_t db3;        /* 0 */
} tsa6057_state;

/* SDA3302: the TSA5523's record and transaction; the divider counts 62.5 kHz
 * steps of freq + 37.3 MHz. */
typedef struct sda3302_state {
    int32_t div_high;
    int32_t div_low;
    int32_t control;
    int32_t band; /* 2 after init; 1, 2 or 4 after calc */
} sda3302_state;

/* Workers.  init returns its control argument (TBB200: 0xF8); calc returns
 * the divider (TBB200: the total ratio freq / fstep), 0 when refused; send
 * returns the acknowledge flag of the last byte; read returns the status
 * byte, 0 when the address was not acknowledged. */

/* fref 0 keeps 4,000,000 Hz. */
int32_t WIRELINK_CALL tsa5511_init(tsa5511_state *state, int32_t control, int32_t fref, int32_t port);
/* step_mode 1 makes an odd divider even (n - 1). */
int32_t WIRELINK_CALL tsa5511_calc(tsa5511_state *state, int32_t freq, int32_t step_mode);
int32_t WIRELINK_CALL tsa5511_send(tsa5511_state *state, int32_t address_offset);
int32_t WIRELINK_CALL tsa5511_read(int32_t address_offset);

int32_t WIRELINK_CALL tsa5523_init(tsa5523_state *state, int32_t control);
/* Band from freq: up to 169 MHz 0xA0, up to 454 MHz 0x90, above 0x30. */
int32_t WIRELINK_CALL tsa5523_calc(tsa5523_state *state, int32_t freq, int32_t step_mode);
int32_t WIRELINK_CALL tsa5523_send(tsa5523_state *state, int32_t address_offset);
int32_t WIRELINK_CALL tsa5523_read(int32_t address_offset);

int32_t WIRELINK_CALL tbb200_init(tbb200_state *state, int32_t mode, int32_t fref, int32_t prescaler);
/* R = fref / fstep, T = freq / fstep; swallow mode splits T into N = T / P and
 * A = T - N * P.  Returns T. */
int32_t WIRELINK_CALL tbb200_calc(tbb200_state *state, int32_t fstep, int32_t freq);
/* Stores status in the record, acknowledged or not. */
int32_t WIRELINK_CALL tbb200_send_status(tbb200_state *state, int32_t status);
int32_t WIRELINK_CALL tbb200_send_r_cnt(tbb200_state *state);
int32_t WIRELINK_CALL tbb200_send_n_cnt(tbb200_state *state);

/* ref_select 0: 1 kHz step, 64: 10 kHz, 128 and any other value: 25 kHz.
 * It is added to db2 as given, so a value other than 0, 64 or 128 also lands
 * in the control bits.  The control bits of init survive every calc. */
int32_t WIRELINK_CALL tsa6057_init(tsa6057_state *state, int32_t control_bits, int32_t ref_select);
int32_t WIRELINK_CALL tsa6057_calc(tsa6057_state *state, int32_t freq, int32_t ref_select);
int32_t WIRELINK_CALL tsa6057_send(tsa6057_state *state, int32_t address_offset);

int32_t WIRELINK_CALL sda3302_init(sda3302_state *state, int32_t control);
/* step_mode 1 makes the divider even, 2 a multiple of 4.  Band from freq: up
 * to 122 MHz 1, up to 471 MHz 2, above 4. */
int32_t WIRELINK_CALL sda3302_calc(sda3302_state *state, int32_t freq, int32_t step_mode);
int32_t WIRELINK_CALL sda3302_send(sda3302_state *state, int32_t address_offset);

/* Public entries on the library's records. */
int32_t WIRELINK_CALL pll_tsa5511_init(int32_t control, int32_t fref, int32_t port);
int32_t WIRELINK_CALL pll_tsa5511_calc(int32_t freq, int32_t step_mode);
int32_t WIRELINK_CALL pll_tsa5511_send(int32_t address_offset);
int32_t WIRELINK_CALL pll_tsa5511_read(int32_t address_offset);

int32_t WIRELINK_CALL pll_tsa5523_init(int32_t control);
int32_t WIRELINK_CALL pll_tsa5523_calc(int32_t freq, int32_t step_mode);
int32_t WIRELINK_CALL pll_tsa5523_send(int32_t address_offset);
int32_t WIRELINK_CALL pll_tsa5523_read(int32_t address_offset);

int32_t WIRELINK_CALL pll_tbb200_init(int32_t mode, int32_t fref, int32_t prescaler);
int32_t WIRELINK_CALL pll_tbb200_calc(int32_t fstep, int32_t freq);
int32_t WIRELINK_CALL pll_tbb200_send_status(int32_t status);
int32_t WIRELINK_CALL pll_tbb200_send_r_cnt(void);
int32_t WIRELINK_CALL pll_tbb200_send_n_cnt(void);

int32_t WIRELINK_CALL pll_tsa6057_init(int32_t control_bits, int32_t ref_select);
int32_t WIRELINK_CALL pll_tsa6057_calc(int32_t freq, int32_t ref_select);
int32_t WIRELINK_CALL pll_tsa6057_send(int32_t address_offset);

int32_t WIRELINK_CALL pll_sda3302_init(int32_t control);
int32_t WIRELINK_CALL pll_sda3302_calc(int32_t freq, int32_t step_mode);
int32_t WIRELINK_CALL pll_sda3302_send(int32_t address_offset);

#ifdef __cplusplus
}
#endif

#endif /* WIRELINK_H */
