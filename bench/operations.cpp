#include "operations.h"

#include "wirelink.h"

void fit_chips(wlsim::Bench &bench) { bench.add_pcf8574(1); }

std::vector<Operation> operations() {
    return {
        {"START", 0, [] { iic_start(); }},
        {"byte sent", 1, [] { iic_send_byte(0x72); }},
        {"byte read", 1, [] { iic_read_byte(1); }},
        {"STOP", 0, [] { iic_stop(); }},
        {"PCF8574 write", 2, [] { iic_tx_pcf8574(0x89, 1); }},
        {"PCF8574 read", 2, [] { iic_rx_pcf8574(1); }},
    };
}
