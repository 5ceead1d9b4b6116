#include "numbers.h"

#include <cctype>
#include <cstdio>
#include <utility>

#include "failure.h"

namespace cli {
namespace {

bool all_of(const std::string &text, int (*is_digit)(int)) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!is_digit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

bool is_hex_form(const std::string &text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// Digits only, so at most 15 of them keeps every value far from overflow.
bool read_digits(const std::string &digits, int base, int64_t &value) {
    if (!all_of(digits, base == 16 ? isxdigit : isdigit) || digits.size() > 15) return false;
    value = std::stoll(digits, nullptr, base);
    return true;
}

std::string range_text(int64_t min, int64_t max, bool in_hex) {
    if (in_hex) return hex(min) + " to " + hex(max);
    return std::to_string(min) + " to " + std::to_string(max);
}

void check_range(int64_t value, const std::string &text, const std::string &what, int64_t min, int64_t max,
                 bool in_hex) {
    if (value < min || value > max) {
        throw usage_error(what + ": " + text + " is out of range (" + range_text(min, max, in_hex) + ")");
    }
}

// The multiplier of a frequency unit, or 0 for no unit that we know.
int64_t unit_multiplier(const std::string &unit) {
    static const std::pair<const char *, int64_t> units[] = {
        {"", 1},        {"Hz", 1},        {"k", 1000},       {"kHz", 1000},
        {"M", 1000000}, {"MHz", 1000000}, {"G", 1000000000}, {"GHz", 1000000000}};
    for (const auto &[name, multiplier] : units) {
        if (unit == name) return multiplier;
    }
    return 0;
}

}  // namespace

std::string hex(int64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%02llx", static_cast<long long>(value));
    return text;
}

std::string frequency_text(int64_t hertz) {
    const int64_t size = hertz < 0 ? -hertz : hertz;
    const auto [unit, scale] = size >= 1'000'000 ? std::pair<const char *, int64_t>{"MHz", 1'000'000}
                               : size >= 1000    ? std::pair<const char *, int64_t>{"kHz", 1000}
                                                 : std::pair<const char *, int64_t>{"Hz", 1};
    std::string text = std::to_string(size / scale);
    std::string decimals = std::to_string(scale + size % scale).substr(1);  // leading zeros kept
    while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    if (!decimals.empty()) text += "." + decimals;
    return (hertz < 0 ? "-" : "") + text + " " + unit;
}

namespace {

// Why text is no number in range, when the reason is plainer than "not a
// number": nothing given, a minus sign, or more digits than any range here.
void refuse_near_number(const std::string &text, const std::string &what, int64_t min, int64_t max,
                        bool in_hex) {
    if (text.empty()) throw usage_error(what + ": empty; give a number (decimal, or hex as 0x5a)");
    const std::string unsigned_part = text[0] == '-' ? text.substr(1) : text;
    const bool part_hex = is_hex_form(unsigned_part);
    const std::string digits = part_hex ? unsigned_part.substr(2) : unsigned_part;
    if (!all_of(digits, part_hex ? isxdigit : isdigit)) return;
    if (text[0] == '-') {
        throw usage_error(what + ": " + text + " is negative (" + range_text(min, max, in_hex || part_hex) +
                          ")");
    }
    throw usage_error(what + ": " + text + " is too large (at most " +
                      (in_hex ? hex(max) : std::to_string(max)) + ")");
}

}  // namespace

int64_t parse_number(const std::string &text, const std::string &what, int64_t min, int64_t max) {
    const bool in_hex = is_hex_form(text);
    int64_t value = 0;
    if (!read_digits(in_hex ? text.substr(2) : text, in_hex ? 16 : 10, value)) {
        refuse_near_number(text, what, min, max, in_hex);
        throw usage_error(what + ": '" + text + "' is not a number (decimal, or hex as 0x5a)");
    }
    check_range(value, text, what, min, max, in_hex);
    return value;
}

int64_t parse_frequency(const std::string &text, const std::string &what, int64_t min, int64_t max) {
    const Failure not_a_frequency =
        usage_error(what + ": '" + text + "' is not a frequency (for example 145.5M, 12800k, 4000000)");
    std::size_t unit_at = text.size();
    while (unit_at > 0 && std::isalpha(static_cast<unsigned char>(text[unit_at - 1])) &&
           !(is_hex_form(text) && std::isxdigit(static_cast<unsigned char>(text[unit_at - 1])))) {
        --unit_at;
    }
    const int64_t multiplier = unit_multiplier(text.substr(unit_at));
    const std::string number = text.substr(0, unit_at);
    if (multiplier == 0 || number.empty()) throw not_a_frequency;

    int64_t whole = 0;
    int64_t fraction = 0;
    int64_t fraction_scale = 1;
    if (is_hex_form(number)) {
        if (!read_digits(number.substr(2), 16, whole)) throw not_a_frequency;
    } else {
        const std::size_t point = number.find('.');
        if (!read_digits(number.substr(0, point), 10, whole)) throw not_a_frequency;
        if (point != std::string::npos) {
            const std::string decimals = number.substr(point + 1);
            if (decimals.size() > 9 || !read_digits(decimals, 10, fraction)) throw not_a_frequency;
            for (std::size_t i = 0; i < decimals.size(); ++i) fraction_scale *= 10;
        }
    }
    if (whole > 1'000'000'000'000) throw usage_error(what + ": " + text + " is out of range");
    if (fraction * multiplier % fraction_scale != 0) {
        throw usage_error(what + ": " + text + " is not a whole number of hertz");
    }
    const int64_t hertz = whole * multiplier + fraction * multiplier / fraction_scale;
    if (hertz < min || hertz > max) {
        throw usage_error(what + ": " + text + " is out of range (" + std::to_string(min) + " to " +
                          std::to_string(max) + " Hz)");
    }
    return hertz;
}

}  // namespace cli
