// The table through which rigcheck calls libwirelink.  Each entry is a
// std::function so that the real lazy binding and the recording fakes of the
// tests fit the same slot; an entry nobody filled throws
// std::bad_function_call when called.
#ifndef RIGCHECK_WIRELINK_API_H
#define RIGCHECK_WIRELINK_API_H

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

struct wirelink_msg;  // wirelink.h; rigcheck only hands pointers to it on

struct WirelinkApi {
#define RIGCHECK_ENTRY(name, ...) std::function<__VA_ARGS__> name;
#include "wirelink_functions.h"
#undef RIGCHECK_ENTRY
};

inline constexpr std::array kWirelinkFunctionNames{
#define RIGCHECK_ENTRY(name, ...) std::string_view{#name},
#include "wirelink_functions.h"
#undef RIGCHECK_ENTRY
};

#endif  // RIGCHECK_WIRELINK_API_H
