#include "binding.h"

#include <algorithm>

namespace {

// GetProcAddress's FARPROC goes through the generic function pointer type,
// the one cast between function types that needs no excuse.
template <typename Pointer>
void look_up_function(HMODULE module, const char *name, Pointer &slot, std::vector<std::string> &missing) {
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    slot = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(found));
    if (found == nullptr) missing.push_back(name);
}

// An exported data cell's address comes from GetProcAddress too.
template <typename Cell>
void look_up_cell(HMODULE module, const char *name, Cell *&slot, std::vector<std::string> &missing) {
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    slot = reinterpret_cast<Cell *>(reinterpret_cast<void *>(found));
    if (found == nullptr) missing.push_back(name);
}

}  // namespace

std::string SimulatedBench::trace() const {
    std::string text(4096, '\0');
    const int32_t length = trace_text(text.data(), static_cast<int32_t>(text.size()));
    if (length < 0) return "(no bus)";
    text.resize(std::min(static_cast<size_t>(length), text.size() - 1));
    return text;
}

const std::vector<ListedExport> &listed_exports() {
    static const std::vector<ListedExport> names = {
#include "wirelink_export_names.inc"
    };
    return names;
}

HMODULE wirelink_module() {
    static const HMODULE module = LoadLibraryA("wirelink.dll");
    return module;
}

bool bind_wirelink(Wirelink &library, SimulatedBench &bench, std::vector<std::string> &missing) {
    const HMODULE wirelink = wirelink_module();
    look_up_function(wirelink, "init_iic", library.init_iic, missing);
    look_up_function(wirelink, "deinit_iic", library.deinit_iic, missing);
    look_up_function(wirelink, "set_port_delay", library.set_port_delay, missing);
    look_up_function(wirelink, "wait_port", library.wait_port, missing);
    look_up_function(wirelink, "sda_low", library.sda_low, missing);
    look_up_function(wirelink, "scl_low", library.scl_low, missing);
    look_up_function(wirelink, "read_sda", library.read_sda, missing);
    look_up_function(wirelink, "read_scl", library.read_scl, missing);
    look_up_function(wirelink, "set_strobe", library.set_strobe, missing);
    look_up_function(wirelink, "out32", library.out32, missing);
    look_up_function(wirelink, "io_disable", library.io_disable, missing);
    look_up_function(wirelink, "_read_int@0", library.read_int, missing);
    look_up_function(wirelink, "iic_start", library.iic_start, missing);
    look_up_function(wirelink, "iic_stop", library.iic_stop, missing);
    look_up_function(wirelink, "iic_send_byte", library.iic_send_byte, missing);
    look_up_function(wirelink, "iic_read_byte", library.iic_read_byte, missing);
    look_up_function(wirelink, "iic_tx_pcf8574", library.iic_tx_pcf8574, missing);
    look_up_function(wirelink, "__iic_rx_pcf8574@8", library.iic_rx_pcf8574_worker, missing);
    look_up_function(wirelink, "iic_rx_pcf8574", library.iic_rx_pcf8574, missing);
    look_up_function(wirelink, "ad_pcf8591_init", library.ad_pcf8591_init, missing);
    look_up_function(wirelink, "ad_pcf8591_setda", library.ad_pcf8591_setda, missing);
    look_up_function(wirelink, "ad_pcf8591_readchan", library.ad_pcf8591_readchan, missing);
    look_up_function(wirelink, "_pcf8591_init@12", library.pcf8591_init, missing);
    look_up_function(wirelink, "_pcf8591_setda@12", library.pcf8591_setda, missing);
    look_up_function(wirelink, "_pcf8591_read4chan@8", library.pcf8591_read4chan, missing);
    look_up_function(wirelink, "_pcf8591_aout@8", library.pcf8591_aout, missing);
    look_up_function(wirelink, "lcd_init", library.lcd_init, missing);
    look_up_function(wirelink, "lcd_write_str", library.lcd_write_str, missing);
    look_up_function(wirelink, "lcd_read_str", library.lcd_read_str, missing);
    look_up_function(wirelink, "lcd_get_adress", library.lcd_get_adress, missing);
    look_up_function(wirelink, "pll_tsa5511_init", library.pll_tsa5511_init, missing);
    look_up_function(wirelink, "pll_tsa5511_calc", library.pll_tsa5511_calc, missing);
    look_up_function(wirelink, "pll_tsa5511_send", library.pll_tsa5511_send, missing);
    look_up_function(wirelink, "_tsa5511_init@16", library.tsa5511_init, missing);
    look_up_function(wirelink, "_tsa5511_calc@12", library.tsa5511_calc, missing);
    look_up_function(wirelink, "_tsa5511_send@8", library.tsa5511_send, missing);
    look_up_function(wirelink, "_tsa5511_read@4", library.tsa5511_read, missing);
    look_up_cell(wirelink, "lcd_BACKLIGHT", library.lcd_BACKLIGHT, missing);
    look_up_cell(wirelink, "lcd_STRING", library.lcd_STRING, missing);

    // wirelink.dll brought the port driver in; the bench lives there.
    const HMODULE driver = GetModuleHandleA("dlportio.dll");
    look_up_function(driver, "wlsim_trace_text", bench.trace_text, missing);
    look_up_function(driver, "wlsim_forget_history", bench.forget_history, missing);
    look_up_function(driver, "wlsim_accesses", bench.accesses, missing);
    look_up_function(driver, "wlsim_violations", bench.violations, missing);
    look_up_function(driver, "wlsim_stick_scl_low", bench.stick_scl_low, missing);
    return missing.empty();
}
