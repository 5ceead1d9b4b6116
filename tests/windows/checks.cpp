#include "checks.h"

#include <cstdio>

namespace {
int failures_in_case = 0;
}

void record_failure(const char *file, int line, const std::string &message) {
    ++failures_in_case;
    std::printf("  %s:%d: %s\n", file, line, message.c_str());
}

int run_cases(const std::vector<TestCase> &cases, void (*after_each)()) {
    int failed = 0;
    for (const TestCase &test : cases) {
        failures_in_case = 0;
        test.run();
        if (after_each != nullptr) after_each();
        failed += failures_in_case != 0;
        std::printf("%s %s\n", failures_in_case == 0 ? "ok     " : "FAILED ", test.name);
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", static_cast<int>(cases.size()) - failed, failed);
    return failed;
}
