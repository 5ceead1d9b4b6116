// A line on standard error that does not end the run ("wirelink: ...").
#ifndef WIRELINK_CLI_WARNING_H
#define WIRELINK_CLI_WARNING_H

#include <cstdio>
#include <string>

namespace cli {

inline void report_warning(const std::string &message) {
    std::fflush(stdout);  // keeps the order of the two on one terminal
    std::fprintf(stderr, "wirelink: %s\n", message.c_str());
}

}  // namespace cli

#endif
