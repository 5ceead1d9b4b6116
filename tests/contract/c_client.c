/* A C program that binds wirelink and supplies the port driver's two
 * functions itself: the library's port accesses must all arrive here. */
#include <stdio.h>

#include "wirelink.h"

static unsigned long accesses;
static unsigned long strays;
static unsigned char mcr;

unsigned char DlPortReadPortUchar(unsigned long port) {
    ++accesses;
    if (port == 0x3FC) return mcr;
    if (port == 0x3FE) return (unsigned char)(((mcr & 1) ? 0x20 : 0) | ((mcr & 2) ? 0x10 : 0));
    if (port < 0x3F8 || port > 0x3FF) ++strays;
    return 0xFF;
}

void DlPortWritePortUchar(unsigned long port, unsigned char value) {
    ++accesses;
    if (port == 0x3FC)
        mcr = value;
    else
        ++strays;
}

int main(void) {
    set_port_delay(1);
    if (init_iic(1) != 0x3F8) {
        fprintf(stderr, "the adapter behind our own port functions was not found\n");
        return 1;
    }
    unsigned long before = accesses;
    iic_tx_pcf8574(0x55, 1); /* nobody answers: the loop-back reads SDA high */
    if (accesses == before || strays != 0) {
        fprintf(stderr, "accesses %lu, strays %lu\n", accesses - before, strays);
        return 1;
    }
    printf("%lu port accesses arrived\n", accesses);
    return 0;
}
