// The COM-port driver over fake COM ports: which port it opens, how it opens
// and closes it, the calls each register access costs, and a port that goes
// away.  The clock is the fake performance counter: nothing waits.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "fake_serial.h"
#include "serial_cases.h"
#include "windows_port_driver.h"

namespace {

constexpr unsigned long kData = 0x3F8, kMcr = 0x3FC, kMsr = 0x3FE, kScratch = 0x3FF;

// The driver as the DLL builds it, over the variables and wirelink.ini given.
struct Rig {
    std::vector<std::string> said;
    dlportio::WindowsPortDriver driver;

    explicit Rig(std::map<std::string, std::string> variables = {}, const std::string &ini = "")
        : driver(
              fake_serial_api(),
              [variables](const std::string &name) -> std::optional<std::string> {
                  const auto found = variables.find(name);
                  return found == variables.end() ? std::nullopt : std::optional(found->second);
              },
              write_ini(ini), [this](const std::string &line) { said.push_back(line); }) {}

    static std::filesystem::path write_ini(const std::string &text) {
        const auto path = std::filesystem::temp_directory_path() / "wirelink-serial-test.ini";
        std::filesystem::remove(path);
        if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

// COM1 alone, with CTS and DSR high.
FakeComPort &only_com1() {
    fake_serial().ports.clear();
    FakeComPort &port = fake_serial().add(L"\\\\.\\COM1");
    port.inputs = MS_CTS_ON | MS_DSR_ON;
    return port;
}

std::string escapes_of(const FakeComPort &port) {
    std::string text;
    for (const std::string &call : port.calls)
        if (call.starts_with("SET") || call.starts_with("CLR")) text += (text.empty() ? "" : " ") + call;
    return text;
}

void com1_is_the_port_that_the_variable_or_wirelink_ini_names() {
    const struct {
        const char *variable, *ini, *opened;  // opened "": none, the port reads empty
    } cases[] = {
        {nullptr, "", "\\\\.\\COM1"},
        {"COM7", "[ports]\nCOM1=COM9\n", "\\\\.\\COM7"},
        {nullptr, "[ports]\r\nCOM1=COM12\r\n", "\\\\.\\COM12"},
        {nullptr, "\xEF\xBB\xBF; the bench PC\n[ports]\nCOM1 = com10\n", "\\\\.\\com10"},
        {nullptr, "[other]\nCOM1=COM9\n", "\\\\.\\COM1"},
        {"\\\\.\\CNCA0", "", "\\\\.\\CNCA0"},
        {"off", "[ports]\nCOM1=COM9\n", ""},
        {nullptr, "[ports]\nCOM1 = OFF\n", ""},
        {nullptr, "\xFF\xFE[", "\\\\.\\COM1"},  // saved as UTF-16: told, and ignored
    };
    for (const auto &c : cases) {
        fake_serial().ports.clear();
        for (const wchar_t *name : {L"\\\\.\\COM1", L"\\\\.\\COM7", L"\\\\.\\COM9", L"\\\\.\\COM12",
                                    L"\\\\.\\com10", L"\\\\.\\CNCA0"})
            fake_serial().add(name).inputs = MS_CTS_ON;
        Rig rig(c.variable ? std::map<std::string, std::string>{{"WIRELINK_COM1", c.variable}}
                           : std::map<std::string, std::string>{},
                c.ini);
        std::string opened = rig.driver.read(kMsr) == MS_CTS_ON ? "" : "empty ";
        for (const FakeComPort &port : fake_serial().ports)
            if (port.count("CreateFileW")) opened += std::string(port.name.begin(), port.name.end());
        CHECK_EQ(opened, std::string(*c.opened ? "" : "empty ") + c.opened);
        CHECK_EQ(rig.said.size(), std::size_t{c.ini[0] == '\xFF'});
    }
}

void a_port_that_cannot_be_opened_reads_empty_and_says_why_once() {
    const struct {
        DWORD open_error;
        bool serial;
        const char *said;
    } cases[] = {
        {ERROR_ACCESS_DENIED, true,
         "wirelink: COM1: in use by another program (close it: a terminal program, another program on the "
         "adapter)"},
        {ERROR_FILE_NOT_FOUND, true,
         "wirelink: COM1: no such port (is the adapter plugged in? Device Manager lists the COM ports under "
         "\"Ports (COM & LPT)\"; name another with WIRELINK_COM1=COMn or in wirelink.ini, or set COM1=off "
         "there)"},
        {ERROR_GEN_FAILURE, true, "wirelink: COM1: cannot be opened: Windows error 31 (ERROR_GEN_FAILURE)"},
        {0, false, "wirelink: COM1: not a serial port (Windows error 1 (ERROR_INVALID_FUNCTION))"},
    };
    for (const auto &c : cases) {
        FakeComPort &port = only_com1();
        port.open_error = c.open_error;
        port.serial = c.serial;
        Rig rig;
        for (unsigned long address = kData; address <= kScratch; ++address) {
            rig.driver.write(address, 0x03);
            CHECK_EQ(rig.driver.read(address), 0xFF);
        }
        fake_serial().counter += 1'000'000;  // a second later it is tried again
        CHECK_EQ(rig.driver.read(kMsr), 0xFF);
        CHECK_EQ(port.count("CreateFileW"), 2);
        CHECK_EQ(port.count("CloseHandle"), c.serial ? 0 : 2);
        CHECK_EQ(rig.said.size(), std::size_t{1});
        CHECK_EQ(rig.said.front(), c.said);
    }
}

// Share mode 0 takes the port for this process alone; DTR and RTS become
// the program's, both low, flow control goes off, and the rest stays.
void the_port_is_taken_alone_set_up_and_put_back_at_release() {
    FakeComPort &port = only_com1();
    Rig rig;
    CHECK_EQ(rig.driver.read(kMcr), 0x00);
    CHECK_EQ(port.share_mode, DWORD{0});
    CHECK_EQ(port.settings.fDtrControl, DWORD{DTR_CONTROL_DISABLE});
    CHECK_EQ(port.settings.fRtsControl, DWORD{RTS_CONTROL_DISABLE});
    CHECK(!port.settings.fOutxCtsFlow && !port.settings.fOutxDsrFlow && !port.settings.fDsrSensitivity);
    CHECK_EQ(port.settings.BaudRate, DWORD{CBR_9600});
    CHECK_EQ(escapes_of(port), "CLRRTS CLRDTR");
    CHECK_EQ(port.calls.size(), std::size_t{6});  // and open, get, set, one status read
    rig.driver.release();
    const DCB usual = usual_settings();
    CHECK(std::memcmp(&port.settings, &usual, sizeof usual) == 0);
    CHECK(!port.open);
    CHECK_EQ(rig.driver.read(kMcr), 0xFF);
}

// One call per line that changes, none for the rest; when both change, SCL
// (RTS) is low while SDA (DTR) changes.  A status read is one call, with the
// change bits as the UART sets them (the ring indicator's on its trailing
// edge); other registers cost none.
void each_register_access_costs_one_call_per_changed_line() {
    const struct {
        uint8_t from, to;
        const char *calls;
    } writes[] = {
        {0x03, 0x03, ""},
        {0x03, 0x0B, ""},
        {0x00, 0x01, "SETDTR"},
        {0x03, 0x02, "CLRDTR"},
        {0x01, 0x03, "SETRTS"},
        {0x02, 0x00, "CLRRTS"},
        {0x03, 0x00, "CLRRTS CLRDTR"},
        {0x00, 0x03, "SETDTR SETRTS"},
        {0x01, 0x02, "CLRDTR SETRTS"},
        {0x02, 0x01, "CLRRTS SETDTR"},
    };
    for (const auto &w : writes) {
        FakeComPort &port = only_com1();
        Rig rig;
        rig.driver.write(kMcr, w.from);
        port.calls.clear();
        rig.driver.write(kMcr, w.to);
        char row[16];
        std::snprintf(row, sizeof row, "%02X->%02X: ", w.from, w.to);
        CHECK_EQ(row + escapes_of(port), row + std::string(w.calls));
        CHECK_EQ(port.mcr, w.to & 0x03);
    }

    const struct {
        uint8_t inputs, status;
    } reads[] = {{0x30, 0x30}, {0x10, 0x12}, {0x50, 0x50}, {0x10, 0x14}, {0x90, 0x98}, {0x90, 0x90}};
    FakeComPort &port = only_com1();
    Rig rig;
    rig.driver.read(kData);  // opens it, with CTS and DSR high
    port.calls.clear();
    for (const auto &r : reads) {
        port.inputs = r.inputs;
        CHECK_EQ(rig.driver.read(kMsr), r.status);
    }
    for (unsigned long address : {kData, kData + 3, kScratch}) {
        rig.driver.write(address, 0x5A);
        rig.driver.read(address);
    }
    CHECK_EQ(port.calls.size(), std::size_t{6});
}

// An unplugged cable: every call fails, the port reads empty, and it is
// looked for again at most once a second until it is back.
void a_port_that_goes_away_is_looked_for_once_a_second() {
    FakeComPort &port = only_com1();
    Rig rig;
    CHECK_EQ(rig.driver.read(kMsr), 0x30);
    port.call_error = ERROR_BAD_COMMAND;
    port.open_error = ERROR_FILE_NOT_FOUND;
    CHECK_EQ(rig.driver.read(kMsr), 0xFF);
    CHECK(!port.open);
    rig.driver.write(kMcr, 0x03);
    CHECK_EQ(rig.driver.read(kMsr), 0xFF);
    CHECK_EQ(port.count("CreateFileW"), 1);
    fake_serial().counter += 1'000'000;
    CHECK_EQ(rig.driver.read(kMsr), 0xFF);
    CHECK_EQ(port.count("CreateFileW"), 2);

    port.call_error = port.open_error = 0;  // plugged back in
    CHECK_EQ(rig.driver.read(kMsr), 0xFF);
    fake_serial().counter += 1'000'000;
    CHECK_EQ(rig.driver.read(kMsr), 0x30);
    CHECK_EQ(port.count("CreateFileW"), 3);
    CHECK_EQ(rig.said.size(), std::size_t{2});
    CHECK_EQ(rig.said.front(),
             "wirelink: COM1: the device went away (Windows error 22 (ERROR_BAD_COMMAND)); "
             "the port reads empty until it is back");
    CHECK_EQ(rig.said.back(), "wirelink: COM1: found again");
}

}  // namespace

std::vector<TestCase> serial_driver_cases() {
    return {
        NAMED_CASE(com1_is_the_port_that_the_variable_or_wirelink_ini_names),
        NAMED_CASE(a_port_that_cannot_be_opened_reads_empty_and_says_why_once),
        NAMED_CASE(the_port_is_taken_alone_set_up_and_put_back_at_release),
        NAMED_CASE(each_register_access_costs_one_call_per_changed_line),
        NAMED_CASE(a_port_that_goes_away_is_looked_for_once_a_second),
    };
}
