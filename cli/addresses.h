// 7-bit addresses as the standard I2C tools take them: the reserved ones
// (general call, CBUS, other bus formats, 10-bit and future addressing) only
// when asked for.
#ifndef WIRELINK_CLI_ADDRESSES_H
#define WIRELINK_CLI_ADDRESSES_H

#include <string>

namespace cli {

constexpr int kFirstOrdinaryAddress = 0x08;
constexpr int kLastOrdinaryAddress = 0x77;

bool is_reserved_address(int address);

// Throws a usage error for text that is no 7-bit address, or a reserved one
// without `all` (the -a flag).
int parse_address(const std::string &text, const std::string &what, bool all);

}  // namespace cli

#endif
