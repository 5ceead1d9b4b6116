// dlportio.dll for Windows: the DlPortIO functions over one port driver for
// the whole process, which reaches COM ports through the serial API.  Wider
// accesses are split into byte accesses at rising addresses, as the ISA bus
// splits them for an 8-bit device; the buffer forms repeat one port.

#include <windows.h>

#include <optional>
#include <string>

#include "dlportio.h"
#include "uart16550.h"
#include "windows_port_driver.h"
#include "windows_serial_api.h"
#include "windows_text.h"

namespace {

using dlportio::utf8;
using dlportio::wide;

HMODULE this_dll = nullptr;
dlportio::WindowsPortDriver *instance = nullptr;

std::optional<std::string> environment_variable(const std::string &name) {
    const std::wstring wide_name = wide(name);
    const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
    if (length == 0 || length >= size) return std::nullopt;
    value.resize(length);
    return utf8(value);
}

std::filesystem::path ini_beside_this_dll() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(this_dll, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path() / L"wirelink.ini";
}

// To a debugger (DebugView shows it without one), and to standard error when
// the process has it: a GUI program has none.
void tell(const std::string &line) {
    OutputDebugStringW(wide(line + "\n").c_str());
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Built at the first port access and never destroyed, so the ports stay open
// for the life of the process and an access made during exit still finds
// its driver.
dlportio::WindowsPortDriver &driver() {
    static auto *const made = instance = new dlportio::WindowsPortDriver(
        dlportio::serial_api_of_process(), environment_variable, ini_beside_this_dll(), tell);
    return *made;
}

// Nothing may escape through the C boundary: a failure reads as an empty port.
unsigned char read_byte(unsigned long port) {
    try {
        return driver().read(port);
    } catch (...) {
        return uart16550::kEmptyPort;
    }
}

void write_byte(unsigned long port, unsigned char value) {
    try {
        driver().write(port, value);
    } catch (...) {
    }
}

template <typename Value>
Value read_wide(unsigned long port) {
    Value value = 0;
    for (unsigned byte = 0; byte < sizeof(Value); ++byte)
        value |= static_cast<Value>(static_cast<Value>(read_byte(port + byte)) << (8 * byte));
    return value;
}

template <typename Value>
void write_wide(unsigned long port, Value value) {
    for (unsigned byte = 0; byte < sizeof(Value); ++byte)
        write_byte(port + byte, static_cast<unsigned char>(value >> (8 * byte)));
}

template <typename Value>
void read_buffer(unsigned long port, Value *buffer, unsigned long count) {
    if (buffer == nullptr) return;
    for (unsigned long i = 0; i < count; ++i) buffer[i] = read_wide<Value>(port);
}

template <typename Value>
void write_buffer(unsigned long port, const Value *buffer, unsigned long count) {
    if (buffer == nullptr) return;
    for (unsigned long i = 0; i < count; ++i) write_wide<Value>(port, buffer[i]);
}

}  // namespace

// The ports' settings go back as they were found.  wirelink.dll, which
// imports this DLL, has been detached (and its last register written) by then.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        this_dll = module;
        DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH && instance != nullptr) {
        instance->release();
    }
    return TRUE;
}

extern "C" {

UCHAR WINAPI DlPortReadPortUchar(ULONG port) { return read_byte(port); }
USHORT WINAPI DlPortReadPortUshort(ULONG port) { return read_wide<USHORT>(port); }
ULONG WINAPI DlPortReadPortUlong(ULONG port) { return read_wide<ULONG>(port); }

void WINAPI DlPortWritePortUchar(ULONG port, UCHAR value) { write_byte(port, value); }
void WINAPI DlPortWritePortUshort(ULONG port, USHORT value) { write_wide(port, value); }
void WINAPI DlPortWritePortUlong(ULONG port, ULONG value) { write_wide(port, value); }

void WINAPI DlPortReadPortBufferUchar(ULONG port, PUCHAR buffer, ULONG count) {
    read_buffer(port, buffer, count);
}
void WINAPI DlPortReadPortBufferUshort(ULONG port, PUSHORT buffer, ULONG count) {
    read_buffer(port, buffer, count);
}
void WINAPI DlPortReadPortBufferUlong(ULONG port, PULONG buffer, ULONG count) {
    read_buffer(port, buffer, count);
}
void WINAPI DlPortWritePortBufferUchar(ULONG port, PUCHAR buffer, ULONG count) {
    write_buffer(port, buffer, count);
}
void WINAPI DlPortWritePortBufferUshort(ULONG port, PUSHORT buffer, ULONG count) {
    write_buffer(port, buffer, count);
}
void WINAPI DlPortWritePortBufferUlong(ULONG port, PULONG buffer, ULONG count) {
    write_buffer(port, buffer, count);
}

}  // extern "C"
