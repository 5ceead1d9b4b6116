#include "operations.h"

#include "hd44780.h"
#include "pcf8591.h"
#include "recording_slave.h"
#include "wirelink.h"

void fit_chips(wlsim::Bench &bench) {
    wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
    bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
    bench.add_pcf8574(1);
    bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
    ad_pcf8591_init(0, 2550);
    bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC0);
    pll_tsa5511_init(0x8E, 0, 0x00);
    pll_tsa5511_calc(100000000, 0);
}

std::vector<Operation> operations() {
    return {
        {"START", 0, [] { iic_start(); }},
        {"byte sent", 1, [] { iic_send_byte(0x72); }},
        {"byte read", 1, [] { iic_read_byte(1); }},
        {"STOP", 0, [] { iic_stop(); }},
        {"PCF8574 write", 2, [] { iic_tx_pcf8574(0x89, 1); }},
        {"PCF8574 read", 2, [] { iic_rx_pcf8574(1); }},
        {"PCF8591 read", 5, [] { ad_pcf8591_readchan(1, 0); }},
        {"PCF8591 read all", 8,
         [] {
             pcf8591_state state{};
             pcf8591_init(&state, 0, 2.55f);
             pcf8591_read4chan(&state, 0);
         }},
        {"PCF8591 set", 3, [] { ad_pcf8591_setda(1275, 0); }},
        {"lcd_wchar", 28, [] { lcd_wchar('A'); }},
        {"lcd_init", 194, [] { lcd_init(); }},
        {"TSA5511 send", 5, [] { pll_tsa5511_send(0); }},
    };
}

void timing_run() {
    for (const Operation &operation : operations())
        if (operation.bytes >= 2) operation.run();
    iic_tx_pcf8574(0x00, 7);
    iic_tx_pcf8574(0x89, 1);
}
