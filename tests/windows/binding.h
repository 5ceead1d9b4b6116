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

// The name under which wirelink.dll exports a function of the table: a
// worker carries its stdcall decoration in the 32-bit DLL; the 64-bit one has
// no decoration.
#define WIRELINK_WINDOWS_NAME_entry(name, bytes) #name
#if defined(_WIN64)
#define WIRELINK_WINDOWS_NAME_worker(name, bytes) #name
#else
#define WIRELINK_WINDOWS_NAME_worker(name, bytes) "_" #name "@" #bytes
#endif

// Every exported function of the table (api.def), under its header name.
struct Wirelink {
#define WIRELINK_FUNCTION(name, ...) decltype(&::name) name;
#include "api.def"
#undef WIRELINK_FUNCTION
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

// The exports of wirelink.dll, from lib/api.def.
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
