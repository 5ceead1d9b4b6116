// What the command line got wrong, in the user's words: the arguments in
// the order typed, the command they went to, and where its help is.
// CLI11's own texts list stray arguments in an order of their own and say
// little of what to do.
#ifndef WIRELINK_CLI_PARSE_ERRORS_H
#define WIRELINK_CLI_PARSE_ERRORS_H

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli {

// "pll" for `wirelink pll ...` (the deepest command the parse reached), ""
// for none.
std::string command_path(const CLI::App &app);

// The message for a parse error of `app`, from the words typed after the
// program's name.
std::string explain_parse_error(const CLI::App &app, const CLI::ParseError &error,
                                const std::vector<std::string> &typed);

}  // namespace cli

#endif
