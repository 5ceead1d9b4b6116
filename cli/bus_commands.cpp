// Commands on the bus itself: where is the adapter, who answers, raw
// transfers, and clearing a bus that a slave holds.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "addresses.h"
#include "call_faults.h"
#include "commands.h"
#include "failure.h"
#include "json_output.h"
#include "numbers.h"
#include "run_transfer.h"
#include "transfer_messages.h"

namespace cli {
namespace {

// --- probe ---------------------------------------------------------------

// An idle bus has both lines high once the master lets go of them; a line
// that stays low is held by a slave or shorted.
void check_lines_released(const Wirelink &bus) {
    bus.sda_high();
    bus.scl_high();
    const bool scl = bus.read_scl() != 0;
    const bool sda = bus.read_sda() != 0;
    throw_if_bus_failed(bus);
    if (!scl) throw no_acknowledge("SCL is held low: the bus is not idle (a slave or a short holds it)");
    if (!sda) throw no_acknowledge("SDA is held low: the bus is not idle (try wirelink recover)");
}

void add_probe(CLI::App &app, Commands &commands) {
    CLI::App *probe = app.add_subcommand(
        "probe", "Claim the adapter, print where it is and the raw probe status, release it");
    commands.add(probe, [](Session &session) {
        const Wirelink &bus = session.bus();
        const int32_t status = bus.iic_ok();
        if (session.json()) {
            print_json({{"port", session.adapter_name().substr(0, 4)},
                        {"base", session.adapter_base()},
                        {"status", status}});
        } else {
            std::printf("adapter on %s, probe status %s\n", session.adapter_name().c_str(),
                        hex(status).c_str());
        }
        throw_if_bus_failed(bus);
        check_lines_released(bus);
    });
}

// --- detect --------------------------------------------------------------

struct DetectArguments {
    std::string first;
    std::string last;
    bool read = false;
    bool quick = false;
    bool all = false;
};

// How an address is asked whether it is there.  By default as i2cdetect
// does: a write can move an EEPROM's address pointer (0x50-0x5F) and upset
// some write-only chips (0x30-0x37), so those get a read.
enum class Probe { automatic, read, write };

bool read_probe_at(int address, Probe probe) {
    if (probe != Probe::automatic) return probe == Probe::read;
    return (address >= 0x30 && address <= 0x37) || (address >= 0x50 && address <= 0x5F);
}

// True when the address answers: a zero-length write (address byte, STOP),
// or with `read` a one-byte read.  As one transfer, a port that runs line
// steps takes a write probe in one exchange.
bool answers(const Wirelink &bus, int address, bool read) {
    uint8_t byte = 0;
    const wirelink_msg probe{static_cast<uint16_t>(address),
                             static_cast<uint16_t>(read ? WIRELINK_MSG_READ : 0), read ? 1 : 0,
                             read ? &byte : nullptr};
    return bus.wirelink_transfer(&probe, 1) == 0;
}

// The grid of i2cdetect: "--" for no answer, the address for an answer,
// blanks outside the scanned range (none at the end of a line).
void print_grid(const std::vector<bool> &answered, int first, int last) {
    std::printf("     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f\n");
    for (int row = 0; row < 0x80; row += 16) {
        std::string line;
        char cell[16];
        std::snprintf(cell, sizeof cell, "%02x:", row);
        line = cell;
        for (int address = row; address < row + 16; ++address) {
            if (address < first || address > last) {
                line += "   ";
                continue;
            }
            std::snprintf(cell, sizeof cell, " %02x", address);
            line += answered[address] ? cell : " --";
        }
        line.erase(line.find_last_not_of(' ') + 1);
        std::printf("%s\n", line.c_str());
    }
}

void add_detect(CLI::App &app, Commands &commands) {
    auto args = std::make_shared<DetectArguments>();
    CLI::App *detect =
        app.add_subcommand("detect", "Scan the bus and print a grid of the addresses that answer");
    detect->add_option("FIRST", args->first, "first 7-bit address (default 0x08, with -a 0x00)");
    detect->add_option("LAST", args->last, "last 7-bit address (default 0x77, with -a 0x7f)");
    detect->add_flag("-r,--read", args->read, "probe every address with a one-byte read");
    detect->add_flag("-q,--quick", args->quick, "probe every address with a zero-length write");
    detect->add_flag("-a,--all-addresses", args->all,
                     "scan the reserved addresses 0x00-0x07 and 0x78-0x7f too");
    detect->footer(
        "By default 0x30-0x37 and 0x50-0x5f are probed with a read (a write could move an\n"
        "EEPROM's address pointer or upset a write-only chip) and the others with a write.");
    commands.add(detect, [args](Session &session) {
        if (args->read && args->quick) throw usage_error("detect: -r and -q exclude each other");
        const Probe probe = args->read ? Probe::read : args->quick ? Probe::write : Probe::automatic;
        const std::string first_text = !args->first.empty() ? args->first : args->all ? "0x00" : "0x08";
        const std::string last_text = !args->last.empty() ? args->last : args->all ? "0x7f" : "0x77";
        const int first = parse_address(first_text, "FIRST", args->all);
        const int last = parse_address(last_text, "LAST", args->all);
        if (first > last) {
            throw usage_error("FIRST " + first_text + " is above LAST " + last_text);
        }
        const Wirelink &bus = session.bus();
        std::vector<bool> answered(0x80, false);
        for (int address = first; address <= last; ++address) {
            session.checkpoint();
            answered[address] = answers(bus, address, read_probe_at(address, probe));
            throw_if_bus_failed(bus);
        }
        if (session.json()) {
            Json found = Json::array();
            for (int address = first; address <= last; ++address) {
                if (answered[address]) found.push_back(address);
            }
            return print_json({{"first", first}, {"last", last}, {"addresses", found}});
        }
        print_grid(answered, first, last);
    });
}

// --- transfer ------------------------------------------------------------

// All messages in one transaction, one line of bytes per read.
std::vector<std::string> transfer(const Wirelink &bus, std::vector<Message> messages) {
    std::vector<std::string> lines;
    for (const std::vector<uint8_t> &bytes : run_transfer(bus, std::move(messages))) {
        std::string line;
        for (const uint8_t byte : bytes) line += (line.empty() ? "" : " ") + hex(byte);
        lines.push_back(line);
    }
    return lines;
}

void add_transfer(CLI::App &app, Commands &commands) {
    auto words = std::make_shared<std::vector<std::string>>();
    CLI::App *command =
        app.add_subcommand("transfer", "Send and receive messages in one transaction (i2ctransfer syntax)");
    command
        ->add_option("MSG", *words,
                     "rLENGTH@ADDRESS, or wLENGTH@ADDRESS followed by its bytes; messages are "
                     "joined by repeated STARTs and end with one STOP")
        ->required();
    command->footer(
        "Example: transfer w1@0x48 0x40 r2@0x48  (PCF8591 at 0x48: select AIN0, read two bytes)\n"
        "Prints the bytes of each read message on a line of its own.");
    commands.add(command, [words](Session &session) {
        const std::vector<Message> messages = parse_messages(*words);
        if (session.json()) return print_json({{"reads", run_transfer(session.bus(), messages)}});
        for (const std::string &line : transfer(session.bus(), messages)) std::printf("%s\n", line.c_str());
    });
}

// --- recover -------------------------------------------------------------

constexpr int kRecoveryClocks = 9;

// SCL may be stretched; a clock that stays low longer than the SMBus
// timeout is stuck.
bool wait_for_scl(const Wirelink &bus) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(25);
    do {
        if (bus.read_scl() != 0) return true;
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

bool clock_pulse(const Wirelink &bus) {
    bus.scl_low();
    bus.scl_high();
    return wait_for_scl(bus);
}

void send_stop(const Wirelink &bus) {
    bus.scl_low();
    bus.sda_low();
    bus.scl_high();
    wait_for_scl(bus);
    bus.sda_high();
}

// Bus clear (UM10204 3.1.16): a slave cut off in the middle of a byte holds
// SDA low until it has clocked out the rest; up to nine clocks let it
// finish, and a STOP leaves every slave idle.
void recover(const Wirelink &bus) {
    bus.sda_high();
    bus.scl_high();
    if (!wait_for_scl(bus)) {
        throw no_acknowledge("bus still held: SCL stays low, so no clock can clear it");
    }
    int clocks = 0;
    while (bus.read_sda() == 0 && clocks < kRecoveryClocks) {
        if (!clock_pulse(bus)) {
            throw no_acknowledge("bus still held: SCL stuck low after " + std::to_string(clocks) + " clocks");
        }
        ++clocks;
    }
    send_stop(bus);
    const bool sda_free = bus.read_sda() != 0;
    if (!sda_free || bus.read_scl() == 0) {
        throw no_acknowledge(std::string("bus still held: ") + (sda_free ? "SCL" : "SDA") + " low after " +
                             std::to_string(clocks) + " clocks and a STOP");
    }
    if (clocks == 0) {
        std::printf("bus is free (SDA was not held)\n");
    } else {
        std::printf("bus is free: SDA released after %d clock%s\n", clocks, clocks == 1 ? "" : "s");
    }
}

void add_recover(CLI::App &app, Commands &commands) {
    CLI::App *command = app.add_subcommand(
        "recover", "Free a bus whose SDA a slave holds low: up to nine clocks, then a STOP");
    command->footer("Exit status 0 when the bus is free afterwards, 1 when it is still held.");
    commands.add(command, [](Session &session) { recover(session.bus()); });
}

}  // namespace

void add_bus_commands(CLI::App &app, Commands &commands) {
    add_probe(app, commands);
    add_detect(app, commands);
    add_transfer(app, commands);
    add_recover(app, commands);
}

}  // namespace cli
