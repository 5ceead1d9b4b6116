// A stand-in libwirelink.so for the binding tests.  It answers as if an
// adapter sat on 0x3F8 but lacks ad_pcf8591_init, the first function that
// rigcheck's start-up calls after the expander writes.
#include <cstdint>

extern "C" {

int32_t set_port_delay(int32_t delay) { return delay; }
int32_t init_iic(int32_t) { return 0x3F8; }
int32_t deinit_iic() { return 0; }
int32_t iic_tx_pcf8574(int32_t, int32_t) { return 1; }
int32_t ad_pcf8591_readchan(int32_t channel, int32_t) { return 10 + channel; }

}  // extern "C"
