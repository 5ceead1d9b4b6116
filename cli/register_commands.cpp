// Register access with the conventions of i2cget, i2cset and i2cdump: a
// register pointer written, then read or written at it; words little-endian,
// as SMBus sends them.

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "addresses.h"
#include "commands.h"
#include "failure.h"
#include "json_output.h"
#include "numbers.h"
#include "repeat.h"
#include "result_output.h"
#include "run_transfer.h"

namespace cli {
namespace {

enum class Size { byte, word, separate };  // b, w, c: c is i2cget's write-then-read in two transactions

struct RegisterArguments {
    std::string address;
    std::vector<std::string> rest;
    bool all = false;
    RepeatArguments repeat;
};

// The last word may be a size letter; it is taken off `words`.
Size take_size(std::vector<std::string> &words, const std::string &allowed) {
    if (words.empty() || words.back().size() != 1) return Size::byte;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(words.back()[0])));
    if (allowed.find(letter) == std::string::npos) {
        if (std::isalpha(static_cast<unsigned char>(letter))) {
            throw usage_error("MODE: '" + words.back() + "' is not one of " + allowed);
        }
        return Size::byte;
    }
    words.pop_back();
    return letter == 'w' ? Size::word : letter == 'c' ? Size::separate : Size::byte;
}

Message write_message(int address, std::vector<uint8_t> bytes) {
    return Message{false, address, static_cast<int>(bytes.size()), std::move(bytes)};
}

Message read_message(int address, int length) { return Message{true, address, length, {}}; }

std::vector<Message> register_read(int address, int reg, Size size) {
    return {write_message(address, {static_cast<uint8_t>(reg)}),
            read_message(address, size == Size::word ? 2 : 1)};
}

int little_endian(const std::vector<uint8_t> &bytes) {
    return bytes.size() == 2 ? bytes[0] | bytes[1] << 8 : bytes.at(0);
}

std::string word_hex(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", value);
    return text;
}

void add_register_flags(CLI::App *command, RegisterArguments &args) {
    command->add_option("ADDRESS", args.address, "7-bit chip address (0x08-0x77)")->required();
    command->add_flag("-a,--all-addresses", args.all, "allow the reserved addresses 0x00-0x07 and 0x78-0x7f");
}

// --- get -------------------------------------------------------------------

int read_register(const Wirelink &bus, int address, const std::vector<std::string> &rest, Size size) {
    if (rest.empty()) {
        if (size != Size::byte) throw usage_error("MODE: w and c need a REGISTER");
        return run_transfer(bus, {read_message(address, 1)}).at(0).at(0);
    }
    const int reg = static_cast<int>(parse_number(rest[0], "REGISTER", 0, 0xFF));
    if (size != Size::separate)
        return little_endian(run_transfer(bus, register_read(address, reg, size)).at(0));
    run_transfer(bus, {write_message(address, {static_cast<uint8_t>(reg)})});
    return run_transfer(bus, {read_message(address, 1)}).at(0).at(0);
}

void add_get(CLI::App &app, Commands &commands) {
    auto args = std::make_shared<RegisterArguments>();
    CLI::App *command = app.add_subcommand("get", "Read a chip's register, as i2cget does");
    add_register_flags(command, *args);
    command->add_option("REGISTER_AND_MODE", args->rest, "[REGISTER [b|w|c]]")->expected(0, 2);
    add_repeat_options(command, args->repeat);
    command->footer(
        "Without REGISTER: one byte read.  b: write REGISTER, repeated START, read a byte;\n"
        "w: the same, a word (low byte first); c: write REGISTER and read a byte in two\n"
        "transactions.  Prints 0xNN (0xNNNN for a word).");
    commands.add(command, [args](Session &session) {
        std::vector<std::string> rest = args->rest;
        const Size size = take_size(rest, "bwc");
        if (rest.size() > 1) throw usage_error("get: '" + rest[1] + "' is not a mode (b, w or c)");
        const int address = parse_address(args->address, "ADDRESS", args->all);
        const Json reg = rest.empty() ? Json() : Json(parse_number(rest[0], "REGISTER", 0, 0xFF));
        repeat_readings(session, parse_repeat(args->repeat), [&] {
            const int value = read_register(session.bus(), address, rest, size);
            print_result(session,
                         {{"address", address},
                          {"register", reg},
                          {"size", size == Size::word ? "w" : "b"},
                          {"value", value}},
                         size == Size::word ? word_hex(value) : hex(value));
        });
    });
}

// --- set -------------------------------------------------------------------

