#include "fake_serial.h"

#include <algorithm>

namespace {

FakeSerial &fake = fake_serial();

FakeComPort *open_port(HANDLE handle) {
    const uintptr_t index = reinterpret_cast<uintptr_t>(handle) - 1;
    return index < fake.ports.size() && fake.ports[index].open ? &fake.ports[index] : nullptr;
}

// The open port behind a handle, with the call written down; null (and the
// error set) when the call fails.
FakeComPort *port_of(HANDLE handle, const std::string &call) {
    FakeComPort *port = open_port(handle);
    if (port) port->calls.push_back(call);
    fake.last_error = port ? port->call_error : ERROR_INVALID_HANDLE;
    return fake.last_error == 0 ? port : nullptr;
}

HANDLE WINAPI create_file(LPCWSTR name, DWORD, DWORD share_mode, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                          HANDLE) {
    fake.last_error = ERROR_FILE_NOT_FOUND;
    for (std::size_t index = 0; index < fake.ports.size(); ++index) {
        FakeComPort &port = fake.ports[index];
        if (port.name != name) continue;
        port.calls.push_back("CreateFileW");
        fake.last_error = port.open_error;
        if (port.open_error != 0) break;
        port.open = true;
        port.share_mode = share_mode;
        return reinterpret_cast<HANDLE>(index + 1);
    }
    return INVALID_HANDLE_VALUE;
}

// Closes even the handle of an unplugged port, as Windows does.
BOOL WINAPI close_handle(HANDLE handle) {
    FakeComPort *port = open_port(handle);
    if (port) port->calls.push_back("CloseHandle"), port->open = false;
    return port != nullptr;
}

BOOL WINAPI get_comm_state(HANDLE handle, LPDCB settings) {
    FakeComPort *port = port_of(handle, "GetCommState");
    if (port && !port->serial) fake.last_error = ERROR_INVALID_FUNCTION;
    if (!port || !port->serial) return FALSE;
    *settings = port->settings;
    return TRUE;
}

BOOL WINAPI set_comm_state(HANDLE handle, LPDCB settings) {
    FakeComPort *port = port_of(handle, "SetCommState");
    if (port) port->settings = *settings;
    return port != nullptr;
}

// SETRTS 3, CLRRTS 4, SETDTR 5, CLRDTR 6.
BOOL WINAPI escape_comm_function(HANDLE handle, DWORD function) {
    static const char *const kNames[] = {"?", "?", "?", "SETRTS", "CLRRTS", "SETDTR", "CLRDTR"};
    FakeComPort *port = port_of(handle, function <= CLRDTR ? kNames[function] : "?");
    if (!port) return FALSE;
    const uint8_t line = function <= CLRRTS ? 0x02 : 0x01;
    const uint8_t before = port->bench_base ? fake.bench_read(port->bench_base + 4) : port->mcr;
    const uint8_t after = function == SETRTS || function == SETDTR ? before | line : before & ~line;
    port->idle_escapes += after == before;
    if (port->bench_base) fake.bench_write(port->bench_base + 4, after);
    port->mcr = after;
    return TRUE;
}

BOOL WINAPI get_comm_modem_status(HANDLE handle, LPDWORD status) {
    FakeComPort *port = port_of(handle, "GetCommModemStatus");
    if (port) *status = port->bench_base ? fake.bench_read(port->bench_base + 6) & 0xF0 : port->inputs;
    return port != nullptr;
}

DWORD WINAPI get_last_error() { return fake.last_error; }

BOOL WINAPI query_performance_counter(LARGE_INTEGER *count) {
    count->QuadPart = ++fake.counter;
    return TRUE;
}

BOOL WINAPI query_performance_frequency(LARGE_INTEGER *frequency) {
    frequency->QuadPart = 1'000'000;
    return TRUE;
}

}  // namespace

int FakeComPort::count(const std::string &call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

FakeComPort &FakeSerial::add(const std::wstring &name) {
    FakeComPort &port = ports.emplace_back();
    port.name = name;
    port.settings = usual_settings();
    return port;
}

FakeComPort *FakeSerial::find(const std::wstring &name) {
    const auto found =
        std::find_if(ports.begin(), ports.end(), [&](const FakeComPort &p) { return p.name == name; });
    return found == ports.end() ? nullptr : &*found;
}

FakeSerial &fake_serial() {
    static FakeSerial instance;
    return instance;
}

const dlportio::SerialApi &fake_serial_api() {
    static const dlportio::SerialApi table{create_file,
                                           close_handle,
                                           get_comm_state,
                                           set_comm_state,
                                           escape_comm_function,
                                           get_comm_modem_status,
                                           get_last_error,
                                           query_performance_counter,
                                           query_performance_frequency};
    return table;
}

DCB usual_settings() {
    DCB settings{};
    settings.DCBlength = sizeof settings;
    settings.BaudRate = CBR_9600;
    settings.ByteSize = 8;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fRtsControl = RTS_CONTROL_HANDSHAKE;
    settings.fOutxCtsFlow = settings.fOutxDsrFlow = settings.fDsrSensitivity = TRUE;
    return settings;
}

// The tests' dlportio.dll takes its table from the program that loaded it.
extern "C" __declspec(dllexport) const dlportio::SerialApi *wirelink_test_serial_api() {
    return &fake_serial_api();
}
