// --every and --count: one claim of the port, a reading per interval, each
// stamped with the time it was taken, until the count is reached or a stop
// signal arrives (the run then ends by that signal, as any interrupted run).
#ifndef WIRELINK_CLI_REPEAT_H
#define WIRELINK_CLI_REPEAT_H

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "session.h"

namespace cli {

struct RepeatArguments {
    std::string every;
    std::string count;
};

struct Repeat {
    std::chrono::milliseconds interval{0};  // 0: one reading, unstamped
    int64_t count = 0;                      // 0: until stopped
};

void add_repeat_options(CLI::App *command, RepeatArguments &arguments);

// "1s", "500ms", "0.5" (seconds), "2min": 1 ms to 24 h; throws a usage error
// naming `what`.
std::chrono::milliseconds parse_interval(const std::string &text, const std::string &what);

// Throws a usage error for a bad interval or count, or a count without --every.
Repeat parse_repeat(const RepeatArguments &arguments);

// "2026-12-08T17:40:01.123+01:00": local time with its offset from UTC.
std::string timestamp(std::chrono::system_clock::time_point when);

// Runs `reading` once, or as `repeat` says with the session's reading time
// set before each one.
void repeat_readings(Session &session, const Repeat &repeat, const std::function<void()> &reading);

}  // namespace cli

#endif
