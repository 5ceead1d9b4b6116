// The PCF8574 expander and the PCF8591 converter.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "addresses.h"
#include "call_faults.h"
#include "commands.h"
#include "failure.h"
#include "json_output.h"
#include "numbers.h"
#include "repeat.h"
#include "result_output.h"
#include "run_transfer.h"

namespace cli {
namespace {

// --- expander ------------------------------------------------------------

struct ExpanderArguments {
    std::string index;
    std::string value;
    std::string address;
    bool all = false;
    RepeatArguments repeat;
};

// Any other address than the index form's (0x38-0x3f) is reached by a plain
// one-byte message, which is what the expander takes.
void write_at(Session &session, int address, int value) {
    run_transfer(session.bus(), {Message{false, address, 1, {static_cast<uint8_t>(value)}}});
}

void print_pins(const Session &session, int address, int value) {
    print_result(session, {{"address", address}, {"value", value}}, hex(value));
}

void read_at(Session &session, int address) {
    print_pins(session, address, run_transfer(session.bus(), {Message{true, address, 1, {}}}).at(0).at(0));
}

std::string expander_name(int index) {
    return hex(0x38 + index) + " (expander " + std::to_string(index) + ")";
}

void write_expander(Session &session, int index, int value) {
    const Wirelink &bus = session.bus();
    if (bus.iic_tx_pcf8574(value, index) == 0) {
        // The library leaves a failed write open for a repeated START; the
        // tool has nothing more to send, so it ends the transaction.
        bus.iic_stop();
        throw_if_failed(bus, "no acknowledge from " + expander_name(index));
        throw no_acknowledge("no acknowledge from " + expander_name(index));
    }
}

void read_expander(Session &session, int index) {
    int32_t value = 0;
    const Wirelink &bus = session.bus();
    if (bus._iic_rx_pcf8574(&value, index) == 0) {
        throw_if_failed(bus, "no acknowledge from " + expander_name(index));
        throw no_acknowledge("no acknowledge from " + expander_name(index));
    }
    print_pins(session, 0x38 + index, value);
}

void add_expander(CLI::App &app, Commands &commands) {
    auto args = std::make_shared<ExpanderArguments>();
    CLI::App *command =
        app.add_subcommand("expander", "Write a PCF8574's pins, or read them when no VALUE is given");
    // With --address the one word given is the VALUE: it lands in INDEX.
    command->add_option("INDEX", args->index, "expander index 0-7 (address 0x38 + INDEX)");
    command->add_option("VALUE", args->value, "byte to write; bit n is pin Pn");
    command->add_option("--address", args->address,
                        "the expander's 7-bit address instead of an index: a PCF8574 at 0x20-0x27, "
                        "a PCF8574A at 0x38-0x3f");
    command->add_flag("-a,--all-addresses", args->all,
                      "allow the reserved addresses 0x00-0x07 and 0x78-0x7f");
    add_repeat_options(command, args->repeat);
    command->footer(
        "A read prints the pins as 0xNN.  On --sim every run starts a fresh bench, so a\n"
        "read shows the expander's power-on value, not what an earlier run wrote.");
    commands.add(command, [args](Session &session) {
        std::vector<std::string> words;
        for (const std::string *word : {&args->index, &args->value}) {
            if (!word->empty()) words.push_back(*word);
        }
        const Repeat repeat = parse_repeat(args->repeat);
        const bool repeated = repeat.interval.count() != 0;
        if (args->address.empty()) {
            if (words.empty()) throw usage_error("expander: give INDEX, or --address ADDRESS");
            const int index = static_cast<int>(parse_number(words[0], "INDEX", 0, 7));
            if (words.size() < 2)
                return repeat_readings(session, repeat, [&] { read_expander(session, index); });
            if (repeated) throw usage_error("--every: repeats a read; leave out VALUE");
            return write_expander(session, index, static_cast<int>(parse_number(words[1], "VALUE", 0, 0xFF)));
        }
        if (words.size() > 1) throw usage_error("expander: with --address give VALUE alone, not an INDEX");
        const int address = parse_address(args->address, "--address", args->all);
        const bool index_form = address >= 0x38 && address <= 0x3F;
        if (words.empty()) {
            return repeat_readings(session, repeat, [&] {
                index_form ? read_expander(session, address - 0x38) : read_at(session, address);
            });
        }
        if (repeated) throw usage_error("--every: repeats a read; leave out VALUE");
        const int value = static_cast<int>(parse_number(words[0], "VALUE", 0, 0xFF));
        if (index_form) return write_expander(session, address - 0x38, value);
        write_at(session, address, value);
    });
}

// --- converter -----------------------------------------------------------

struct ConverterArguments {
    std::string address = "0";
    std::string vref = "2550";
};

struct Converter {
    int address;
    int vref_millivolts;
};

Converter parse_converter(const ConverterArguments &args) {
    return {static_cast<int>(parse_number(args.address, "--address", 0, 7)),
            static_cast<int>(parse_number(args.vref, "--vref", 256, 6000))};
}

void add_converter_options(CLI::App *command, ConverterArguments &args) {
    command->add_option("--address", args.address, "converter address 0-7 (0x48 + address; default 0)");
    command->add_option("--vref", args.vref, "reference in millivolts, 256-6000 (default 2550)");
}

std::string converter_name(int address) {
    return hex(0x48 + address) + " (converter " + std::to_string(address) + ")";
}

// A record of the caller's own, set up as the library's millivolt entries do.
pcf8591_state converter_state(const Wirelink &wirelink, const Converter &converter) {
    pcf8591_state state{};
    wirelink.pcf8591_init(&state, 0, static_cast<float>(converter.vref_millivolts * 0.001));
    return state;
}

int millivolts(const Wirelink &wirelink, pcf8591_state &state, int channel) {
    return static_cast<int>(static_cast<double>(wirelink.pcf8591_aout(&state, channel)) * 1000.0);
}

void read_converter(Session &session, const Converter &converter, int channel) {
    const Wirelink &bus = session.bus();
    pcf8591_state state = converter_state(bus, converter);
    const bool all = channel < 0;
    const int32_t answered = all ? bus.pcf8591_read4chan(&state, converter.address)
                                 : bus.pcf8591_readchan(&state, channel, converter.address);
    if (answered == 0) {
        throw_if_failed(bus, "no acknowledge from " + converter_name(converter.address));
        throw no_acknowledge("no acknowledge from " + converter_name(converter.address));
    }
    for (int c = all ? 0 : channel; c <= (all ? 3 : channel); ++c) {
        char text[32];
        std::snprintf(text, sizeof text, "AIN%d: %3d  %4d mV", c, state.reading[c],
                      millivolts(bus, state, c));
        print_result(session,
                     {{"address", 0x48 + converter.address},
                      {"channel", c},
                      {"code", state.reading[c]},
                      {"millivolts", millivolts(bus, state, c)}},
                     text);
    }
}

void add_adc(CLI::App &app, Commands &commands) {
    auto channel = std::make_shared<std::string>("all");
    auto args = std::make_shared<ConverterArguments>();
    auto repeat = std::make_shared<RepeatArguments>();
    CLI::App *command = app.add_subcommand("adc", "Read the PCF8591's analog inputs (codes and millivolts)");
    command->add_option("CHANNEL", *channel, "input 0-3, or all (default)");
    add_converter_options(command, *args);
    add_repeat_options(command, *repeat);
    commands.add(command, [channel, args, repeat](Session &session) {
        const int number = *channel == "all" ? -1 : static_cast<int>(parse_number(*channel, "CHANNEL", 0, 3));
        const Converter converter = parse_converter(*args);
        repeat_readings(session, parse_repeat(*repeat), [&] { read_converter(session, converter, number); });
    });
}

// The converter's output code is volts * 256 / vref; the reference itself
// would give 256, which the chip receives as 0x00.  Full scale is code 255,
// which one millivolt below the reference gives for any reference of 256 mV
// or more.
void set_output(Session &session, const Converter &converter, int requested) {
    const int sent = requested == converter.vref_millivolts ? requested - 1 : requested;
    const Wirelink &bus = session.bus();
    pcf8591_state state = converter_state(bus, converter);
    const int32_t answered = bus.pcf8591_setda(&state, static_cast<float>(sent * 0.001), converter.address);
    if (answered == 0) {
        throw_if_failed(bus, "no acknowledge from " + converter_name(converter.address));
        throw no_acknowledge("no acknowledge from " + converter_name(converter.address));
    }
    const int output = state.dac * converter.vref_millivolts / 256;
    std::printf("AOUT: %3d  %4d mV\n", state.dac, output);
}

void add_dac(CLI::App &app, Commands &commands) {
    auto level = std::make_shared<std::string>();
    auto args = std::make_shared<ConverterArguments>();
    CLI::App *command = app.add_subcommand("dac", "Set the PCF8591's analog output");
    command->add_option("MV", *level, "output in millivolts, 0 to the reference")->required();
    add_converter_options(command, *args);
    command->footer(
        "Prints the code sent and the output it gives (code * vref / 256); the reference\n"
        "itself is sent as code 255, the highest the converter has.");
    commands.add(command, [level, args](Session &session) {
        const Converter converter = parse_converter(*args);
        const int requested = static_cast<int>(parse_number(*level, "MV", 0, converter.vref_millivolts));
        set_output(session, converter, requested);
    });
}

}  // namespace

void add_chip_commands(CLI::App &app, Commands &commands) {
    add_expander(app, commands);
    add_adc(app, commands);
    add_dac(app, commands);
}

}  // namespace cli
