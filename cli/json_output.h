// --json: one JSON object per result, on a line of its own, with the keys
// docs/cli.md lists.  Numbers are plain JSON numbers (decimal).
#ifndef WIRELINK_CLI_JSON_OUTPUT_H
#define WIRELINK_CLI_JSON_OUTPUT_H

#include <nlohmann/json.hpp>

#include <cstdio>

namespace cli {

using Json = nlohmann::ordered_json;

inline void print_json(const Json &object) { std::printf("%s\n", object.dump().c_str()); }

}  // namespace cli

#endif
