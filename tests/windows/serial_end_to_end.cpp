// The bus end to end over the COM-port driver: wirelink.dll, loaded by name,
// imports the tests' dlportio.dll (the product's exports and driver over the
// fake serial API), whose COM21 is the simulated bench's adapter UART.  COM1
// is COM21 by WIRELINK_COM1; COM2 is COM9 by wirelink.ini, and there is no
// COM9.  The bench is the stand-in dlportio.dll, loaded as wlsim_bench.dll.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "binding.h"
#include "cases.h"
#include "fake_serial.h"
#include "serial_cases.h"

namespace {

Wirelink wl;
SimulatedBench sim;

std::string beside_this_program(const char *file) {
    char path[MAX_PATH] = {};
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of("\\/") + 1) + file;
}

FakeComPort &adapter_port() { return *fake_serial().find(L"\\\\.\\COM21"); }

template <typename Function>
Function function_in(HMODULE bench, const char *name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(bench, name)));
}

// Beyond the lowering of both lines at open, every EscapeCommFunction from
// the first wire case on changed a line.
void expander_write_reaches_the_bench_through_the_serial_api() {
    CHECK_EQ(wl.init_iic(1), 0x3F8);
    sim.forget_history();
    CHECK_EQ(wl.iic_tx_pcf8574(0x5A, 1), 1);
    CHECK_EQ(sim.trace(), "S 72 A 5A A P");
    CHECK_EQ(adapter_port().idle_escapes, 2);
}

// Told on standard error, which points into a file here.
void the_ports_come_from_the_variable_and_wirelink_ini_and_a_missing_one_is_told_once() {
    CHECK_EQ(adapter_port().count("CreateFileW"), 1);
    std::ostringstream told;
    told << std::ifstream(beside_this_program("serial-messages.txt"), std::ios::binary).rdbuf();
    CHECK_EQ(
        told.str(),
        "wirelink: COM2 = COM9: no such port (is the adapter plugged in? Device Manager lists the COM ports "
        "under \"Ports (COM & LPT)\"; name another with WIRELINK_COM2=COMn or in wirelink.ini, or set "
        "COM2=off there)\r\n");
}

// The round trips per operation at rigcheck's port delay, printed for the
// README's table: one per changed line and one per status read, no other.
void every_operation_changes_lines_and_reads_the_status() {
    wl.pll_tsa5511_init(0x8E, 0, 0x00);
    wl.pll_tsa5511_calc(100'000'000, 0);
    const struct {
        const char *name;
        void (*run)();
    } operations[] = {
        {"PCF8574 write", [] { wl.iic_tx_pcf8574(0x89, 1); }},
        {"PCF8591 read", [] { wl.ad_pcf8591_readchan(1, 0); }},
        {"lcd_wchar", [] { wl.lcd_wchar('A'); }},
        {"TSA5511 send", [] { wl.pll_tsa5511_send(0); }},
    };
    FakeComPort &port = adapter_port();
    std::printf("  %-14s %19s %19s %17s\n", "delay 10", "EscapeCommFunction", "GetCommModemStatus",
                "at 1 ms per call");
    for (const auto &operation : operations) {
        port.calls.clear();
        operation.run();
        const int reads = port.count("GetCommModemStatus"), calls = static_cast<int>(port.calls.size());
        CHECK(reads > 0 && calls > reads);
        std::printf("  %-14s %19d %19d %14d ms\n", operation.name, calls - reads, reads, calls);
    }
    CHECK_EQ(port.idle_escapes, 2);
}

// As the ISA bus splits them: bytes at rising addresses (the scratch
// register at 0x3FF, nothing at 0x400); the buffer forms repeat one port.
void wider_accesses_are_byte_accesses_at_rising_addresses() {
    const HMODULE driver = GetModuleHandleA("dlportio.dll");
    const auto write = function_in<void(WINAPI *)(ULONG, UCHAR)>(driver, "DlPortWritePortUchar");
    const auto read_word = function_in<USHORT(WINAPI *)(ULONG)>(driver, "DlPortReadPortUshort");
    const auto read_bytes =
        function_in<void(WINAPI *)(ULONG, PUCHAR, ULONG)>(driver, "DlPortReadPortBufferUchar");
    if (!write || !read_word || !read_bytes) return record_failure(__FILE__, __LINE__, "not exported");
    write(0x3FF, 0x5A);
    CHECK_EQ(read_word(0x3FF), 0xFF5A);
    UCHAR bytes[3] = {};
    read_bytes(0x3FF, bytes, 3);
    CHECK(bytes[0] == 0x5A && bytes[2] == 0x5A);
}

// Unloading wirelink.dll unloads the driver, which puts the settings back.
void unloading_puts_the_ports_settings_back() {
    CHECK(FreeLibrary(wirelink_module()));
    CHECK(GetModuleHandleA("dlportio.dll") == nullptr);
    const DCB usual = usual_settings();
    CHECK(std::memcmp(&adapter_port().settings, &usual, sizeof usual) == 0);
    CHECK(!adapter_port().open);
}

}  // namespace

bool prepare_end_to_end() {
    FakeSerial &fake = fake_serial();
    fake.ports.clear();
    fake.add(L"\\\\.\\COM21").bench_base = 0x3F8;
    const HMODULE bench = LoadLibraryA("wlsim_bench.dll");
    fake.bench_read = function_in<decltype(fake.bench_read)>(bench, "DlPortReadPortUchar");
    fake.bench_write = function_in<decltype(fake.bench_write)>(bench, "DlPortWritePortUchar");

    SetEnvironmentVariableA("WIRELINK_COM1", "COM21");
    SetEnvironmentVariableA("WIRELINK_COM2", nullptr);
    std::ofstream(beside_this_program("wirelink.ini"), std::ios::binary)
        << "; the bench\r\n[ports]\r\nCOM2 = COM9\r\n";
    SetStdHandle(STD_ERROR_HANDLE,
                 CreateFileA(beside_this_program("serial-messages.txt").c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::vector<std::string> missing;
    const bool bound = bind_wirelink(wl, sim, missing, "wlsim_bench.dll");
    for (const std::string &name : missing) std::printf("cannot bind %s\n", name.c_str());
    return bound && fake.bench_read && fake.bench_write;
}

std::vector<TestCase> end_to_end_cases() {
    std::vector<TestCase> cases = wire_cases(wl, sim);
    cases.insert(
        cases.end(),
        {
            NAMED_CASE(expander_write_reaches_the_bench_through_the_serial_api),
            NAMED_CASE(the_ports_come_from_the_variable_and_wirelink_ini_and_a_missing_one_is_told_once),
            NAMED_CASE(every_operation_changes_lines_and_reads_the_status),
            NAMED_CASE(wider_accesses_are_byte_accesses_at_rising_addresses),
            NAMED_CASE(unloading_puts_the_ports_settings_back),
        });
    return cases;
}
