// The wirelink tool as a user runs it.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;  // exit status, or 128 + the signal that ended the program
    std::string out;
    std::string err;
};

std::string slurp(const fs::path &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Running {
    pid_t pid = 0;
    fs::path dir;  // its standard output and error
};

// Starts a program with extra environment settings ("NAME=value").
Running start_program(const std::string &program, const std::vector<std::string> &arguments,
                      const std::vector<std::string> &settings = {}) {
    const fs::path dir = fs::temp_directory_path() / ("wirelink_cli_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path out = dir / "out", err = dir / "err";
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv, envp;
    for (std::string &word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment(settings);
    for (char **entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
    for (std::string &entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    Running running{0, dir};
    if (posix_spawn(&running.pid, program.c_str(), &files, nullptr, argv.data(), envp.data()) != 0) {
        running.pid = 0;
    }
    posix_spawn_file_actions_destroy(&files);
    return running;
}

Outcome finish_program(const Running &running) {
    int status = -1;
    if (running.pid != 0) waitpid(running.pid, &status, 0);
    Outcome outcome{WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status),
                    slurp(running.dir / "out"), slurp(running.dir / "err")};
    fs::remove_all(running.dir);
    return outcome;
}

Outcome run_program(const std::string &program, const std::vector<std::string> &arguments,
                    const std::vector<std::string> &settings = {}) {
    return finish_program(start_program(program, arguments, settings));
}

Outcome wirelink(const std::vector<std::string> &arguments, const std::vector<std::string> &settings = {}) {
    return run_program(WIRELINK_TOOL, arguments, settings);
}

std::vector<std::string> words(const std::string &line) {
    std::istringstream in(line);
    std::vector<std::string> list;
    for (std::string word; in >> word;) list.push_back(word);
    return list;
}

std::vector<std::string> lines_starting(const std::string &text, const std::string &prefix) {
    std::istringstream in(text);
    std::vector<std::string> found;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
    }
    return found;
}

const char *const kDefaultBoardGrid =
    "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f\n"
    "00:                         -- -- -- -- -- -- -- --\n"
    "10: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
    "20: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
    "30: -- -- -- -- -- -- -- -- 38 39 3a -- -- -- -- --\n"
    "40: -- -- -- -- -- -- -- -- 48 -- -- -- -- -- -- --\n"
    "50: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
    "60: -- -- -- -- -- -- -- -- -- -- -- -- -- -- -- --\n"
    "70: -- -- -- -- -- -- -- --\n";

std::string repeated(const std::string &text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

struct Case {
    std::string command;  // after "wirelink --sim"
    int status;
    std::string out;
    std::string err;
};

void expect_case(const Case &c, const Outcome &outcome) {
    EXPECT_EQ(outcome.status, c.status) << c.command << "\n" << outcome.err;
    EXPECT_EQ(outcome.out, c.out) << c.command;
    EXPECT_EQ(outcome.err, c.err) << c.command;
}

// get, set and dump as i2cget, i2cset and i2cdump have them (the PCF8591 at
// 0x48 reads its control byte, then the inputs), and detect's probes: a
// read where a write could harm (0x30-0x37, 0x50-0x5f), a write elsewhere.
TEST(WirelinkTool, RegisterCommandsAndProbesFollowTheStandardTools) {
    const Case cases[] = {
        {"-y get 0x48 0x40 w --trace", 0, "S 90 A 40 A Sr 91 A 80 A 00 N P\n0x0080\n", ""},
        {"get 0x48 2 c --trace", 0, "S 90 A 02 A P\nS 91 A 80 N P\n0x80\n", ""},
        {"get 0x39 -y", 0, "0xff\n", ""},
        {"set 0x39 0x5a --trace", 0, "S 72 A 5A A P\n", ""},
        {"set 0x48 0x40 0x1234 w --trace", 0, "S 90 A 40 A 34 A 12 A P\n", ""},
        {"dump 0x48 0x0e 0x11", 0,
         "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f    0123456789abcdef\n"
         "00:                                           80 64                  ?d\n"
         "10: c8 80                                              ??              \n",
         ""},
        {"dump 0x48 0 3 w", 0,
         "     0,8  1,9  2,a  3,b  4,c  5,d  6,e  7,f\n00: 0080 0200 6403 c864                     \n", ""},
        {"get 0x50 0", 1, "", "wirelink: no acknowledge from 0x50\n"},
        {"get 0x03", 2, "",
         "wirelink: ADDRESS: 0x03 is a reserved address (0x00-0x07, 0x78-0x7f); -a to use it anyway\n"},
        {"get 0x48 0 x", 2, "", "wirelink: MODE: 'x' is not one of bwc\n"},
        {"detect 0x2f 0x31 --trace", 0,
         "S 5E N P\nS 61 N P\nS 63 N P\n"
         "     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f\n00:\n10:\n"
         "20:                                              --\n30: -- --\n40:\n50:\n60:\n70:\n",
         ""},
        {"detect -a -q 0x7f 0x7f --trace", 0,
         "S FE N P\n     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f\n00:\n10:\n20:\n30:\n40:\n50:\n60:\n"
         "70:                                              --\n",
         ""},
        // An expander by address: a plain PCF8574 (none on the board) or the index form's wire.
        {"expander --address 0x20 0x5a --trace", 1, "S 40 N P\n", "wirelink: no acknowledge from 0x20\n"},
        {"expander --address 0x3a 0x5a --trace", 0, "S 74 A 5A A P\n", ""},
        {"expander --address 0x3a", 0, "0xff\n", ""},
        // Chip names as the tool prints them are taken too.
        {"pll TSA5511 145.5M --dry-run", 0, "TSA5511: divider 2328, tunes 145500000 Hz\nC0 09 18 8E 00\n",
         ""},
        {"detect 0 3", 2, "",
         "wirelink: FIRST: 0x00 is a reserved address (0x00-0x07, 0x78-0x7f); -a to use it anyway\n"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments = {"--sim"};
        for (const std::string &word : words(c.command)) arguments.push_back(word);
        expect_case(c, wirelink(arguments));
    }
}

// --json: one object per result, read back as a program would.
TEST(WirelinkTool, JsonResultsParseBackWithTheirDocumentedKeys) {
    using Json = nlohmann::json;
    const std::pair<std::string, Json> cases[] = {
        {"probe", Json::parse(R"({"port":"COM1","base":1016,"status":34})")},
        {"detect", Json::parse(R"({"first":8,"last":119,"addresses":[56,57,58,72]})")},
        {"transfer w1@0x48 0x42 r2@0x48", Json::parse(R"({"reads":[[128,100]]})")},
        {"get 0x48 0x40 w", Json::parse(R"({"address":72,"register":64,"size":"w","value":128})")},
        {"get 0x39", Json::parse(R"({"address":57,"register":null,"size":"b","value":255})")},
        {"dump 0x48 0 3",
         Json::parse(R"({"address":72,"first":0,"last":3,"size":"b","values":[128,0,2,100]})")},
        {"expander 2", Json::parse(R"({"address":58,"value":255})")},
        {"pll sda3302 145.5M --dry-run",
         Json::parse(R"({"chip":"SDA3302","address":96,"frequency":145500000,"divider":2924,"tunes":145450000,
                         "step":62500,"nearest":145512500,"transactions":[[192,11,108,206,2]]})")},
        {"pll tbb200 145M --mode 1 --dry-run",
         Json::parse(R"({"chip":"TBB200","address":98,"frequency":145000000,"divider":5800,"tunes":145000000,
                         "step":25000,"nearest":145000000,
                         "transactions":[[197,9,248],[197,5,2,0],[197,13,2,128,90]]})")},
    };
    for (const auto &[command, expected] : cases) {
        std::vector<std::string> arguments = {"--sim", "--json"};
        for (const std::string &word : words(command)) arguments.push_back(word);
        const Outcome outcome = wirelink(arguments);
        EXPECT_EQ(outcome.status, 0) << command << outcome.err;
        ASSERT_TRUE(outcome.out.ends_with("}\n")) << outcome.out;
        EXPECT_EQ(Json::parse(outcome.out), expected) << command;
    }
    const Outcome adc = wirelink({"--sim", "--json", "adc"});
    std::istringstream lines(adc.out);
    int channel = 0;
    for (std::string line; std::getline(lines, line); ++channel) {
        const Json reading = Json::parse(line);
        EXPECT_EQ(reading.at("channel"), channel);
        EXPECT_TRUE(reading.at("code").is_number() && reading.at("millivolts").is_number()) << line;
    }
    EXPECT_EQ(channel, 4);
    const Outcome refused = wirelink({"--sim", "--json", "get", "0x50"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "wirelink: no acknowledge from 0x50\n");
    expect_case({"", 1, "", "wirelink: no acknowledge from 0x60 (TSA5511)\n"},
                wirelink({"--sim", "--json", "pll", "tsa5511", "145.5M"}));
}

// What each command prints and puts on the wire of the default board.  Its
// synthesizers are absent, so they show every byte unacknowledged.
TEST(WirelinkTool, CommandsOnTheSimulatedBench) {
    const Case cases[] = {
        {"detect", 0, kDefaultBoardGrid, ""},
        {"expander 1 0x5a --trace", 0, "S 72 A 5A A P\n", ""},
        {"expander 2", 0, "0xff\n", ""},
        {"transfer w1@0x48 0x42 r2@0x48 --trace", 0, "S 90 A 42 A Sr 91 A 80 A 64 N P\n0x80 0x64\n", ""},
        // Suffixes fill the rest of a write as i2ctransfer does, each in 8 bits.
        {"transfer w4@0x39 0xfe+ --trace", 0, "S 72 A FE A FF A 00 A 01 A P\n", ""},
        {"transfer w3@0x39 0x01- --trace", 0, "S 72 A 01 A 00 A FF A P\n", ""},
        {"transfer w4@0x39 0x01 0x7f= --trace", 0, "S 72 A 01 A 7F A 7F A 7F A P\n", ""},
        {"transfer w5@0x39 0x00p --trace", 0, "S 72 A 00 A 50 A B0 A 71 A EE A P\n", ""},
        {"transfer w4@0x39 0x10+ 0x20", 2, "",
         "wirelink: transfer: '0x20' is a byte too many: the write before it takes 4 bytes\n"},
        {"adc 3 --trace", 0, "S 90 A 47 A P\nS 91 A 80 A C8 N P\nAIN3: 200  1992 mV\n", ""},
        {"dac 2500 --trace", 0, "S 90 A 40 A FA A P\nAOUT: 250  2490 mV\n", ""},
        {"dac 2550 --trace", 0, "S 90 A 40 A FF A P\nAOUT: 255  2540 mV\n", ""},
        {"recover --trace", 0, "P\nbus is free (SDA was not held)\n", ""},
        {"pll tsa5511 145.5M --trace", 1,
         "TSA5511: divider 2328, tunes 145500000 Hz\n"
         "C0 09 18 8E 00\n"
         "S C0 N 09 N 18 N 8E N 00 N P\n",
         "wirelink: no acknowledge from 0x60 (TSA5511)\n"},
        {"pll tsa5523 145.5M --offset 2 --trace", 1,
         "TSA5523: divider 3656, tunes 145500000 Hz\n"
         "C2 0E 48 8E A0\n"
         "S C2 N 0E N 48 N 8E N A0 N P\n",
         "wirelink: no acknowledge from 0x61 (TSA5523)\n"},
        {"pll sda3302 145.5M --trace", 1,
         "SDA3302: divider 2924, tunes 145450000 Hz\n"
         "C0 0B 6C CE 02\n"
         "S C0 N 0B N 6C N CE N 02 N P\n",
         "wirelink: SDA3302: 145.5 MHz asked for, tunes 145.45 MHz (step 62.5 kHz); the nearest is "
         "145.5125 MHz: add --nearest to tune it\n"
         "wirelink: no acknowledge from 0x60 (SDA3302)\n"},
        {"pll tsa6057 98.1M --step 25k --trace", 1,
         "TSA6057: divider 3924, tunes 98100000 Hz\n"
         "C4 00 A9 1E 84 00\n"
         "S C4 N 00 N A9 N 1E N 84 N 00 N P\n",
         "wirelink: no acknowledge from 0x62 (TSA6057)\n"},
        {"pll tbb200 145M --trace", 1,
         "TBB200: divider 5800, tunes 145000000 Hz\nC4 08 F8\nC4 04 02 00\nC4 0C 16 A8\n"
         "S C4 N 08 N F8 N P\nS C4 N 04 N 02 N 00 N P\nS C4 N 0C N 16 N A8 N P\n",
         "wirelink: no acknowledge from 0x62 (TBB200)\n"},
        {"pll tsa5523 145.5M --band 0x55 --dry-run", 0,
         "TSA5523: divider 3656, tunes 145500000 Hz\nC0 0E 48 8E 55\n", ""},
        // COM2 has no adapter: a dry run that claimed a port would fail.
        {"--port com2 pll tsa5511 145.5M --dry-run --trace", 0,
         "TSA5511: divider 2328, tunes 145500000 Hz\nC0 09 18 8E 00\n", ""},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments = words(c.command);
        arguments.insert(arguments.begin(), "--sim");
        expect_case(c, wirelink(arguments));
    }
}

// A frequency between two steps: both frequencies and the step on standard
// error, and --nearest tunes the nearer step (the library's own divider).
TEST(WirelinkTool, PllSaysWhenTheFrequencyFallsBetweenSteps) {
    const Case cases[] = {
        {"pll SDA3302 145.5125M --dry-run", 0, "SDA3302: divider 2925, tunes 145512500 Hz\nC0 0B 6D CE 02\n",
         ""},
        {"pll sda3302 145.5M --dry-run --nearest", 0,
         "SDA3302: divider 2925, tunes 145512500 Hz\nC0 0B 6D CE 02\n",
         "wirelink: SDA3302: 145.5 MHz asked for, tunes 145.5125 MHz, the nearest (step 62.5 kHz)\n"},
        {"pll sda3302 145.5M --dry-run --step-mode 2 --nearest", 0,
         "SDA3302: divider 2924, tunes 145450000 Hz\nC0 0B 6C CE 02\n",
         "wirelink: SDA3302: 145.5 MHz asked for, tunes 145.45 MHz, the nearest (step 250 kHz)\n"},
        {"pll tsa5511 145.51M --step-mode 1 --dry-run", 0,
         "TSA5511: divider 2328, tunes 145500000 Hz\nC0 09 18 8E 00\n",
         "wirelink: TSA5511: 145.51 MHz asked for, tunes 145.5 MHz, the nearest (step 125 kHz)\n"},
        {"pll tbb200 145.02M --dry-run --nearest", 0,
         "TBB200: divider 5801, tunes 145025000 Hz\nC4 08 F8\nC4 04 02 00\nC4 0C 16 A9\n",
         "wirelink: TBB200: 145.02 MHz asked for, tunes 145.025 MHz, the nearest (step 25 kHz)\n"},
        {"pll tsa6057 98.1066M --dry-run", 0, "TSA6057: divider 9810, tunes 98100000 Hz\nC4 00 A5 4C 44 00\n",
         "wirelink: TSA6057: 98.1066 MHz asked for, tunes 98.1 MHz (step 10 kHz); the nearest is 98.11 MHz: "
         "add "
         "--nearest to tune it\n"},
        {"pll tsa5511 2047.99M --dry-run", 0, "TSA5511: divider 32767, tunes 2047937500 Hz\nC0 7F FF 8E 00\n",
         "wirelink: TSA5511: 2047.99 MHz asked for, tunes 2047.9375 MHz, the nearest\n"},
    };
    for (const Case &c : cases) expect_case(c, wirelink(words(c.command)));
}

TEST(WirelinkTool, ErrorsExitWithTheirStatusAndOneLineNamingTheCause) {
    const Case cases[] = {
        {"expander x1", 2, "", "wirelink: INDEX: 'x1' is not a number (decimal, or hex as 0x5a)\n"},
        {"expander 8", 2, "", "wirelink: INDEX: 8 is out of range (0 to 7)\n"},
        {"transfer w1@0x80 0x00", 2, "",
         "wirelink: address in w1@0x80: 0x80 is out of range (0x00 to 0x7f)\n"},
        {"transfer w2@0x48 0x40", 2, "", "wirelink: transfer: w2@0x48 needs 2 data bytes, got 1\n"},
        {"detect 0x50 0x40", 2, "", "wirelink: FIRST 0x50 is above LAST 0x40\n"},
        {"--delay 256 probe", 2, "", "wirelink: --delay: 256 is out of range (0 to 255)\n"},
        {"--port com3 probe", 2, "",
         "wirelink: --port: 'com3' is not com1, com2, search, off or a device (/dev/ttyUSB0, "
         "ftdi:SERIAL)\n"},
        {"pll tsa5511 145.5m", 2, "",
         "wirelink: FREQ: '145.5m' is not a frequency (for example 145.5M, 12800k, 4000000)\n"},
        {"pll tsa5511 2100M", 2, "",
         "wirelink: FREQ: 2100M needs divider 33600; the TSA5511 takes at most 32767\n"},
        {"pll tsa5511 1G --offset 1", 2, "",
         "wirelink: --offset: 1 is odd, which would make a read address\n"},
        {"lcd print seventeen_chars!!", 2, "", "wirelink: TEXT: 17 characters; a line holds 16\n"},
        {"lcd print äöüäöüäöüäöüäöüäö", 2, "", "wirelink: TEXT: 17 characters; a line holds 16\n"},
        {"lcd print Grüße→Ärger", 2, "",
         "wirelink: TEXT: 'Ä' (U+00C4) at character 7 is not in the display's character set (--raw sends "
         "bytes "
         "unchanged)\n"},
        {"scan", 2, "",
         "wirelink: 'scan' is not a command; give one of probe, detect, transfer, recover, get, set, dump, "
         "expander, adc, dac, lcd, pll, ports (see wirelink --help)\n"},
        // Stray words named in the order typed, with the command they went to.
        {"pll --dry-run 145M foo", 2, "",
         "wirelink: pll: give a command before --dry-run: tsa5511, tsa5523, tbb200, tsa6057, sda3302 (see "
         "wirelink pll --help)\n"},
        {"lcd print a b c", 2, "",
         "wirelink: lcd print: arguments 'b' 'c' not expected: more than the command takes (quote a text "
         "with "
         "blanks; see wirelink lcd print --help)\n"},
        {"probe --bogus", 2, "", "wirelink: probe: no option --bogus (see wirelink probe --help)\n"},
        {"get", 2, "",
         "wirelink: get: ADDRESS is missing: 7-bit chip address (0x08-0x77) (see wirelink get --help)\n"},
        {"adc --every", 2, "", "wirelink: --every: needs a value (INTERVAL; see wirelink adc --help)\n"},
        {"lcd", 2, "", "wirelink: lcd needs a command: init, print, read, clear (try --help)\n"},
        {"transfer r1@0x50", 1, "", "wirelink: no acknowledge from 0x50\n"},
        {"transfer w1@0x48 0x40 r1@0x50", 1, "", "wirelink: no acknowledge from 0x50\n"},
        {"transfer" + repeated(" w0@0x48", 43), 2, "",
         "wirelink: transfer: 43 messages, at most 42 go in one transaction\n"},
        {"expander 3 0x12 --trace", 1, "S 76 N P\n", "wirelink: no acknowledge from 0x3b (expander 3)\n"},
        {"adc --address 1", 1, "", "wirelink: no acknowledge from 0x49 (converter 1)\n"},
        {"--port com2 probe", 3, "",
         "wirelink: no adapter found on COM2 (the simulated bench has it on COM1)\n"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments = {"--sim"};
        for (const std::string &word : words(c.command)) arguments.push_back(word);
        expect_case(c, wirelink(arguments));
    }
}

// The tool decodes the wire from its own port accesses, so that --trace
// works on real adapters too; on the simulated bench it must read exactly
// what the bench's own bus monitor saw (WLSIM_TRACE prints that as "i2c: ").
// With runs of line steps (an FTDI cable's fast path, WLSIM_RUNS) the tool
// taps the runs as it taps the registers.
TEST(WirelinkTool, TraceAgreesWithTheSimulatedBusMonitor) {
    const char *const commands[] = {"lcd print Hello --init", "lcd read 3", "detect -r", "adc", "recover",
                                    "transfer w2@0x39 1 2 r1"};
    for (const char *runs : {"WLSIM_RUNS=0", "WLSIM_RUNS=4096"})
        for (const char *command : commands) {
            std::vector<std::string> arguments = {"--sim", "--trace"};
            for (const std::string &word : words(command)) arguments.push_back(word);
            const Outcome outcome = wirelink(arguments, {"WLSIM_TRACE=1", runs});
            const std::vector<std::string> monitor = lines_starting(outcome.out, "i2c: ");
            std::vector<std::string> decoded;
            for (const std::string &line : lines_starting(outcome.out, "")) {
                if (line.rfind("S ", 0) == 0 || line == "P") decoded.push_back(line);
            }
            EXPECT_FALSE(monitor.empty()) << command << " " << runs;
            EXPECT_EQ(decoded, monitor) << command << " " << runs;
        }
}

// Without any adapter: what could carry it, and what COM1 and COM2 are set
// to, a device named on the command line included.
TEST(WirelinkTool, PortsListsWithoutAnAdapter) {
    const Outcome named = wirelink({"ports"}, {"WIRELINK_COM1=ftdi:A5XK3RJT", "WIRELINK_COM2=off"});
    EXPECT_EQ(named.status, 0);
    for (const char *part :
         {"Serial devices:\n", "FTDI cables through libusb:\n", "  COM1 = ftdi:A5XK3RJT\n  COM2 = off\n"})
        EXPECT_NE(named.out.find(part), std::string::npos) << part;
    const Outcome json = wirelink({"--json", "ports"}, {"WIRELINK_COM1=ftdi:A5XK3RJT", "WIRELINK_COM2=off"});
    EXPECT_EQ(json.status, 0) << json.err;
    const nlohmann::json listed = nlohmann::json::parse(json.out);
    EXPECT_EQ(listed.at("configured"), nlohmann::json::parse(R"({"COM1":"ftdi:A5XK3RJT","COM2":"off"})"));
    for (const auto &port : listed.at("serial")) {
        EXPECT_TRUE(port.at("device").get<std::string>().starts_with("/dev/tty")) << port;
        EXPECT_TRUE(port.at("type") == "uart" || port.at("type") == "usb") << port;
    }
    EXPECT_TRUE(listed.at("ftdi").is_array() || listed.at("ftdi").is_null());
}

TEST(WirelinkTool, PrintShowsTheTextOnTheChosenLine) {
    const std::pair<const char *, const char *> cases[] = {{"1", "lcd 1: |Hello           |"},
                                                           {"2", "lcd 2: |Hello           |"}};
    for (const auto &[line, shown] : cases) {
        const Outcome outcome =
            wirelink({"--sim", "lcd", "print", "Hello", "--init", "--line", line}, {"WLSIM_TRACE=1"});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        const std::vector<std::string> display = lines_starting(outcome.out, "lcd ");
        ASSERT_FALSE(display.empty());
        EXPECT_EQ("lcd " + display.back(), shown);
    }  // UTF-8 in, the character ROM's codes in the display's memory.
    const Outcome mapped = wirelink({"--sim", "lcd", "print", "Grüße 20°C", "--init"}, {"WLSIM_TRACE=1"});
    EXPECT_EQ(mapped.status, 0) << mapped.err;
    EXPECT_EQ(lines_starting(mapped.out, "lcd 1: ").back(),
              "|Gr\xF5\xE2"
              "e 20\xDF"
              "C      |");
    const Outcome raw = wirelink({"--sim", "lcd", "print", "\xE1", "--raw", "--init"}, {"WLSIM_TRACE=1"});
    EXPECT_EQ(lines_starting(raw.out, "lcd 1: ").back(), "|\xE1               |");
}

TEST(WirelinkTool, EveryCommandHasHelp) {
    const char *const commands[] = {"",           "probe",       "detect",      "transfer",
                                    "recover",    "expander",    "adc",         "dac",
                                    "lcd",        "lcd init",    "lcd print",   "lcd read",
                                    "lcd clear",  "pll",         "pll tsa5511", "pll tsa5523",
                                    "pll tbb200", "pll tsa6057", "pll sda3302", "get",
                                    "set",        "dump"};
    for (const std::string command : commands) {
        std::vector<std::string> arguments = words(command);
        arguments.push_back("--help");
        const Outcome outcome = wirelink(arguments);
        EXPECT_EQ(outcome.status, 0) << command;
        EXPECT_NE(outcome.out.find("Usage: wirelink " + command), std::string::npos) << outcome.out;
        // The options of every command may follow it: its help names them.
        if (!command.empty()) {
            EXPECT_NE(outcome.out.find("GLOBAL OPTIONS:\n"), std::string::npos) << command;
            EXPECT_NE(outcome.out.find("--port PORT"), std::string::npos) << command;
        }
    }
    const Outcome version = wirelink({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("wirelink ")) << version.out;
}

// --- on a stand-in port driver, found by the ordinary library search -------

Outcome on_stub_driver(const std::vector<std::string> &arguments, std::vector<std::string> settings) {
    settings.push_back(std::string("LD_LIBRARY_PATH=") + STUB_DRIVER_DIR);
    return wirelink(arguments, settings);
}

TEST(WirelinkTool, ReportsNoAdapterOnEitherPort) {
    const Case cases[] = {
        {"probe", 3, "",
         "wirelink: no adapter found on COM1 or COM2; choose the port with --port (com1, com2, a device "
         "such as /dev/ttyUSB0 or ftdi:SERIAL), WIRELINK_COM1=DEVICE, or a line \"COM1 = DEVICE\" in "
         "~/.config/wirelink/ports.conf or /etc/wirelink/ports.conf (or try --sim)\n"},
        {"--port com1 detect", 3, "",
         "wirelink: no adapter found on COM1; choose the port with --port (com1, com2, a device such as "
         "/dev/ttyUSB0 or ftdi:SERIAL), WIRELINK_COM1=DEVICE, or a line \"COM1 = DEVICE\" in "
         "~/.config/wirelink/ports.conf or /etc/wirelink/ports.conf (or try --sim)\n"},
        // A driver without the extension cannot take a device name.
        {"--port /dev/ttyUSB0 probe", 4, "",
         "wirelink: the port driver cannot take a device for --port /dev/ttyUSB0; update it, or set "
         "WIRELINK_COM1=/dev/ttyUSB0\n"},
    };
    for (const Case &c : cases) expect_case(c, on_stub_driver(words(c.command), {"WLTEST_ADAPTER=none"}));
}

// A device reaches the port driver by the library; the simulated bench
// stands in for whatever is named.
TEST(WirelinkTool, PortTakesAnyDeviceNameForTheSlotItStandsFor) {
    const Case cases[] = {
        {"--port /dev/ttyUSB0 --slot 2 probe", 3, "",
         "wirelink: no adapter found on /dev/ttyUSB0 (as COM2) (the simulated bench has it on COM1)\n"},
        {"--port ttyUSB0 --slot 3 probe", 2, "", "wirelink: --slot: 3 is out of range (1 to 2)\n"},
        {"--port com1 --slot 2 probe", 2, "",
         "wirelink: --slot: goes with a device or off, not with --port com1\n"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> arguments = {"--sim"};
        for (const std::string &word : words(c.command)) arguments.push_back(word);
        expect_case(c, wirelink(arguments));
    }
    for (const char *device :
         {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0", "FTDI:A5XK3RJT"}) {
        const Outcome named = wirelink({"--sim", "--port", device, "probe"});
        EXPECT_EQ(named.status, 0) << device << named.err;
        EXPECT_TRUE(named.out.starts_with("adapter on COM1 (0x3F8)")) << named.out;
    }
}

// A stray "" (an unset shell variable) is refused, never read as a value
// left out; a minus sign and an over-long number are called what they are.
TEST(WirelinkTool, EmptyNegativeAndOverlongValuesAreNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--port", "", "probe"}, "wirelink: --port: empty; give a value\n"},
        {{"expander", "1", ""}, "wirelink: VALUE: empty; give a value\n"},
        {{"lcd", "print", ""}, "wirelink: TEXT: empty; give a value\n"},
        {{"expander", "-1"}, "wirelink: INDEX: -1 is negative (0 to 7)\n"},
        {{"--delay", "-0x10", "probe"}, "wirelink: --delay: -0x10 is negative (0x00 to 0xff)\n"},
        {{"transfer", "r99999999999999999@0x48"},
         "wirelink: length in r99999999999999999@0x48: 99999999999999999 is too large (at most 256)\n"},
    };
    for (const auto &[arguments, message] : cases) {
        std::vector<std::string> line = {"--sim"};
        line.insert(line.end(), arguments.begin(), arguments.end());
        const Outcome outcome = wirelink(line);
        EXPECT_EQ(outcome.status, 2) << message;
        EXPECT_EQ(outcome.err, message);
        EXPECT_EQ(outcome.out, "");
    }
}

// "2026-12-08T17:40:01.123+01:00": 0 a digit, + a sign.
bool is_timestamp(const std::string &text) {
    const std::string shape = "0000-00-00T00:00:00.000+00:00";
    if (text.size() != shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool fits = shape[i] == '0'   ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                          : shape[i] == '+' ? text[i] == '+' || text[i] == '-'
                                            : text[i] == shape[i];
        if (!fits) return false;
    }
    return true;
}

// --every with --count: the readings of one claim, each stamped with the
// time it was taken, read back as a script would; bad intervals named.
TEST(WirelinkTool, EveryRepeatsAReadingWithItsTime) {
    const Outcome text = wirelink({"--sim", "get", "0x39", "--every", "10ms", "--count", "3"});
    EXPECT_EQ(text.status, 0) << text.err;
    std::istringstream lines(text.out);
    int readings = 0;
    for (std::string line; std::getline(lines, line); ++readings) {
        const auto blank = line.find(' ');
        EXPECT_TRUE(is_timestamp(line.substr(0, blank))) << line;
        EXPECT_EQ(line.substr(blank), " 0xff");
    }
    EXPECT_EQ(readings, 3);

    const Outcome json = wirelink({"--sim", "--json", "adc", "2", "--every", "0.02", "--count", "2"});
    EXPECT_EQ(json.status, 0) << json.err;
    std::istringstream objects(json.out);
    std::vector<std::string> times;
    for (std::string line; std::getline(objects, line);) {
        const nlohmann::ordered_json reading = nlohmann::ordered_json::parse(line);
        EXPECT_EQ(reading.begin().key(), "time");
        times.push_back(reading.at("time"));
        EXPECT_TRUE(is_timestamp(times.back())) << line;
        EXPECT_EQ(reading.at("channel"), 2);
        EXPECT_EQ(reading.at("code"), 100);
    }
    ASSERT_EQ(times.size(), 2u);
    EXPECT_LT(times[0], times[1]);

    const std::pair<std::string, std::string> refused[] = {
        {"adc --every 0", "--every: 0 is zero; give 1ms or more"},
        {"adc --every -1s", "--every: -1s is negative; give 1ms or more"},
        {"adc --every 1x", "--every: '1x' is not an interval (for example 1s, 500ms, 0.5 for seconds)"},
        {"adc --every 0.0001", "--every: 0.0001 is shorter than 1ms"},
        {"adc --count 2", "--count: goes with --every INTERVAL"},
        {"adc --every 1s --count 0", "--count: 0 is out of range (1 to 1000000000)"},
        {"expander 1 0x5a --every 1s", "--every: repeats a read; leave out VALUE"},
    };
    for (const auto &[command, message] : refused) {
        std::vector<std::string> arguments = words(command);
        arguments.insert(arguments.begin(), "--sim");
        expect_case({command, 2, "", "wirelink: " + message + "\n"}, wirelink(arguments));
    }
}

// A device that another program holds (this test, by the lock the port
// driver takes) is waited for with --wait, until it is free or the time is
// up; once free, any other failure (a terminal has no modem lines) ends the
// wait at once.
TEST(WirelinkTool, WaitRetriesOnlyWhileAnotherProgramHoldsThePort) {
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0 || grantpt(terminal) != 0 || unlockpt(terminal) != 0) GTEST_SKIP() << "no terminals";
    const std::string device = ptsname(terminal);
    const int holder = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    const std::string in_use =
        "wirelink: COM1 = " + device +
        ": in use by another program (close it, and keep ModemManager off the device)\n";
    expect_case(
        {"", 3, "", in_use + "wirelink: no adapter found on " + device + " (as COM1) (or try --sim)\n"},
        wirelink({"--port", device, "probe"}));
    expect_case(
        {"", 3, "",
         in_use + "wirelink: waiting up to 0.3 s for " + device +
             " (as COM1) to be free (Ctrl-C stops)\n"
             "wirelink: " +
             device +
             " (as COM1) still in use by another program after waiting 0.3 s (close it, or wait longer "
             "with --wait)\n"},
        wirelink({"--port", device, "--wait", "0.3", "probe"}));

    std::thread release([holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        close(holder);
    });
    const auto started = std::chrono::steady_clock::now();
    const Outcome freed = wirelink({"--port", device, "--wait", "30", "probe"});
    release.join();
    close(terminal);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_EQ(freed.status, 3);
    EXPECT_TRUE(freed.err.starts_with(in_use)) << freed.err;
    EXPECT_NE(freed.err.find(": not a serial port with modem lines"), std::string::npos) << freed.err;
}

TEST(WirelinkTool, RecoverClocksUntilSdaIsReleased) {
    const std::pair<const char *, Case> cases[] = {
        {"3", {"recover --trace", 0, "P\nbus is free: SDA released after 3 clocks\n", ""}},
        {"100", {"recover", 1, "", "wirelink: bus still held: SDA low after 9 clocks and a STOP\n"}},
    };
    for (const auto &[held, c] : cases) {
        expect_case(c, on_stub_driver(words(c.command), {std::string("WLTEST_SDA_HELD=") + held}));
    }
}

// Ctrl-C in the middle of a scan: the transaction under way ends, the port
// gets back the modem control value it had before the claim (0x08), and the
// program ends by the signal.
TEST(WirelinkTool, CtrlCReleasesThePort) {
    const fs::path log = fs::temp_directory_path() / ("wirelink_cli_mcr_" + std::to_string(getpid()));
    const Outcome outcome = on_stub_driver({"--port", "com1", "--trace", "detect"},
                                           {"WLTEST_INTERRUPT_AT=40", "WLTEST_LOG=" + log.string()});
    const std::vector<std::string> writes = words(slurp(log));
    fs::remove(log);
    EXPECT_EQ(outcome.status, 128 + SIGINT);
    const std::vector<std::string> scanned = lines_starting(outcome.out, "S ");
    EXPECT_FALSE(scanned.empty());
    EXPECT_LT(scanned.size(), 0x70u);
    for (const std::string &transaction : scanned) EXPECT_TRUE(transaction.ends_with(" N P")) << transaction;
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 2], "03");  // the STOP
    EXPECT_EQ(writes.back(), "08");
}

// The bytes a dry run prints come from the library's own send, yet not one
// access reaches the port driver.
TEST(WirelinkTool, DryRunPrintsTheLibrarysBytesAndWritesNoPort) {
    const fs::path log = fs::temp_directory_path() / ("wirelink_cli_dry_" + std::to_string(getpid()));
    const Outcome outcome =
        on_stub_driver({"pll", "tbb200", "145M", "--mode", "1", "--dry-run"}, {"WLTEST_LOG=" + log.string()});
    const std::string writes = slurp(log);
    fs::remove(log);
    expect_case(
        {"", 0, "TBB200: divider 5800, tunes 145000000 Hz\nC5 09 F8\nC5 05 02 00\nC5 0D 02 80 5A\n", ""},
        outcome);
    EXPECT_EQ(writes, "");
}

// A held clock, a lost cable and an absent chip each say what they are.
TEST(WirelinkTool, FaultsOfTheBusSayWhatHappened) {
    const std::pair<const char *, Case> cases[] = {
        {"WLTEST_SCL_HELD=1",
         {"--port com1 probe", 1, "adapter on COM1 (0x3F8), probe status 0xa0\n",
          "wirelink: SCL is held low: the bus is not idle (a slave or a short holds it)\n"}},
        {"WLTEST_SCL_HELD=1", {"--port com1 detect", 1, "", "wirelink: SCL is held low\n"}},
        {"WLTEST_SCL_HELD=1", {"--port com1 expander 1", 1, "", "wirelink: SCL is held low\n"}},
        {"WLTEST_LOST_AT=30", {"--port com1 adc", 1, "", "wirelink: the adapter was lost\n"}},
        {"WLTEST_SDA_HELD=1000000 WLTEST_LOST_AT=2000",
         {"--port com1 lcd print Hi", 1, "", "wirelink: the adapter was lost\n"}},
    };
    for (const auto &[settings, c] : cases) expect_case(c, on_stub_driver(words(c.command), words(settings)));
}

// Ctrl-C in the middle of a long read on a slow cable: the read ends at the
// next byte boundary with a STOP, the port is released and the program ends
// by the signal, one byte's clocks at most after the signal.
TEST(WirelinkTool, CtrlCStopsALongReadAtTheNextByte) {
    const fs::path log = fs::temp_directory_path() / ("wirelink_cli_cancel_" + std::to_string(getpid()));
    const Outcome outcome = on_stub_driver({"--port", "com1", "transfer", "r256@0x48"},
                                           {"WLTEST_SDA_HELD=1000000", "WLTEST_STATUS_US=1000",
                                            "WLTEST_KILL_AT=200", "WLTEST_LOG=" + log.string()});
    const std::vector<std::string> writes = words(slurp(log));
    fs::remove(log);
    EXPECT_EQ(outcome.status, 128 + SIGINT);
    EXPECT_EQ(outcome.out, "");
    ASSERT_GE(writes.size(), 200u);
    EXPECT_LT(writes.size(), 200u + 2 * 36 + 4) << "more than a byte went by after the signal";
    EXPECT_EQ(writes[writes.size() - 2], "03");  // the STOP
    EXPECT_EQ(writes.back(), "08");
}

// Ctrl-C while --every waits for its next reading: the readings printed are
// whole lines and the run ends by the signal at once, not an interval later.
TEST(WirelinkTool, CtrlCEndsRepeatedReadingsAtOnce) {
    const Running running = start_program(WIRELINK_TOOL, {"--sim", "get", "0x39", "--every", "10s"});
    ASSERT_NE(running.pid, 0);
    const fs::path out = running.dir / "out";
    for (int tries = 0; tries < 500 && (!fs::exists(out) || fs::file_size(out) == 0); ++tries) usleep(10'000);
    const auto interrupted = std::chrono::steady_clock::now();
    kill(running.pid, SIGINT);
    const Outcome outcome = finish_program(running);
    EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(5));
    EXPECT_EQ(outcome.status, 128 + SIGINT);
    EXPECT_TRUE(outcome.out.ends_with(" 0xff\n")) << outcome.out;
    EXPECT_EQ(std::count(outcome.out.begin(), outcome.out.end(), '\n'), 1);
}

// --- installed ----------------------------------------------------------

// cmake --install into a fresh prefix; the installed tool finds its library
// and the simulated bench beside itself.
TEST(WirelinkTool, SimulatedBenchWorksFromAnInstalledPrefix) {
    const fs::path prefix = fs::temp_directory_path() / ("wirelink_cli_prefix_" + std::to_string(getpid()));
    const Outcome install = run_program(CMAKE_COMMAND, {"--install", BUILD_DIR, "--prefix", prefix.string()});
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    const Outcome detect = run_program((prefix / "bin" / "wirelink").string(), {"--sim", "detect"});
    fs::remove_all(prefix);
    EXPECT_EQ(detect.status, 0) << detect.err;
    EXPECT_EQ(detect.out, kDefaultBoardGrid);
}

}  // namespace
