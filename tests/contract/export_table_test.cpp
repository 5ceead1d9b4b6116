// Every line of the export table (api.def) against the public header: the
// declared type of each function and data cell, its kind, and its Windows
// argument bytes (four per argument), so that whatever is made from the
// table binds and calls exactly what the library defines.
#include <cstdint>
#include <type_traits>

#include "wirelink.h"

namespace {

template <typename Function>
struct Arity;
template <typename Result, typename... Args>
struct Arity<Result(Args...)> {
    static constexpr int value = sizeof...(Args);
};

constexpr bool kKnownKind_entry = true;
constexpr bool kKnownKind_worker = true;

#define WIRELINK_FUNCTION(name, kind, bytes, result, ...)                    \
    static_assert(kKnownKind_##kind, #name ": the kind is entry or worker"); \
    static_assert(std::is_same_v<decltype(::name), result(__VA_ARGS__)>,     \
                  #name ": api.def and wirelink.h differ");                  \
    static_assert(bytes == 4 * Arity<result(__VA_ARGS__)>::value, #name      \
                  ": four argument bytes per "                               \
                  "argument");
#define WIRELINK_DATA_CELL(name, type) \
    static_assert(std::is_same_v<decltype(::name), type>, #name ": api.def and wirelink.h differ");
#include "api.def"
#undef WIRELINK_FUNCTION
#undef WIRELINK_DATA_CELL

}  // namespace
