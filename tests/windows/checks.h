// A very small test harness for the Windows tests, which are built without
// GoogleTest: a case is a named function, a failed check prints where and
// what and lets the case go on, and the run ends with "N passed, M failed".
#ifndef WIRELINK_WINDOWS_CHECKS_H
#define WIRELINK_WINDOWS_CHECKS_H

#include <string>
#include <type_traits>
#include <vector>

struct TestCase {
    const char *name;
    void (*run)();
};

void record_failure(const char *file, int line, const std::string &message);

template <typename Value>
std::string describe(const Value &value) {
    if constexpr (std::is_arithmetic_v<Value>)
        return std::to_string(value);
    else
        return "\"" + std::string(value) + "\"";
}

template <typename Actual, typename Expected>
void check_equal(const Actual &actual, const Expected &expected, const char *expression, const char *file,
                 int line) {
    if (actual == expected) return;
    record_failure(file, line,
                   std::string(expression) + " is " + describe(actual) + ", expected " + describe(expected));
}

#define CHECK(condition) ((condition) ? (void)0 : record_failure(__FILE__, __LINE__, "not true: " #condition))
#define CHECK_EQ(actual, expected) check_equal((actual), (expected), #actual, __FILE__, __LINE__)
// A case named after its function.
#define NAMED_CASE(function) \
    TestCase { #function, function }

// Runs the cases in order, each followed by after_each (when given), and
// prints one line per case and the summary line; returns the number of
// failed cases.
int run_cases(const std::vector<TestCase> &cases, void (*after_each)() = nullptr);

#endif
