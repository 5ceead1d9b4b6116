// The tool's commands.  Each group adds its subcommands to the command line
// with their own arguments and registers what runs when one is chosen.
#ifndef WIRELINK_CLI_COMMANDS_H
#define WIRELINK_CLI_COMMANDS_H

#include <CLI/CLI.hpp>

#include <functional>
#include <utility>
#include <vector>

#include "session.h"

namespace cli {

using Run = std::function<void(Session &)>;

class Commands {
public:
    void add(CLI::App *command, Run run) { runs_.emplace_back(command, std::move(run)); }
    // The run of the command that the command line chose, or null.
    const Run *chosen() const {
        for (const auto &[command, run] : runs_) {
            if (command->parsed()) return &run;
        }
        return nullptr;
    }

private:
    std::vector<std::pair<CLI::App *, Run>> runs_;
};

// probe, detect, transfer, recover
void add_bus_commands(CLI::App &app, Commands &commands);
// get, set, dump
void add_register_commands(CLI::App &app, Commands &commands);
// expander, adc, dac
void add_chip_commands(CLI::App &app, Commands &commands);
// lcd init, print, read, clear
void add_lcd_commands(CLI::App &app, Commands &commands);
// pll tsa5511, tsa5523, tbb200, tsa6057, sda3302
void add_pll_commands(CLI::App &app, Commands &commands);

}  // namespace cli

#endif
