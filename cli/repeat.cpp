#include "repeat.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <utility>

#include "failure.h"
#include "numbers.h"

namespace cli {
namespace {

using std::chrono::milliseconds;

constexpr int64_t kLongestMilliseconds = 24 * 3600 * 1000;
constexpr int64_t kMostReadings = 1'000'000'000;

// Milliseconds per unit, or 0 for none that we know.
int64_t unit_milliseconds(const std::string &unit) {
    static const std::pair<const char *, int64_t> units[] = {
        {"", 1000}, {"s", 1000}, {"ms", 1}, {"min", 60'000}, {"h", 3'600'000}};
    for (const auto &[name, value] : units) {
        if (unit == name) return value;
    }
    return 0;
}

bool all_digits(const std::string &text) {
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace

void add_repeat_options(CLI::App *command, RepeatArguments &arguments) {
    command->add_option("--every", arguments.every,
                        "read again every INTERVAL (1s, 500ms, 0.5 = seconds, 2min) until Ctrl-C, "
                        "each line stamped with the time");
    command->add_option("--count", arguments.count, "with --every: stop after N readings");
}

milliseconds parse_interval(const std::string &text, const std::string &what) {
    const Failure not_an_interval =
        usage_error(what + ": '" + text + "' is not an interval (for example 1s, 500ms, 0.5 for seconds)");
    if (!text.empty() && text[0] == '-')
        throw usage_error(what + ": " + text + " is negative; give 1ms or more");
    std::size_t unit_at = text.size();
    while (unit_at > 0 && std::isalpha(static_cast<unsigned char>(text[unit_at - 1]))) --unit_at;
    const int64_t per_unit = unit_milliseconds(text.substr(unit_at));
    const std::string number = text.substr(0, unit_at);
    const std::size_t point = number.find('.');
    const std::string whole = number.substr(0, point);
    const std::string decimals = point == std::string::npos ? "" : number.substr(point + 1);
    if (per_unit == 0 || number.empty() || number == "." || !all_digits(whole) || !all_digits(decimals) ||
        whole.size() > 9 || decimals.size() > 6) {
        throw not_an_interval;
    }
    // Thousandths of a millisecond keep "0.0005" from rounding to a whole one.
    int64_t micro_units = (whole.empty() ? 0 : std::stoll(whole)) * 1'000'000;
    if (!decimals.empty()) micro_units += std::stoll(decimals + std::string(6 - decimals.size(), '0'));
    const int64_t thousandths = micro_units / 1000 * per_unit + micro_units % 1000 * per_unit / 1000;
    if (thousandths == 0) throw usage_error(what + ": " + text + " is zero; give 1ms or more");
    if (thousandths < 1000) throw usage_error(what + ": " + text + " is shorter than 1ms");
    if (thousandths > kLongestMilliseconds * 1000) {
        throw usage_error(what + ": " + text + " is too large (at most 24h)");
    }
    return milliseconds(thousandths / 1000);
}

Repeat parse_repeat(const RepeatArguments &arguments) {
    Repeat repeat;
    if (arguments.every.empty()) {
        if (!arguments.count.empty()) throw usage_error("--count: goes with --every INTERVAL");
        return repeat;
    }
    repeat.interval = parse_interval(arguments.every, "--every");
    if (!arguments.count.empty()) repeat.count = parse_number(arguments.count, "--count", 1, kMostReadings);
    return repeat;
}

std::string timestamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto millis = std::chrono::duration_cast<milliseconds>(when.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32], offset[8], text[64];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(offset, sizeof offset, "%z", &local);  // "+0100"
    std::snprintf(text, sizeof text, "%s.%03d%.3s:%.2s", date, static_cast<int>(millis), offset, offset + 3);
    return text;
}

void repeat_readings(Session &session, const Repeat &repeat, const std::function<void()> &reading) {
    if (repeat.interval.count() == 0) return reading();
    auto next = std::chrono::steady_clock::now();
    for (int64_t done = 0; repeat.count == 0 || done < repeat.count; ++done) {
        if (done > 0) {
            // A reading that took longer than the interval delays the next
            // one rather than bunching those after it.
            next = std::max(next + repeat.interval, std::chrono::steady_clock::now());
            session.sleep_until(next);
        }
        session.checkpoint();
        session.set_reading_time(timestamp(std::chrono::system_clock::now()));
        reading();
        std::fflush(stdout);
        session.checkpoint();  // a closed pipe ends the run now, not an interval later
    }
}

}  // namespace cli
