// wirelink: the bus and its chips from the shell.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "failure.h"
#include "help_format.h"
#include "numbers.h"
#include "parse_errors.h"
#include "port_option.h"
#include "ports_command.h"
#include "repeat.h"
#include "session.h"

namespace {

using namespace cli;

struct CommonArguments {
    std::string port = "search";
    std::string slot;
    std::string delay = "10";
    bool trace = false;
    bool simulated = false;
    bool yes = false;
    bool json = false;
    std::string wait;
};

const char *const kFooter =
    "Numbers are decimal or 0x hex.  Exit status: 0 done; 1 a chip did not\n"
    "acknowledge, a read failed or the bus is still held; 2 a bad argument; 3 no\n"
    "adapter found (or the port stayed in use for all of --wait); 4 a library is\n"
    "missing.  With --sim every run starts a fresh simulated bench: nothing one run\n"
    "writes is there for the next.\n"
    "Run wirelink COMMAND --help for a command's arguments.";

void add_common_options(CLI::App &app, CommonArguments &common) {
    app.add_option("--port", common.port,
                   "com1, com2, search (default: COM2, then COM1), off, or a device: /dev/ttyUSB0, "
                   "a /dev/serial/by-id/ link, ftdi:SERIAL (stands for COM1; see --slot)");
    app.add_option("--slot", common.slot, "1 or 2: the port (COM1, COM2) a --port device stands for");
    app.add_option("--delay", common.delay, "port delay 0-255: reads per line change (default 10)");
    app.add_flag("--trace", common.trace, "print each transaction as it ends: S 72 A 5A A P");
    app.add_flag("--sim", common.simulated, "run on the simulated bench board instead of real ports");
    app.add_flag("--json", common.json, "print each result as a JSON object on a line of its own");
    app.add_option("--wait", common.wait,
                   "when another program holds the port, retry until it is free or SECONDS "
                   "(5, 0.5, 500ms) have passed");
    app.add_flag("-y,--yes", common.yes, "accepted as i2c-tools take it; this tool never asks");
}

CommonOptions common_options(const CommonArguments &arguments) {
    CommonOptions options;
    const PortOption port = parse_port_option(arguments.port, arguments.slot);
    options.port_choice = port.port_choice;
    options.device = port.device;
    options.delay = static_cast<int32_t>(parse_number(arguments.delay, "--delay", 0, 255));
    options.trace = arguments.trace;
    options.simulated = arguments.simulated;
    options.json = arguments.json;
    if (!arguments.wait.empty() && arguments.wait != "0")
        options.wait = parse_interval(arguments.wait, "--wait");
    return options;
}

std::string value_name(const std::string &option) {
    if (option == "port") return "PORT";
    if (option == "slot") return "N";
    if (option == "fref" || option == "step") return "FREQ";
    if (option == "wait") return "SECONDS";
    if (option == "every") return "INTERVAL";
    return "N";
}

// Help shows what a value is ("--fref FREQ", "--delay N") rather than that
// the tool reads every value as text; positionals name themselves.
void name_values(CLI::App &command) {
    for (CLI::Option *option : command.get_options()) {
        if (!option->nonpositional()) {
            option->type_name("");
        } else if (option->get_type_name() == "TEXT") {
            option->type_name(value_name(option->get_single_name()));
        }
    }
    for (CLI::App *sub : command.get_subcommands({})) name_values(*sub);
}

// "wirelink lcd" alone: name the commands that could follow.
std::string missing_command(CLI::App &app) {
    CLI::App *deepest = &app;
    std::string path;
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (CLI::App *sub : deepest->get_subcommands({})) {
            if (!sub->parsed()) continue;
            deepest = sub;
            path += (path.empty() ? "" : " ") + sub->get_name();
            deeper = true;
            break;
        }
    }
    std::string names;
    for (CLI::App *sub : deepest->get_subcommands({})) {
        names += (names.empty() ? "" : ", ") + sub->get_name();
    }
    return (path.empty() ? "a command is needed" : path + " needs a command") + ": " + names +
           " (try --help)";
}

// An empty word is always a slip (an unset shell variable, a stray ""): it
// would otherwise read as a value left out, and a read would go out instead
// of the write asked for.
void refuse_empty_values(const CLI::App &command) {
    for (const CLI::Option *option : command.get_options()) {
        for (const std::string &value : option->results()) {
            if (value.empty()) throw usage_error(option->get_name() + ": empty; give a value");
        }
    }
    for (const CLI::App *sub : command.get_subcommands()) refuse_empty_values(*sub);
}

void report(const std::string &message) { std::fprintf(stderr, "wirelink: %s\n", message.c_str()); }

// Runs the chosen command; the session releases the port on every way out.
int run(const Run &command, const CommonOptions &options) {
    try {
        Session session(options);
        command(session);
        session.checkpoint();
        return kSuccess;
    } catch (const Failure &failure) {
        std::fflush(stdout);
        report(failure.what());
        return failure.status();
    } catch (const std::exception &error) {
        std::fflush(stdout);
        report(error.what());
        return kNoAcknowledge;
    }
}

}  // namespace

int main(int argc, char **argv) {
    hold_back_stop_signals();
    CLI::App app("wirelink: the I2C bus on a serial port's modem lines, and its chips", "wirelink");
    app.fallthrough();
    app.formatter(std::make_shared<HelpFormat>());
    app.set_version_flag("--version", std::string("wirelink ") + WIRELINK_VERSION);
    CommonArguments common;
    add_common_options(app, common);
    Commands commands;
    add_bus_commands(app, commands);
    add_register_commands(app, commands);
    add_chip_commands(app, commands);
    add_lcd_commands(app, commands);
    add_pll_commands(app, commands);
    const CLI::App *ports = add_ports_command(app);
    app.footer(kFooter);
    name_values(app);
    try {
        app.parse(argc, argv);
        refuse_empty_values(app);
        if (ports->parsed()) return list_ports(common.json);
        const Run *command = commands.chosen();
        if (command == nullptr) throw usage_error(missing_command(app));
        return run(*command, common_options(common));
    } catch (const CLI::CallForHelp &help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion &version) {
        return app.exit(version);
    } catch (const CLI::ParseError &error) {
        report(explain_parse_error(app, error, std::vector<std::string>(argv + 1, argv + argc)));
        return kUsage;
    } catch (const Failure &failure) {
        report(failure.what());
        return failure.status();
    } catch (const Interrupted &interrupted) {
        end_by_signal(interrupted.signal_number);
    }
}
