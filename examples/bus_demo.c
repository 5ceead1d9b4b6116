/* Claims the adapter, writes both expanders of the receiver board and reads
 * them back.  On the simulated bench (WLSIM_TRACE=1) every transaction is
 * printed as it goes over the wire. */
#include <stdio.h>

#include "wirelink.h"

int main(void) {
    set_port_delay(10);
    int32_t port = init_iic(0);
    if (port == 0) {
        printf("I2C adapter not found\n");
        return 1;
    }
    printf("adapter claimed at 0x%X\n", (unsigned)port);

    static const int32_t patterns[] = {0x89, 0x21, 0xFF, 0x00};
    for (unsigned i = 0; i < sizeof patterns / sizeof patterns[0]; ++i) {
        for (int32_t index = 1; index <= 2; ++index) {
            int32_t acked = iic_tx_pcf8574(patterns[i], index);
            int32_t value = -1;
            int32_t present = _iic_rx_pcf8574(&value, index);
            printf("expander %d: wrote 0x%02X (%s), read back 0x%02X (%s)\n", (int)index,
                   (unsigned)patterns[i], acked ? "acknowledged" : "no answer", (unsigned)value,
                   present ? "acknowledged" : "no answer");
        }
    }
    deinit_iic();
    return 0;
}
