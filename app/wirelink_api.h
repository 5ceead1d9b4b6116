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

#include "wirelink_functions.h"

struct WirelinkApi {
#define RIGCHECK_API_MEMBER(name, ...) std::function<__VA_ARGS__> name;
    RIGCHECK_WIRELINK_FUNCTIONS(RIGCHECK_API_MEMBER)
#undef RIGCHECK_API_MEMBER
};

#define RIGCHECK_API_NAME(name, ...) std::string_view{#name},
inline constexpr std::array kWirelinkFunctionNames{RIGCHECK_WIRELINK_FUNCTIONS(RIGCHECK_API_NAME)};
#undef RIGCHECK_API_NAME

#endif  // RIGCHECK_WIRELINK_API_H
