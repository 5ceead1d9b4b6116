// wirelink ports: what could carry the adapter on this machine, without
// touching any of it.
#ifndef WIRELINK_CLI_PORTS_COMMAND_H
#define WIRELINK_CLI_PORTS_COMMAND_H

#include <CLI/CLI.hpp>

namespace cli {

// Adds the command; it runs without claiming an adapter.
CLI::App *add_ports_command(CLI::App &app);
// Prints the list (one JSON object with `json`); returns the exit status.
int list_ports(bool json);

}  // namespace cli

#endif
