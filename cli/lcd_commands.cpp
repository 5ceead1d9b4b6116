// The character display behind the PCF8574 at index 0.

#include <cstdio>
#include <memory>
#include <string>

#include "call_faults.h"
#include "commands.h"
#include "display_text.h"
#include "failure.h"
#include "numbers.h"

namespace cli {
namespace {

constexpr int kLineWidth = 16;
constexpr int kMaxRead = 31;  // what lcd_read_str reads at most
constexpr int32_t kClear = 0x01;
constexpr int32_t kSetAddress = 0x80;

const char *const kNoDisplay = "the display did not answer (expander 0 at 0x38)";

int line_address(const std::string &line) { return parse_number(line, "--line", 1, 2) == 1 ? 0x00 : 0x40; }

// Every step must have gone through: a display call that failed partway
// may still return its usual result.
void instruction(const Wirelink &bus, int32_t code) {
    const int32_t acknowledged = bus.lcd_instr(code);
    throw_if_failed(bus, kNoDisplay);
    if (acknowledged == 0) throw no_acknowledge(kNoDisplay);
}

void initialise(const Wirelink &bus) {
    const int32_t acknowledged = bus.lcd_init();
    throw_if_failed(bus, kNoDisplay);
    if (acknowledged == 0) throw no_acknowledge(kNoDisplay);
}

// Characters the terminal cannot show as they are come out as \xNN.
std::string printable(const char *text) {
    std::string out;
    for (const char *c = text; *c != '\0'; ++c) {
        const auto code = static_cast<unsigned char>(*c);
        if (code >= 0x20 && code < 0x7F && code != '\\') {
            out += *c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", code);
            out += escaped;
        }
    }
    return out;
}

void add_init(CLI::App &lcd, Commands &commands) {
    CLI::App *command = lcd.add_subcommand("init", "Wake the display into 4-bit mode, two lines, cleared");
    commands.add(command, [](Session &session) { initialise(session.bus()); });
}

struct PrintArguments {
    std::string text;
    std::string line = "1";
    bool init = false;
    bool raw = false;
};

void add_print(CLI::App &lcd, Commands &commands) {
    auto args = std::make_shared<PrintArguments>();
    CLI::App *command = lcd.add_subcommand("print", "Show TEXT on a line of the display");
    command->add_option("TEXT", args->text, "up to 16 characters; the rest of the line is blanked")
        ->required();
    command->add_option("--line", args->line, "1 (default) or 2");
    command->add_flag("--init", args->init, "initialise the display first (as lcd init; clears it)");
    command->add_flag("--raw", args->raw, "send TEXT's bytes unchanged, as character codes");
    command->footer(
        "The display keeps its text between runs on real hardware; after power-up it\n"
        "needs lcd init (or --init) once.  On --sim every run starts with a display\n"
        "that was never initialised, so use --init there.  TEXT is UTF-8: ASCII and the\n"
        "characters of the display's ROM (A00: a o u umlauts, sharp s, degree, micro, arrows,\n"
        "Greek letters, katakana) go out as their codes; others are refused.");
    commands.add(command, [args](Session &session) {
        const int address = line_address(args->line);
        const std::string codes = args->raw ? args->text : display_codes(args->text);
        if (codes.size() > kLineWidth) {
            throw usage_error("TEXT: " + std::to_string(codes.size()) + " characters; a line holds 16");
        }
        const Wirelink &bus = session.bus();
        if (args->init) initialise(bus);
        instruction(bus, kSetAddress | address);
        const std::string line = codes + std::string(kLineWidth - codes.size(), ' ');
        bus.lcd_write_str(line.c_str());
        throw_if_failed(bus, kNoDisplay);
    });
}

struct ReadArguments {
    std::string count = "16";
    std::string line = "1";
};

void add_read(CLI::App &lcd, Commands &commands) {
    auto args = std::make_shared<ReadArguments>();
    CLI::App *command = lcd.add_subcommand("read", "Read characters back from the display");
    command->add_option("COUNT", args->count, "characters, 1-31 (default 16)");
    command->add_option("--line", args->line, "start of line 1 (default) or 2");
    commands.add(command, [args](Session &session) {
        const int address = line_address(args->line);
        const int count = static_cast<int>(parse_number(args->count, "COUNT", 1, kMaxRead));
        const Wirelink &bus = session.bus();
        instruction(bus, kSetAddress | address);
        char text[kMaxRead + 1] = {};
        const int32_t read = bus.lcd_read_str(count, address, text);
        throw_if_failed(bus, kNoDisplay);
        if (read == 0) throw no_acknowledge(kNoDisplay);
        std::printf("%s\n", printable(text).c_str());
    });
}

void add_clear(CLI::App &lcd, Commands &commands) {
    CLI::App *command = lcd.add_subcommand("clear", "Clear the display and put the cursor home");
    commands.add(command, [](Session &session) { instruction(session.bus(), kClear); });
}

}  // namespace

void add_lcd_commands(CLI::App &app, Commands &commands) {
    CLI::App *lcd = app.add_subcommand("lcd", "The HD44780 display on the PCF8574 at index 0 (0x38)");
    add_init(*lcd, commands);
    add_print(*lcd, commands);
    add_read(*lcd, commands);
    add_clear(*lcd, commands);
}

}  // namespace cli
