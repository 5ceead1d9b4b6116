#include "driver_lines.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace cli {

std::string standard_error_of(const std::function<void()> &call) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> aside(std::tmpfile(), &std::fclose);
    std::fflush(stderr);
    const int saved = aside ? dup(STDERR_FILENO) : -1;
    if (saved < 0 || dup2(fileno(aside.get()), STDERR_FILENO) < 0) {
        if (saved >= 0) close(saved);
        call();
        return {};
    }
    call();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::string lines;
    std::rewind(aside.get());
    char chunk[512];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, aside.get())) > 0;)
        lines.append(chunk, got);
    return lines;
}

bool says_in_use(const std::string &lines) {
    return lines.find("in use by another program") != std::string::npos;
}

}  // namespace cli
