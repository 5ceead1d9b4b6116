// The serial API of the tests' dlportio.dll: the table that the program
// which loaded it exports, so that its COM ports are the program's fakes.
#include <cstdio>
#include <cstdlib>

#include "windows_serial_api.h"

namespace dlportio {

const SerialApi &serial_api_of_process() {
    using Provider = const SerialApi *(*)();
    static const SerialApi *const table = [] {
        const FARPROC found = GetProcAddress(GetModuleHandleW(nullptr), "wirelink_test_serial_api");
        const auto provider = reinterpret_cast<Provider>(reinterpret_cast<void (*)()>(found));
        return provider != nullptr ? provider() : nullptr;
    }();
    if (table == nullptr) {
        std::fputs("this dlportio.dll is for the tests: the program exports no wirelink_test_serial_api\n",
                   stderr);
        std::abort();
    }
    return *table;
}

}  // namespace dlportio