std::vector<uint8_t> bytes_to_set(const std::vector<std::string> &rest, Size size) {
    if (rest.size() == 1) {
        if (size != Size::byte) throw usage_error("MODE: w needs a REGISTER and a VALUE");
        return {static_cast<uint8_t>(parse_number(rest[0], "VALUE", 0, 0xFF))};
    }
    const auto reg = static_cast<uint8_t>(parse_number(rest[0], "REGISTER", 0, 0xFF));
    const int value = static_cast<int>(parse_number(rest[1], "VALUE", 0, size == Size::word ? 0xFFFF : 0xFF));
    if (size == Size::word)
        return {reg, static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    return {reg, static_cast<uint8_t>(value)};
}

void add_set(CLI::App &app, Commands &commands) {
    auto args = std::make_shared<RegisterArguments>();
    CLI::App *command = app.add_subcommand("set", "Write a chip's register, as i2cset does");
    add_register_flags(command, *args);
    command->add_option("REGISTER_VALUE_MODE", args->rest, "REGISTER VALUE [b|w], or VALUE alone")
        ->expected(1, 3)
        ->required();
    command->footer(
        "set ADDRESS VALUE writes one byte; set ADDRESS REGISTER VALUE writes REGISTER then\n"
        "VALUE in one transaction (w: VALUE is a word, sent low byte first).");
    commands.add(command, [args](Session &session) {
        std::vector<std::string> rest = args->rest;
        const Size size = take_size(rest, "bw");
        if (rest.empty() || rest.size() > 2) throw usage_error("set: give REGISTER VALUE [b|w], or VALUE");
        const int address = parse_address(args->address, "ADDRESS", args->all);
        const std::vector<uint8_t> bytes = bytes_to_set(rest, size);
        run_transfer(session.bus(), {write_message(address, bytes)});
    });
}

// --- dump ------------------------------------------------------------------

constexpr int kNoValue = -1;

// One register's value, or kNoValue when the chip refused it.
int dump_register(Session &session, int address, int reg, Size size) {
    session.checkpoint();
    std::vector<std::vector<uint8_t>> reads;
    if (!try_transfer(session.bus(), register_read(address, reg, size), reads)) {
        if (session.bus().wirelink_last_error() == WIRELINK_ENXIO) {
            throw no_acknowledge("no acknowledge from " + hex(address));
        }
        return kNoValue;
    }
    return little_endian(reads.at(0));
}

char shown_as_text(int value) {
    if (value == kNoValue) return 'X';
    if (value == 0x00 || value == 0xFF) return '.';
    return value < 0x20 || value > 0x7E ? '?' : static_cast<char>(value);
}

void print_byte_grid(const std::vector<int> &values, int first, int last) {
    std::printf("     0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f    0123456789abcdef\n");
    for (int row = first & ~0xF; row <= last; row += 16) {
        std::string cells, text;
        char cell[8];
        for (int reg = row; reg < row + 16; ++reg) {
            const bool shown = reg >= first && reg <= last;
            const int value = shown ? values[reg] : kNoValue;
            std::snprintf(cell, sizeof cell, "%02x ", value & 0xFF);
            cells += !shown ? "   " : value == kNoValue ? "XX " : cell;
            text += shown ? shown_as_text(value) : ' ';
        }
        std::printf("%02x: %s   %s\n", row, cells.c_str(), text.c_str());
    }
}

void print_word_grid(const std::vector<int> &values, int first, int last) {
    std::printf("     0,8  1,9  2,a  3,b  4,c  5,d  6,e  7,f\n");
    for (int row = first & ~0x7; row <= last; row += 8) {
        std::string cells;
        char cell[8];
        for (int reg = row; reg < row + 8; ++reg) {
            const bool shown = reg >= first && reg <= last;
            std::snprintf(cell, sizeof cell, "%04x ", values[reg] & 0xFFFF);
            cells += !shown ? "     " : values[reg] == kNoValue ? "XXXX " : cell;
        }
        std::printf("%02x: %s\n", row, cells.c_str());
    }
}

void add_dump(CLI::App &app, Commands &commands) {
    auto args = std::make_shared<RegisterArguments>();
    CLI::App *command = app.add_subcommand("dump", "Read a chip's registers into a grid, as i2cdump does");
    add_register_flags(command, *args);
    command->add_option("RANGE_AND_MODE", args->rest, "[FIRST [LAST]] [b|w] (default 0x00 0xff b)")
        ->expected(0, 3);
    command->footer(
        "Each register is read as get reads it (b: a byte, w: a word, low byte first).\n"
        "XX marks a register the chip did not acknowledge; the text column shows . for\n"
        "0x00 and 0xff and ? for other bytes that are not printable.");
    commands.add(command, [args](Session &session) {
        std::vector<std::string> rest = args->rest;
        const Size size = take_size(rest, "bw");
        if (rest.size() > 2) throw usage_error("dump: '" + rest[2] + "' is not a mode (b or w)");
        const int address = parse_address(args->address, "ADDRESS", args->all);
        const int first = rest.empty() ? 0 : static_cast<int>(parse_number(rest[0], "FIRST", 0, 0xFF));
        const int last = rest.size() < 2 ? 0xFF : static_cast<int>(parse_number(rest[1], "LAST", 0, 0xFF));
        if (first > last) throw usage_error("FIRST " + rest[0] + " is above LAST " + rest[1]);
        std::vector<int> values(0x100, kNoValue);
        for (int reg = first; reg <= last; ++reg) values[reg] = dump_register(session, address, reg, size);
        if (session.json()) {
            Json read = Json::array();
            for (int reg = first; reg <= last; ++reg)
                read.push_back(values[reg] == kNoValue ? Json() : Json(values[reg]));
            return print_json({{"address", address},
                               {"first", first},
                               {"last", last},
                               {"size", size == Size::word ? "w" : "b"},
                               {"values", read}});
        }
        if (size == Size::word) {
            print_word_grid(values, first, last);
        } else {
            print_byte_grid(values, first, last);
        }
    });
}

}  // namespace

void add_register_commands(CLI::App &app, Commands &commands) {
    add_get(app, commands);
    add_set(app, commands);
    add_dump(app, commands);
}

}  // namespace cli
