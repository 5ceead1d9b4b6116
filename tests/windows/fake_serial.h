// COM ports behind the serial API table, for the port driver's tests: a
// port keeps its lines itself or is one of the simulated bench's UARTs, and
// every call on it is written down.  The performance counter runs at 1 MHz
// and moves on by one count a call, or by whole seconds when told.
#ifndef WIRELINK_WINDOWS_FAKE_SERIAL_H
#define WIRELINK_WINDOWS_FAKE_SERIAL_H

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "windows_serial_api.h"

struct FakeComPort {
    std::wstring name;        // L"\\\\.\\COM7"
    DWORD open_error = 0;     // CreateFileW fails with it (in use, missing...)
    DWORD call_error = 0;     // every call on the handle fails with it (unplugged)
    bool serial = true;       // false: GetCommState fails
    uint32_t bench_base = 0;  // the bench UART whose lines these are; 0: none
    DCB settings{};
    uint8_t mcr = 0, inputs = 0;  // when not on the bench
    bool open = false;
    DWORD share_mode = ~DWORD{0};
    std::vector<std::string> calls;  // "CreateFileW", "CLRRTS", "GetCommModemStatus"...
    int idle_escapes = 0;            // EscapeCommFunction calls that changed no line

    int count(const std::string &call) const;
};

struct FakeSerial {
    std::deque<FakeComPort> ports;  // a name not here does not exist
    int64_t counter = 0;
    DWORD last_error = 0;
    unsigned char(__stdcall *bench_read)(unsigned long) = nullptr;
    void(__stdcall *bench_write)(unsigned long, unsigned char) = nullptr;

    FakeComPort &add(const std::wstring &name);
    FakeComPort *find(const std::wstring &name);
};

FakeSerial &fake_serial();
const dlportio::SerialApi &fake_serial_api();
// A port's settings before the driver changes them.
DCB usual_settings();

#endif
