// A very small test harness for the Windows tests, which are built without
// GoogleTest: a case is a named function, a failed check prints where and
// what and lets the case go on, and the run ends with "N passed, M failed".
#ifndef WIRELINK_WINDOWS_CHECKS_H
#define WIRELINK_WINDOWS_CHECKS_H

#include <cstdint>
#include <string>
#include <vector>

struct TestCase {
    const char *name;
    void (*run)();
};

void record_failure(const char *file, int line, const std::string &message);

inline std::string describe(const std::string &value) { return "\"" + value + "\""; }
inline std::string describe(const char *value) { return describe(std::string(value)); }
inline std::string describe(int64_t value) { return std::to_string(value); }
inline std::string describe(uint64_t value) { return std::to_string(value); }
inline std::string describe(int32_t value) { return std::to_string(value); }
inline std::string describe(uint32_t value) { return std::to_string(value); }
inline std::string describe(double value) { return std::to_string(value); }

template <typename Actual, typename Expected>
void check_equal(const Actual &actual, const Expected &expected, const char *expression,
                 const char *file, int line) {
    if (actual == expected) return;
    record_failure(file, line,
                   std::string(expression) + " is " + describe(actual) + ", expected " + describe(expected));
}

#define CHECK(condition) \
    ((condition) ? (void)0 : record_failure(__FILE__, __LINE__, "not true: " #condition))
#define CHECK_EQ(actual, expected) check_equal((actual), (expected), #actual, __FILE__, __LINE__)

// Runs the cases in order, each followed by after_each (when given), and
// prints one line per case and the summary line; returns the number of
// failed cases.
int run_cases(const std::vector<TestCase> &cases, void (*after_each)() = nullptr);

#endif
