// What the port driver says on standard error while the tool claims a port,
// taken aside so that the tool can tell "in use" from every other failure
// before the user sees it.
#ifndef WIRELINK_CLI_DRIVER_LINES_H
#define WIRELINK_CLI_DRIVER_LINES_H

#include <functional>
#include <string>

namespace cli {

// Runs `call` with standard error going to a temporary file; returns what
// was written there ("" when nothing, or when it could not be set aside:
// then it went to standard error as always).
std::string standard_error_of(const std::function<void()> &call);

// Whether the driver said that another program holds the port: its serial
// devices, FTDI cables and I/O port locks all say so in these words.
bool says_in_use(const std::string &lines);

}  // namespace cli

#endif
