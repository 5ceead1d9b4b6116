// Measures the I2C timing of UM10204 Table 10 from the waveform that the
// simulated bench writes, at 1 us per port access, for several port delays,
// and tells which delays keep within standard mode and fast mode.
//
//   wave_timing                    prints the table
//   wave_timing --picture FILE     writes the waveform of one PCF8574 write
//                                  at delay 10, for the README's picture
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench.h"
#include "i2c_timing.h"
#include "operations.h"
#include "wirelink.h"

namespace {

constexpr int kDelays[] = {0, 1, 2, 3, 10, 100};
constexpr uint32_t kAccessNs = 1000;

// Records what `run` puts on the wire at `delay`, from an idle bus, into path.
template <typename Run>
void record(wlsim::Bench &bench, const std::string &path, int delay, Run run) {
    set_port_delay(delay);
    iic_stop();
    bench.record_waveforms(path, kAccessNs);
    run();
    bench.stop_waveforms();
}

// Table cells are padded to one width; trailing blanks are cut off.
void print_line(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    std::printf("%s\n", line.c_str());
}

std::string cell(const char *text, int width = 8) {
    char padded[32];
    std::snprintf(padded, sizeof padded, "%-*s", width, text);
    return padded;
}

void print_header() {
    std::string names = cell("", 11), units = cell("", 11), standard = cell("std limit", 11),
                fast = cell("fast limit", 11);
    for (const Limits &limits : table10()) {
        char limit[2][16];
        for (int mode = 0; mode < 2; ++mode)
            std::snprintf(limit[mode], sizeof limit[mode], "%s%g",
                          limits.is_maximum ? "<=" : ">=", mode == 1 ? limits.fast : limits.standard);
        names += cell(limits.name);
        units += cell(limits.unit);
        standard += cell(limit[0]);
        fast += cell(limit[1]);
    }
    print_line(names + cell("standard", 9) + "fast");
    print_line(units);
    print_line(standard);
    print_line(fast);
}

// A value outside the standard-mode limit is marked *, outside fast mode **.
void print_row(int delay, const I2cTiming &timing) {
    char label[16];
    std::snprintf(label, sizeof label, "delay %d", delay);
    std::string line = cell(label, 11);
    for (std::size_t i = 0; i < kParameters; ++i) {
        const auto parameter = static_cast<Parameter>(i);
        const char *mark = !timing.within(parameter, true)    ? "**"
                           : !timing.within(parameter, false) ? "*"
                                                              : "";
        char value[16] = "-";
        if (timing.value(parameter) >= 0)
            std::snprintf(value, sizeof value, "%.1f%s", timing.value(parameter), mark);
        line += cell(value);
    }
    line += cell(timing.within_mode(false) ? "pass" : "FAIL", 9);
    line += timing.within_mode(true) ? "pass" : "FAIL";
    print_line(line);
}

int print_table(wlsim::Bench &bench) {
    const std::string path = (std::filesystem::temp_directory_path() / "wirelink-wave-timing.vcd").string();
    std::printf(
        "I2C timing measured from the simulated waveform at %u us per port access:\n"
        "shortest times and highest SCL frequency over every transaction of the\n"
        "table above, a failed write and the repeated START after it\n\n",
        kAccessNs / 1000);
    print_header();
    for (int delay : kDelays) {
        record(bench, path, delay, timing_run);
        print_row(delay, I2cTiming(read_vcd_lines(path)));
    }
    std::filesystem::remove(path);
    std::printf(
        "\n* outside standard mode, ** outside fast mode too.  tHD;DAT is 0 because the\n"
        "simulated chips move SDA in the port access that lowers SCL; the library's own\n"
        "data changes come d + 2 accesses after it.\n");
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    wlsim::Bench bench;
    bench.add_uart(wlsim::kCom1, true);
    fit_chips(bench);
    wlsim::attach(&bench);
    if (init_iic(1) != 0x3F8) {
        std::fprintf(stderr, "wave_timing: the simulated adapter did not answer on 0x3F8\n");
        return 1;
    }
    int status = 0;
    try {
        if (argc == 3 && std::string(argv[1]) == "--picture")
            record(bench, argv[2], 10, [] { iic_tx_pcf8574(0x89, 1); });
        else
            status = print_table(bench);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "wave_timing: %s\n", error.what());
        status = 1;
    }
    wlsim::attach(nullptr);
    return status;
}
