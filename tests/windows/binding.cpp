#include "binding.h"

#include <algorithm>
#include <type_traits>

namespace {

// A function's FARPROC goes through the generic function pointer type, the
// one cast between function types that needs no excuse; an exported data
// cell's address comes from GetProcAddress too.
template <typename Pointer>
void look_up(HMODULE module, const char *name, Pointer &slot, std::vector<std::string> &missing) {
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    if constexpr (std::is_function_v<std::remove_pointer_t<Pointer>>)
        slot = reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(found));
    else
        slot = reinterpret_cast<Pointer>(reinterpret_cast<void *>(found));
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

bool bind_wirelink(Wirelink &library, SimulatedBench &bench, std::vector<std::string> &missing,
                   const char *bench_dll) {
    const HMODULE wirelink = wirelink_module();
#define WIRELINK_FUNCTION(name, kind, bytes, ...) \
    look_up(wirelink, WIRELINK_WINDOWS_NAME_##kind(name, bytes), library.name, missing);
#include "api.def"
#undef WIRELINK_FUNCTION
    look_up(wirelink, "lcd_BACKLIGHT", library.lcd_BACKLIGHT, missing);
    look_up(wirelink, "lcd_STRING", library.lcd_STRING, missing);

    // wirelink.dll brought the stand-in port driver in, or the bench was
    // loaded under a name of its own.
    const HMODULE driver = GetModuleHandleA(bench_dll);
    look_up(driver, "wlsim_trace_text", bench.trace_text, missing);
    look_up(driver, "wlsim_forget_history", bench.forget_history, missing);
    look_up(driver, "wlsim_accesses", bench.accesses, missing);
    look_up(driver, "wlsim_violations", bench.violations, missing);
    look_up(driver, "wlsim_stick_scl_low", bench.stick_scl_low, missing);
    return missing.empty();
}
