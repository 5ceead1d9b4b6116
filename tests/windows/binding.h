// wirelink.dll bound the way a Windows application binds it: loaded by name
// with LoadLibraryA and every function looked up by its export name.  The
// pointer types come from the public header, so a call through them uses
// the calling convention and arguments that the header promises.
#ifndef WIRELINK_WINDOWS_BINDING_H
#define WIRELINK_WINDOWS_BINDING_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wirelink.h"
#include "wlsim_c.h"

// The functions that the wire cases call.
struct Wirelink {
    decltype(&::init_iic) init_iic;
    decltype(&::deinit_iic) deinit_iic;
    decltype(&::set_port_delay) set_port_delay;
    decltype(&::wait_port) wait_port;
    decltype(&::sda_low) sda_low;
    decltype(&::scl_low) scl_low;
    decltype(&::read_sda) read_sda;
    decltype(&::read_scl) read_scl;
    decltype(&::set_strobe) set_strobe;
    decltype(&::out32) out32;
    decltype(&::io_disable) io_disable;
    decltype(&::read_int) read_int;  // exported as _read_int@0
    decltype(&::iic_start) iic_start;
    decltype(&::iic_stop) iic_stop;
    decltype(&::iic_send_byte) iic_send_byte;
    decltype(&::iic_read_byte) iic_read_byte;
    decltype(&::iic_tx_pcf8574) iic_tx_pcf8574;
    decltype(&::_iic_rx_pcf8574) iic_rx_pcf8574_worker;  // exported as __iic_rx_pcf8574@8
    decltype(&::iic_rx_pcf8574) iic_rx_pcf8574;
    decltype(&::ad_pcf8591_init) ad_pcf8591_init;
    decltype(&::ad_pcf8591_setda) ad_pcf8591_setda;
    decltype(&::ad_pcf8591_readchan) ad_pcf8591_readchan;
    // Workers, exported as _pcf8591_init@12, _pcf8591_setda@12,
    // _pcf8591_read4chan@8 and _pcf8591_aout@8.
    decltype(&::pcf8591_init) pcf8591_init;
    decltype(&::pcf8591_setda) pcf8591_setda;
    decltype(&::pcf8591_read4chan) pcf8591_read4chan;
    decltype(&::pcf8591_aout) pcf8591_aout;
    decltype(&::lcd_init) lcd_init;
    decltype(&::lcd_write_str) lcd_write_str;
    decltype(&::lcd_read_str) lcd_read_str;
    decltype(&::lcd_get_adress) lcd_get_adress;
    decltype(&::pll_tsa5511_init) pll_tsa5511_init;
    decltype(&::pll_tsa5511_calc) pll_tsa5511_calc;
    decltype(&::pll_tsa5511_send) pll_tsa5511_send;
    // Workers, exported as _tsa5511_init@16, _tsa5511_calc@12,
    // _tsa5511_send@8 and _tsa5511_read@4.
    decltype(&::tsa5511_init) tsa5511_init;
    decltype(&::tsa5511_calc) tsa5511_calc;
    decltype(&::tsa5511_send) tsa5511_send;
    decltype(&::tsa5511_read) tsa5511_read;
    // Data cells.
    int32_t *lcd_BACKLIGHT;
    char *lcd_STRING;
};

// What the tests ask of the simulated bench behind the stand-in dlportio.dll.
struct SimulatedBench {
    decltype(&::wlsim_trace_text) trace_text;
    decltype(&::wlsim_forget_history) forget_history;
    decltype(&::wlsim_accesses) accesses;
    decltype(&::wlsim_violations) violations;
    decltype(&::wlsim_stick_scl_low) stick_scl_low;

    std::string trace() const;
};

// The exports of wirelink.dll, from lib/exports.list.
struct ListedExport {
    std::string name;  // as Windows exports it
    std::string kind;  // entry, worker or data
};
const std::vector<ListedExport> &listed_exports();

// LoadLibraryA("wirelink.dll"), once; nullptr when it did not load.
HMODULE wirelink_module();

// Binds every function above; false (with the names that failed in
// missing) when one of them is not there.
bool bind_wirelink(Wirelink &library, SimulatedBench &bench, std::vector<std::string> &missing);

#endif
