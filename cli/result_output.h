// One result on standard output: a line of text, or with --json an object
// with the keys docs/cli.md lists.  A reading repeated by --every starts
// with the time it was taken (the line) or has it as "time", its first key.
#ifndef WIRELINK_CLI_RESULT_OUTPUT_H
#define WIRELINK_CLI_RESULT_OUTPUT_H

#include <string>

#include "json_output.h"
#include "session.h"

namespace cli {

void print_result(const Session &session, const Json &object, const std::string &text);

}  // namespace cli

#endif
