// Help as the tool prints it: a command's help ends with the options that
// go with every command, since they may be given after the command too.
#ifndef WIRELINK_CLI_HELP_FORMAT_H
#define WIRELINK_CLI_HELP_FORMAT_H

#include <CLI/CLI.hpp>

#include <string>

namespace cli {

class HelpFormat : public CLI::Formatter {
public:
    std::string make_footer(const CLI::App *app) const override;
};

}  // namespace cli

#endif
