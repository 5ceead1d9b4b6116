// Numbers as a bench user types them: decimal or 0x hex, and frequencies
// with a unit.  Every error names the argument it came from.
#ifndef WIRELINK_CLI_NUMBERS_H
#define WIRELINK_CLI_NUMBERS_H

#include <cstdint>
#include <string>

namespace cli {

// "90", "0x5a" within [min, max]; throws a usage error naming `what`.
int64_t parse_number(const std::string &text, const std::string &what, int64_t min, int64_t max);

// Hertz from "145500000", "145.5M", "145.5MHz", "12.8k" (units Hz, k, kHz,
// M, MHz, G, GHz; 0x hex without a fraction); the result must be a whole
// number of hertz within [min, max].
int64_t parse_frequency(const std::string &text, const std::string &what, int64_t min, int64_t max);

// "145.5125 MHz", "62.5 kHz", "500 Hz": exact, in the largest unit that
// keeps a whole number before the point.
std::string frequency_text(int64_t hertz);

// "0x5a": two hex digits at least, for printing bytes and addresses.
std::string hex(int64_t value);

}  // namespace cli

#endif
