"""Every export of libwirelink.so with its C prototype: the one table the
package binds from (tests/test_library.py holds it to lib/api.def, types too).
"""

import ctypes
from ctypes import POINTER, c_char, c_char_p, c_float, c_int32, c_uint8, c_uint16

i32 = c_int32


class wirelink_msg(ctypes.Structure):
    _fields_ = [("address", c_uint16), ("flags", c_uint16), ("length", c_int32), ("data", POINTER(c_uint8))]


def _record(name, *fields):
    return type(name, (ctypes.Structure,), {"_fields_": [(f, c_int32) for f in fields]})


class pcf8591_state(ctypes.Structure):
    _fields_ = [("mode", c_int32), ("vref", c_float), ("dac", c_int32), ("reading", c_int32 * 4)]


tsa5511_state = _record("tsa5511_state", "div_high", "div_low", "control", "port", "fref", "step")
tsa5523_state = _record("tsa5523_state", "div_high", "div_low", "control", "band")
tbb200_state = _record(
    "tbb200_state", "mode", "status", "r_high", "r_low", "n_byte1", "n_byte2", "n_byte3", "fref", "prescaler"
)
tsa6057_state = _record("tsa6057_state", "subaddress", "step", "db0", "db1", "db2", "db3")
sda3302_state = _record("sda3302_state", "div_high", "div_low", "control", "band")

WIRELINK_MSG_READ = 0x0001
WIRELINK_MSG_RECV_LEN = 0x0400


def _p(record):
    return POINTER(record)


# name: (result, argument types)
FUNCTIONS = {
    "init_iic": (i32, [i32]),
    "wirelink_use_device": (i32, [i32, c_char_p]),
    "deinit_iic": (i32, []),
    "set_port_delay": (i32, [i32]),
    "wait_port": (i32, []),
    "iic_ok": (i32, []),
    "sda_high": (i32, []),
    "sda_low": (i32, []),
    "scl_high": (i32, []),
    "scl_low": (i32, []),
    "read_sda": (i32, []),
    "read_scl": (i32, []),
    "set_strobe": (i32, [i32]),
    "byte_out": (i32, [i32]),
    "byte_in": (i32, [i32]),
    "get_status": (i32, [i32]),
    "inp32": (i32, [i32]),
    "out32": (i32, [i32, i32]),
    "io_disable": (i32, []),
    "io_enable": (i32, []),
    "read_int": (i32, []),
    "wirelink_last_error": (i32, []),
    "wirelink_strerror": (c_char_p, [i32]),
    "wirelink_cancel": (None, []),
    "wirelink_cancel_reset": (None, []),
    "iic_start": (i32, []),
    "iic_stop": (i32, []),
    "iic_send_byte": (i32, [i32]),
    "iic_read_byte": (i32, [i32]),
    "wirelink_transfer": (i32, [POINTER(wirelink_msg), i32]),
    "iic_tx_pcf8574": (i32, [i32, i32]),
    "_iic_rx_pcf8574": (i32, [POINTER(c_int32), i32]),
    "iic_rx_pcf8574": (i32, [i32]),
    "pcf8591_init": (i32, [_p(pcf8591_state), i32, c_float]),
    "pcf8591_readchan": (i32, [_p(pcf8591_state), i32, i32]),
    "pcf8591_read4chan": (i32, [_p(pcf8591_state), i32]),
    "pcf8591_setda": (i32, [_p(pcf8591_state), c_float, i32]),
    "pcf8591_aout": (c_float, [_p(pcf8591_state), i32]),
    "ad_pcf8591_init": (i32, [i32, i32]),
    "ad_pcf8591_readchan": (i32, [i32, i32]),
    "ad_pcf8591_setda": (i32, [i32, i32]),
    "ad_pcf8591_aout": (i32, [i32]),
    "lcd_init": (i32, []),
    "lcd_instr": (i32, [i32]),
    "lcd_wchar": (i32, [i32]),
    "lcd_rchar": (i32, [POINTER(c_int32), i32]),
    "lcd_write_str": (i32, [c_char_p]),
    "lcd_read_str": (i32, [i32, i32, POINTER(c_char)]),
    "lcd_backlight": (i32, [i32]),
    "lcd_get_adress": (i32, []),
    "tsa5511_init": (i32, [_p(tsa5511_state), i32, i32, i32]),
    "tsa5511_calc": (i32, [_p(tsa5511_state), i32, i32]),
    "tsa5511_send": (i32, [_p(tsa5511_state), i32]),
    "tsa5511_read": (i32, [i32]),
    "tsa5523_init": (i32, [_p(tsa5523_state), i32]),
    "tsa5523_calc": (i32, [_p(tsa5523_state), i32, i32]),
    "tsa5523_send": (i32, [_p(tsa5523_state), i32]),
    "tsa5523_read": (i32, [i32]),
    "tbb200_init": (i32, [_p(tbb200_state), i32, i32, i32]),
    "tbb200_calc": (i32, [_p(tbb200_state), i32, i32]),
    "tbb200_send_status": (i32, [_p(tbb200_state), i32]),
    "tbb200_send_r_cnt": (i32, [_p(tbb200_state)]),
    "tbb200_send_n_cnt": (i32, [_p(tbb200_state)]),
    "tsa6057_init": (i32, [_p(tsa6057_state), i32, i32]),
    "tsa6057_calc": (i32, [_p(tsa6057_state), i32, i32]),
    "tsa6057_send": (i32, [_p(tsa6057_state), i32]),
    "sda3302_init": (i32, [_p(sda3302_state), i32]),
    "sda3302_calc": (i32, [_p(sda3302_state), i32, i32]),
    "sda3302_send": (i32, [_p(sda3302_state), i32]),
    "pll_tsa5511_init": (i32, [i32, i32, i32]),
    "pll_tsa5511_calc": (i32, [i32, i32]),
    "pll_tsa5511_send": (i32, [i32]),
    "pll_tsa5511_read": (i32, [i32]),
    "pll_tsa5523_init": (i32, [i32]),
    "pll_tsa5523_calc": (i32, [i32, i32]),
    "pll_tsa5523_send": (i32, [i32]),
    "pll_tsa5523_read": (i32, [i32]),
    "pll_tbb200_init": (i32, [i32, i32, i32]),
    "pll_tbb200_calc": (i32, [i32, i32]),
    "pll_tbb200_send_status": (i32, [i32]),
    "pll_tbb200_send_r_cnt": (i32, []),
    "pll_tbb200_send_n_cnt": (i32, []),
    "pll_tsa6057_init": (i32, [i32, i32]),
    "pll_tsa6057_calc": (i32, [i32, i32]),
    "pll_tsa6057_send": (i32, [i32]),
    "pll_sda3302_init": (i32, [i32]),
    "pll_sda3302_calc": (i32, [i32, i32]),
    "pll_sda3302_send": (i32, [i32]),
}

# The exported data cells and their types.
DATA = {
    "lcd_ADRESS": c_int32,
    "lcd_BACKLIGHT": c_int32,
    "lcd_STRING": c_char * 32,
}

# The simulated bench's own C interface (sim/wlsim_c.h), in its port driver.
SIMULATOR = {
    "wlsim_trace_text": (i32, [POINTER(c_char), i32]),
    "wlsim_forget_history": (None, []),
    "wlsim_accesses": (ctypes.c_uint64, []),
    "wlsim_violations": (i32, []),
    "wlsim_stick_scl_low": (None, [i32]),
}
