// The undecorated function exports of libwirelink that rigcheck binds by
// name, with their C signatures.  One list feeds both the table type and the
// lazy binder, so the two cannot drift apart.
//
// X(name, signature): the signature is a plain function type; it comes last
// because its commas would otherwise split the macro arguments.
#ifndef RIGCHECK_WIRELINK_FUNCTIONS_H
#define RIGCHECK_WIRELINK_FUNCTIONS_H

#include <cstdint>

#define RIGCHECK_WIRELINK_FUNCTIONS(X)                      \
    /* why a call failed, and stopping a call */            \
    X(wirelink_last_error, int32_t())                       \
    X(wirelink_strerror, const char *(int32_t))             \
    X(wirelink_cancel, void())                              \
    X(wirelink_cancel_reset, void())                        \
    /* adapter claim, delay and single lines */             \
    X(init_iic, int32_t(int32_t))                           \
    X(deinit_iic, int32_t())                                \
    X(set_port_delay, int32_t(int32_t))                     \
    X(iic_start, int32_t())                                 \
    X(iic_stop, int32_t())                                  \
    X(iic_send_byte, int32_t(int32_t))                      \
    X(iic_read_byte, int32_t(int32_t))                      \
    X(read_sda, int32_t())                                  \
    X(read_scl, int32_t())                                  \
    X(iic_ok, int32_t())                                    \
    X(wait_port, int32_t())                                 \
    X(sda_high, int32_t())                                  \
    X(sda_low, int32_t())                                   \
    X(scl_high, int32_t())                                  \
    X(scl_low, int32_t())                                   \
    X(set_strobe, int32_t(int32_t))                         \
    X(byte_out, int32_t(int32_t))                           \
    X(byte_in, int32_t(int32_t))                            \
    X(get_status, int32_t(int32_t))                         \
    X(io_disable, int32_t())                                \
    X(io_enable, int32_t())                                 \
    X(inp32, int32_t(int32_t))                              \
    X(out32, int32_t(int32_t, int32_t))                     \
    /* PCF8574 port expander */                             \
    X(iic_tx_pcf8574, int32_t(int32_t, int32_t))            \
    X(iic_rx_pcf8574, int32_t(int32_t))                     \
    /* character display */                                 \
    X(lcd_init, int32_t())                                  \
    X(lcd_instr, int32_t(int32_t))                          \
    X(lcd_wchar, int32_t(int32_t))                          \
    X(lcd_rchar, int32_t(int32_t *, int32_t))               \
    X(lcd_write_str, int32_t(const char *))                 \
    X(lcd_read_str, int32_t(int32_t, int32_t, char *))      \
    X(lcd_backlight, int32_t(int32_t))                      \
    X(lcd_get_adress, int32_t())                            \
    /* PCF8591 converter */                                 \
    X(ad_pcf8591_init, int32_t(int32_t, int32_t))           \
    X(ad_pcf8591_readchan, int32_t(int32_t, int32_t))       \
    X(ad_pcf8591_setda, int32_t(int32_t, int32_t))          \
    X(ad_pcf8591_aout, int32_t(int32_t))                    \
    /* synthesizers */                                      \
    X(pll_tsa5511_init, int32_t(int32_t, int32_t, int32_t)) \
    X(pll_tsa5511_calc, int32_t(int32_t, int32_t))          \
    X(pll_tsa5511_send, int32_t(int32_t))                   \
    X(pll_tsa5511_read, int32_t(int32_t))                   \
    X(pll_tbb200_init, int32_t(int32_t, int32_t, int32_t))  \
    X(pll_tbb200_calc, int32_t(int32_t, int32_t))           \
    X(pll_tbb200_send_status, int32_t(int32_t))             \
    X(pll_tbb200_send_r_cnt, int32_t())                     \
    X(pll_tbb200_send_n_cnt, int32_t())                     \
    X(pll_sda3302_init, int32_t(int32_t))                   \
    X(pll_sda3302_calc, int32_t(int32_t, int32_t))          \
    X(pll_sda3302_send, int32_t(int32_t))                   \
    X(pll_tsa6057_init, int32_t(int32_t, int32_t))          \
    X(pll_tsa6057_calc, int32_t(int32_t, int32_t))          \
    X(pll_tsa6057_send, int32_t(int32_t))                   \
    X(pll_tsa5523_init, int32_t(int32_t))                   \
    X(pll_tsa5523_calc, int32_t(int32_t, int32_t))          \
    X(pll_tsa5523_send, int32_t(int32_t))                   \
    X(pll_tsa5523_read, int32_t(int32_t))

#endif  // RIGCHECK_WIRELINK_FUNCTIONS_H
