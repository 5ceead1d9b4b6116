// libwirelink.so bound at run time, by its path relative to this program, so
// that --sim can load the simulated bench's port driver underneath it first.
#ifndef WIRELINK_CLI_WIRELINK_LIBRARY_H
#define WIRELINK_CLI_WIRELINK_LIBRARY_H

#include "wirelink.h"

namespace cli {

// The exports the tool calls, typed from the public header.
struct Wirelink {
    decltype(&::wirelink_last_error) wirelink_last_error;
    decltype(&::wirelink_strerror) wirelink_strerror;
    decltype(&::wirelink_cancel) wirelink_cancel;
    decltype(&::wirelink_cancel_reset) wirelink_cancel_reset;
    decltype(&::init_iic) init_iic;
    decltype(&::deinit_iic) deinit_iic;
    decltype(&::set_port_delay) set_port_delay;
    decltype(&::iic_ok) iic_ok;
    decltype(&::sda_high) sda_high;
    decltype(&::sda_low) sda_low;
    decltype(&::scl_high) scl_high;
    decltype(&::scl_low) scl_low;
    decltype(&::read_sda) read_sda;
    decltype(&::read_scl) read_scl;
    decltype(&::iic_start) iic_start;
    decltype(&::iic_stop) iic_stop;
    decltype(&::iic_send_byte) iic_send_byte;
    decltype(&::iic_read_byte) iic_read_byte;
    decltype(&::iic_tx_pcf8574) iic_tx_pcf8574;
    decltype(&::_iic_rx_pcf8574) iic_rx_pcf8574_into;
    decltype(&::pcf8591_init) pcf8591_init;
    decltype(&::pcf8591_readchan) pcf8591_readchan;
    decltype(&::pcf8591_read4chan) pcf8591_read4chan;
    decltype(&::pcf8591_setda) pcf8591_setda;
    decltype(&::pcf8591_aout) pcf8591_aout;
    decltype(&::lcd_init) lcd_init;
    decltype(&::lcd_instr) lcd_instr;
    decltype(&::lcd_write_str) lcd_write_str;
    decltype(&::lcd_read_str) lcd_read_str;
    decltype(&::tsa5511_init) tsa5511_init;
    decltype(&::tsa5511_calc) tsa5511_calc;
    decltype(&::tsa5511_send) tsa5511_send;
    decltype(&::tsa5523_init) tsa5523_init;
    decltype(&::tsa5523_calc) tsa5523_calc;
    decltype(&::tsa5523_send) tsa5523_send;
    decltype(&::tbb200_init) tbb200_init;
    decltype(&::tbb200_calc) tbb200_calc;
    decltype(&::tbb200_send_status) tbb200_send_status;
    decltype(&::tbb200_send_r_cnt) tbb200_send_r_cnt;
    decltype(&::tbb200_send_n_cnt) tbb200_send_n_cnt;
    decltype(&::tsa6057_init) tsa6057_init;
    decltype(&::tsa6057_calc) tsa6057_calc;
    decltype(&::tsa6057_send) tsa6057_send;
    decltype(&::sda3302_init) sda3302_init;
    decltype(&::sda3302_calc) sda3302_calc;
    decltype(&::sda3302_send) sda3302_send;
};

// Loads libwirelink.so over a port driver (with `simulated` the simulated
// bench's, loaded first; else the one libwirelink.so finds, or failing that
// the one installed beside it), routes the driver's accesses through the
// port tap and binds every function above.  Throws a Failure with
// kNotInstalled naming what is missing and where it was looked for.
const Wirelink &load_wirelink(bool simulated);

}  // namespace cli

#endif
