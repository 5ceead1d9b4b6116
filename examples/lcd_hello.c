/*
 * Writes a greeting to the character display on the expander at index 0 and
 * reads it back.  On the simulated bench:
 *   LD_LIBRARY_PATH=build/release/sim-dropin build/release/examples/lcd_hello
 */
#include <stdio.h>

#include "wirelink.h"

int main(void) {
    static const char greeting[] = "Hello, bench";
    char read_back[sizeof greeting];

    int32_t port = init_iic(0);
    if (port == 0) {
        fputs("lcd_hello: no adapter found on 0x2F8 or 0x3F8\n", stderr);
        return 1;
    }
    printf("adapter on 0x%X\n", (unsigned)port);

    lcd_init();
    lcd_write_str(greeting);
    lcd_read_str((int32_t)(sizeof greeting - 1), 0x00, read_back);
    printf("address counter: %d\n", (int)lcd_get_adress());
    printf("read back: \"%s\"\n", read_back);

    deinit_iic();
    return 0;
}
