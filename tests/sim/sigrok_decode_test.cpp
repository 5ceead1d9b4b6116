// sigrok-cli's I2C decoder, written independently of the bench's own bus
// monitor, reads the waveform file of each scenario and must find the same
// conditions, bytes and acknowledges, at every port delay.  Without
// sigrok-cli the tests are skipped.
#include "wire_test.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <tuple>
#include <vector>

#include "hd44780.h"
#include "pcf8591.h"
#include "recording_slave.h"

namespace {

const char kDecode[] =
    "sigrok-cli -I vcd -i '%s' -P i2c:scl=SCL:sda=SDA:address_format=unshifted "
    "-A i2c=start:repeat-start:stop:ack:nack:address-read:address-write:data-read:data-write "
    "--protocol-decoder-samplenum 2>&1";

bool sigrok_installed() { return std::system("sigrok-cli --version >/dev/null 2>&1") == 0; }

// One annotation ("854-854 i2c-1: Stop", "143-402 i2c-1: Address write: 72")
// in the monitor's notation; empty for the R/W bit's own annotation.
std::string monitor_token(const std::string &line) {
    const std::size_t at = line.find(": ");
    if (at == std::string::npos) return "?" + line;
    const std::string text = line.substr(at + 2);
    if (text == "Start") return "S";
    if (text == "Start repeat") return "Sr";
    if (text == "Stop") return "P";
    if (text == "ACK") return "A";
    if (text == "NACK") return "N";
    if (text == "Read" || text == "Write") return "";
    const std::size_t byte_at = text.rfind(": ");
    if (text.rfind("Address", 0) == 0 || text.rfind("Data", 0) == 0) return text.substr(byte_at + 2);
    return "?" + text;
}

std::string sigrok_decode(const std::string &vcd) {
    char command[512];
    std::snprintf(command, sizeof command, kDecode, vcd.c_str());
    FILE *pipe = popen(command, "r");
    if (pipe == nullptr) return "cannot run sigrok-cli";
    std::string decoded;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const std::string token = monitor_token(text);
        if (token.empty()) continue;
        decoded += (decoded.empty() ? "" : " ") + token;
    }
    if (pclose(pipe) != 0) decoded += " (sigrok-cli failed)";
    return decoded;
}

// The monitor's events as sigrok 0.5 sees them.  After a START its decoder
// waits only for the first address bit, so a STOP that follows the START
// with no clock between goes unseen, and so does the START after that STOP.
// The converter's failed read makes exactly that on purpose (a STOP after
// the write's own STOP); those events are left out of the comparison.
std::string what_sigrok_sees(const std::deque<wlsim::BusEvent> &events) {
    using Kind = wlsim::BusEvent::Kind;
    std::string seen;
    bool addressing = false;  // a START seen, no clock yet
    bool stop_missed = false;
    for (const wlsim::BusEvent &event : events) {
        const bool start = event.kind == Kind::start || event.kind == Kind::repeated_start;
        if (addressing && (event.kind == Kind::stop || (stop_missed && start))) {
            stop_missed = event.kind == Kind::stop;
            continue;
        }
        addressing = start;
        stop_missed = false;
        seen += (seen.empty() ? "" : " ") + event.text();
    }
    return seen;
}

struct Scenario {
    const char *name;
    void (*run)();
    friend void PrintTo(const Scenario &scenario, std::ostream *os) { *os << scenario.name; }
};

const Scenario kScenarios[] = {
    {"ExpanderWriteAndRead",
     [] {
         iic_tx_pcf8574(0x89, 1);
         iic_rx_pcf8574(1);
     }},
    {"ConverterReadSetReadAll",
     [] {
         ad_pcf8591_init(0, 2550);
         ad_pcf8591_readchan(2, 0);
         ad_pcf8591_setda(1275, 0);
         pcf8591_state state{};
         pcf8591_init(&state, 0, 2.55f);
         pcf8591_read4chan(&state, 0);
     }},
    {"DisplayInitAndText",
     [] {
         lcd_init();
         lcd_write_str("Hi!");
     }},
    {"Synthesizers",
     [] {
         pll_tsa5511_init(0x8E, 3'200'000, 0);
         pll_tsa5511_calc(100'000'000, 0);
         pll_tsa5511_send(0);
         pll_tsa5511_read(0);
         pll_tsa5523_init(0x8E);
         pll_tsa5523_calc(100'000'000, 0);
         pll_tsa5523_send(0);
         pll_sda3302_init(0x8E);
         pll_sda3302_calc(100'000'000, 0);
         pll_sda3302_send(0);
         pll_tbb200_init(0, 12'800'000, 64);
         pll_tbb200_calc(25'000, 100'000'000);
         pll_tbb200_send_status(1);
         pll_tsa6057_init(0, 0);
         pll_tsa6057_calc(100'000'000, 0);
         pll_tsa6057_send(0);
     }},
    {"AbsentChips",
     [] {
         iic_rx_pcf8574(5);
         ad_pcf8591_readchan(0, 3);  // the STOP right after a START
         iic_tx_pcf8574(0x12, 1);
     }},
    {"RepeatedStartAfterFailedWrite",
     [] {
         iic_tx_pcf8574(0x12, 6);
         iic_tx_pcf8574(0x34, 1);
     }},
};

class SigrokDecode : public StandardBoardTest,
                     public ::testing::WithParamInterface<std::tuple<Scenario, int>> {
protected:
    void SetUp() override {
        if (!sigrok_installed())
            GTEST_SKIP() << "sigrok-cli is not installed (Debian package sigrok-cli; scripts/test.sh "
                            "installs it): the independent decoder check is skipped";
        wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
        bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
        bench.add_pcf8574(1);
        bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
        bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC0);
        bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC4, wlsim::RecordingSlave::WriteOnly{});
        claim();
    }
};

TEST_P(SigrokDecode, FindsWhatTheMonitorFound) {
    const auto &[scenario, delay] = GetParam();
    const std::string vcd =
        ::testing::TempDir() + "wirelink_" + scenario.name + "_" + std::to_string(delay) + ".vcd";
    set_port_delay(delay);
    bench.record_waveforms(vcd);
    scenario.run();
    bench.stop_waveforms();
    EXPECT_EQ(sigrok_decode(vcd), what_sigrok_sees(bench.bus().monitor().events()));
    EXPECT_THAT(bench.bus().monitor().violations(), ::testing::IsEmpty());
    std::remove(vcd.c_str());
}

INSTANTIATE_TEST_SUITE_P(Delays, SigrokDecode,
                         ::testing::Combine(::testing::ValuesIn(kScenarios),
                                            ::testing::Values(0, 1, 10, 100)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) + "_delay" +
                                    std::to_string(std::get<1>(info.param));
                         });

}  // namespace
