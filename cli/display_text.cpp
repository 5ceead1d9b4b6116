#include "display_text.h"

#include <cstdint>
#include <cstdio>
#include <map>

#include "failure.h"

namespace cli {
namespace {

// Beyond printable ASCII and the half-width katakana (U+FF61-U+FF9F at
// 0xA1-0xDF), the glyphs of ROM A00 that stand for a character of their own.
const std::map<char32_t, uint8_t> kRomCodes = {
    {U'¥', 0x5C}, {U'→', 0x7E}, {U'←', 0x7F},  {U'°', 0xDF},  {U'α', 0xE0},  {U'ä', 0xE1}, {U'β', 0xE2},
    {U'ß', 0xE2}, {U'ε', 0xE3}, {U'µ', 0xE4},  {U'μ', 0xE4},  {U'σ', 0xE5},  {U'ρ', 0xE6}, {U'√', 0xE8},
    {U'¢', 0xEC}, {U'ñ', 0xEE}, {U'ö', 0xEF},  {U'θ', 0xF2},  {U'∞', 0xF3},  {U'Ω', 0xF4}, {U'ü', 0xF5},
    {U'Σ', 0xF6}, {U'π', 0xF7}, {U'千', 0xFA}, {U'万', 0xFB}, {U'円', 0xFC}, {U'÷', 0xFD}, {U'█', 0xFF},
};

// How many bytes follow a lead byte; -1 for a byte that leads nothing.
int continuation_count(unsigned char lead) {
    if (lead < 0x80) return 0;
    if ((lead & 0xE0) == 0xC0) return 1;
    if ((lead & 0xF0) == 0xE0) return 2;
    if ((lead & 0xF8) == 0xF0) return 3;
    return -1;
}

// The next character of text from `at` on; at is moved past it.  Throws for
// bytes that are no UTF-8.
char32_t next_character(const std::string &text, std::size_t &at, std::size_t position) {
    const Failure not_utf8 = usage_error("TEXT: character " + std::to_string(position) +
                                         " is not UTF-8 (--raw sends bytes unchanged)");
    const auto lead = static_cast<unsigned char>(text[at]);
    const int extra = continuation_count(lead);
    if (extra < 0 || at + static_cast<std::size_t>(extra) >= text.size()) throw not_utf8;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) throw not_utf8;
        code = code << 6 | (next & 0x3F);
    }
    at += static_cast<std::size_t>(extra) + 1;
    return code;
}

std::string described(char32_t character, const std::string &as_written) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    const bool shown = character >= 0x20 && character != 0x7F && !(character >= 0x80 && character < 0xA0);
    return (shown ? "'" + as_written + "' (" + code + ")" : std::string(code));
}

int rom_code(char32_t character) {
    if (character >= 0x20 && character < 0x7F && character != U'\\' && character != U'~') {
        return static_cast<int>(character);
    }
    if (character >= 0xFF61 && character <= 0xFF9F) return static_cast<int>(character - 0xFF61 + 0xA1);
    const auto found = kRomCodes.find(character);
    return found != kRomCodes.end() ? found->second : -1;
}

}  // namespace

std::string display_codes(const std::string &utf8) {
    std::string codes;
    for (std::size_t at = 0, position = 1; at < utf8.size(); ++position) {
        const std::size_t start = at;
        const char32_t character = next_character(utf8, at, position);
        const int code = rom_code(character);
        if (code < 0) {
            throw usage_error("TEXT: " + described(character, utf8.substr(start, at - start)) +
                              " at character " + std::to_string(position) +
                              " is not in the display's character set (--raw sends bytes unchanged)");
        }
        codes += static_cast<char>(code);
    }
    return codes;
}

}  // namespace cli
