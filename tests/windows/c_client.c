/* A C program that links wirelink at build time through its import library
 * instead of loading it by name: the stdcall names its compiler asks for
 * (init_iic@4, _iic_rx_pcf8574@8, pcf8591_aout@8) and the data cells
 * (lcd_BACKLIGHT) must lead to the DLL's exports.  Runs on the default bench board of the stand-in
 * dlportio.dll. */
#include <stdio.h>

#include "wirelink.h"

static int passed;
static int failed;

static void expect(int ok, const char *what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        printf("FAILED  %s\n", what);
    }
}

int main(void) {
    expect(set_port_delay(10) == 10, "set_port_delay returns its argument");
    expect(init_iic(0) == 0x3F8, "search claims the adapter on 0x3F8");
    expect(iic_tx_pcf8574(0x21, 1) == 1, "expander 1 acknowledges a write");
    int32_t value = -1;
    expect(_iic_rx_pcf8574(&value, 1) == 1 && value == 0x21, "the worker reads the expander back");
    expect(read_int() == 0, "read_int is inert");

    pcf8591_state record = {0};
    expect(pcf8591_init(&record, 0, 2.55f) == 0, "converter worker init");
    expect(pcf8591_setda(&record, 2.0f, 0) == 1 && record.dac == 200, "converter worker set");
    expect(pcf8591_readchan(&record, 0, 0) == 1 && record.reading[0] == 200,
           "output looped back into input 0");
    float volts = pcf8591_aout(&record, 0);
    expect(volts > 1.992f && volts < 1.993f, "volts come back as a float");
    expect(lcd_init() == 1, "the display wakes up");
    expect(lcd_BACKLIGHT == 1, "the imported backlight cell reads what the library set");
    lcd_BACKLIGHT = 0;
    expect(lcd_backlight(1) == 1 && lcd_BACKLIGHT == 1, "the cell is the library's own");
    expect(deinit_iic() == 0, "deinit_iic");

    printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
