// Text for the HD44780's standard character ROM (A00): UTF-8 in, one
// character code per character out.
#ifndef WIRELINK_CLI_DISPLAY_TEXT_H
#define WIRELINK_CLI_DISPLAY_TEXT_H

#include <string>

namespace cli {

// Printable ASCII as is, the other characters the ROM has (ä ö ü ß ° µ ← →
// ¥, Greek letters, half-width katakana and the rest) to their codes.
// Throws a usage error naming the first character the ROM lacks (a control
// character, '\' and '~', whose codes show ¥ and →, or one it has no glyph
// for) with its position, or text that is not UTF-8.
std::string display_codes(const std::string &utf8);

}  // namespace cli

#endif
