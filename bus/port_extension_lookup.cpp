// The extension is looked up in the very module that serves
// DlPortReadPortUchar: a program may load libwirelink privately (dlopen,
// LoadLibrary), where a search of the global scope would miss its driver,
// and a program that stands between libwirelink and the driver must stand
// in its extension too, or not be bypassed.

#include "port_extension_lookup.h"

#include <cstddef>

#include "dlportio.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace wirelink {
namespace {

#if defined(_WIN32)

// wirelink.dll imports the port functions from dlportio.dll by that name.
wirelink_port_extension_fn find_entry() {
    HMODULE driver = GetModuleHandleA("dlportio.dll");
    if (driver == nullptr) return nullptr;
    return reinterpret_cast<wirelink_port_extension_fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(driver, WIRELINK_PORT_EXTENSION_NAME)));
}

#else

wirelink_port_extension_fn find_entry() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&DlPortReadPortUchar), &info) == 0 || info.dli_fname == nullptr)
        return nullptr;
    void *driver = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    // Not a library: the program itself serves the port functions (a tool
    // that taps them), and its extension, if any, is the one to use.
    if (driver == nullptr) driver = dlopen(nullptr, RTLD_LAZY);
    if (driver == nullptr) return nullptr;
    void *entry = dlsym(driver, WIRELINK_PORT_EXTENSION_NAME);
    dlclose(driver);  // the driver stays loaded: libwirelink needs it
    // A search from the program goes on into the libraries: an extension
    // found there belongs to another driver than the one in use.
    Dl_info found{};
    if (entry == nullptr || dladdr(entry, &found) == 0 || found.dli_fbase != info.dli_fbase) return nullptr;
    return reinterpret_cast<wirelink_port_extension_fn>(entry);
}

#endif

const wirelink_port_extension *usable(const wirelink_port_extension *found) {
    constexpr std::size_t kVersion1Size =
        offsetof(wirelink_port_extension, run_steps) + sizeof found->run_steps;
    if (found == nullptr || found->version < 1 || found->size < kVersion1Size) return nullptr;
    if (found->run_limit == nullptr || found->run_steps == nullptr) return nullptr;
    return found;
}

decltype(wirelink_port_extension::use_device) use_device_of(const wirelink_port_extension *found) {
    constexpr std::size_t kVersion2Size =
        offsetof(wirelink_port_extension, use_device) + sizeof found->use_device;
    if (found == nullptr || found->version < 2 || found->size < kVersion2Size) return nullptr;
    return found->use_device;
}

}  // namespace

decltype(wirelink_port_extension::use_device) device_naming() {
    static const auto found = [] {
        const wirelink_port_extension_fn entry = find_entry();
        return use_device_of(entry != nullptr ? entry() : nullptr);
    }();
    return found;
}

const wirelink_port_extension *port_extension() {
    static const wirelink_port_extension *const found = [] {
        const wirelink_port_extension_fn entry = find_entry();
        return usable(entry != nullptr ? entry() : nullptr);
    }();
    return found;
}

}  // namespace wirelink
