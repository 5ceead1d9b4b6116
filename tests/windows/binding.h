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

// A worker's export name: its stdcall decoration in the 32-bit DLL, its C
// name in the 64-bit one, which has no decoration.
#if defined(_WIN64)
#define WIRELINK_WORKER(name, bytes) #name
#else
#define WIRELINK_WORKER(name, bytes) "_" #name "@" #bytes
#endif

// X(header name, Windows export name) of the functions the wire cases call.
// clang-format off
#define WIRELINK_WIRE_FUNCTIONS(X)                                                            \
    X(init_iic, "init_iic") X(set_port_delay, "set_port_delay")                               \
    X(iic_tx_pcf8574, "iic_tx_pcf8574") X(iic_rx_pcf8574, "iic_rx_pcf8574")                   \
    X(_iic_rx_pcf8574, WIRELINK_WORKER(_iic_rx_pcf8574, 8))                                   \
    X(ad_pcf8591_init, "ad_pcf8591_init")                                                     \
    X(ad_pcf8591_setda, "ad_pcf8591_setda") X(ad_pcf8591_readchan, "ad_pcf8591_readchan")     \
    X(pcf8591_init, WIRELINK_WORKER(pcf8591_init, 12))                                        \
    X(pcf8591_setda, WIRELINK_WORKER(pcf8591_setda, 12))                                      \
    X(pcf8591_read4chan, WIRELINK_WORKER(pcf8591_read4chan, 8))                               \
    X(pcf8591_aout, WIRELINK_WORKER(pcf8591_aout, 8))                                         \
    X(lcd_init, "lcd_init") X(lcd_write_str, "lcd_write_str")                                 \
    X(lcd_read_str, "lcd_read_str") X(lcd_get_adress, "lcd_get_adress")                       \
    X(pll_tsa5511_init, "pll_tsa5511_init") X(pll_tsa5511_calc, "pll_tsa5511_calc")           \
    X(tsa5511_init, WIRELINK_WORKER(tsa5511_init, 16))                                        \
    X(tsa5511_calc, WIRELINK_WORKER(tsa5511_calc, 12))                                        \
    X(tsa5511_send, WIRELINK_WORKER(tsa5511_send, 8)) X(lcd_wchar, "lcd_wchar")               \
    X(pll_tsa5511_send, "pll_tsa5511_send") X(wirelink_transfer, "wirelink_transfer")
// clang-format on

struct Wirelink {
#define WIRELINK_POINTER(name, exported) decltype(&::name) name;
    WIRELINK_WIRE_FUNCTIONS(WIRELINK_POINTER)
#undef WIRELINK_POINTER
    int32_t *lcd_BACKLIGHT;  // data cells
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

// Binds everything above, the bench from the DLL that holds it (already
// loaded); false (with the names that failed in missing) when one of them
// is not there.
bool bind_wirelink(Wirelink &library, SimulatedBench &bench, std::vector<std::string> &missing,
                   const char *bench_dll = "dlportio.dll");

#endif
