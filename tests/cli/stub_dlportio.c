/*
 * A port driver for the tool's tests of what the simulated bench does not
 * offer: no adapter on either port, a slave that holds SDA low, and a stop
 * signal in the middle of a run.  Set by environment variables:
 *
 *   WLTEST_ADAPTER=none      no UART at all: every read gives 0xFF
 *   WLTEST_SDA_HELD=N        SDA held low until SCL has fallen N times
 *   WLTEST_INTERRUPT_AT=N    raise SIGINT at the Nth modem control write
 *   WLTEST_KILL_AT=N         send SIGINT to the process at the Nth write, as
 *                            Ctrl-C in a terminal does
 *   WLTEST_STATUS_US=N       each modem status read takes N microseconds, as
 *                            an ioctl to a USB-serial cable does
 *   WLTEST_SCL_HELD=1        SCL held low by a slave
 *   WLTEST_LOST_AT=N         the cable is pulled at the Nth write: every
 *                            register reads 0xFF from then on
 *   WLTEST_LOG=FILE          append every modem control write, as "%02X"
 *
 * Otherwise the adapter sits on 0x3F8 with DCD high and an empty bus; its
 * modem control register reads 0x08 (OUT2) until the first write.
 */
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#define COM1 0x3F8ul

static unsigned char mcr = 0x08;
static long held_for = -1; /* SCL falls left until SDA is let go */
static long writes;

static long setting(const char *name, long otherwise) {
    const char *text = getenv(name);
    return text != NULL && *text != '\0' ? strtol(text, NULL, 10) : otherwise;
}

static int adapter_present(void) {
    const char *adapter = getenv("WLTEST_ADAPTER");
    const long lost_at = setting("WLTEST_LOST_AT", 0);
    if (lost_at != 0 && writes >= lost_at) return 0;
    return adapter == NULL || strcmp(adapter, "none") != 0;
}

static void take_status_time(void) {
    const long microseconds = setting("WLTEST_STATUS_US", 0);
    const struct timespec pause = {0, microseconds * 1000};
    if (microseconds > 0) nanosleep(&pause, NULL);
}

static int sda_held(void) {
    if (held_for < 0) held_for = setting("WLTEST_SDA_HELD", 0);
    return held_for > 0;
}

static void log_write(unsigned char value) {
    const char *path = getenv("WLTEST_LOG");
    FILE *log = path != NULL ? fopen(path, "a") : NULL;
    if (log == NULL) return;
    fprintf(log, "%02X\n", value);
    fclose(log);
}

unsigned char DlPortReadPortUchar(unsigned long port) {
    if (!adapter_present() || port < COM1 || port > COM1 + 7) return 0xFF;
    if (port == COM1 + 4) return mcr;
    if (port != COM1 + 6) return 0x00;
    take_status_time();
    unsigned char status = 0x80;                                        /* DCD */
    if ((mcr & 0x02) && !setting("WLTEST_SCL_HELD", 0)) status |= 0x10; /* SCL follows RTS */
    if ((mcr & 0x01) && !sda_held()) status |= 0x20;                    /* SDA follows DTR unless held */
    return status;
}

void DlPortWritePortUchar(unsigned long port, unsigned char value) {
    if (!adapter_present() || port != COM1 + 4) return;
    if ((mcr & 0x02) && !(value & 0x02) && sda_held()) --held_for;
    mcr = value;
    log_write(value);
    if (++writes == setting("WLTEST_INTERRUPT_AT", 0)) raise(SIGINT);
    if (writes == setting("WLTEST_KILL_AT", 0)) kill(getpid(), SIGINT);
}
