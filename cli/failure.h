// The ways a command can end early, each with the exit status a script sees.
#ifndef WIRELINK_CLI_FAILURE_H
#define WIRELINK_CLI_FAILURE_H

#include <stdexcept>
#include <string>

namespace cli {

enum ExitStatus : int {
    kSuccess = 0,
    kNoAcknowledge = 1,  // a chip did not answer, or a read failed
    kUsage = 2,          // a bad argument; the message names it
    kNoAdapter = 3,
    kNotInstalled = 4,  // a library the tool loads is missing
};

class Failure : public std::runtime_error {
public:
    Failure(ExitStatus status, const std::string &message) : std::runtime_error(message), status_(status) {}
    ExitStatus status() const { return status_; }

private:
    ExitStatus status_;
};

inline Failure usage_error(const std::string &message) { return Failure(kUsage, message); }
inline Failure no_acknowledge(const std::string &message) { return Failure(kNoAcknowledge, message); }

// A signal (Ctrl-C, a closed pipe) arrived; the tool releases the port and
// then ends by that signal.
struct Interrupted {
    int signal_number;
};

}  // namespace cli

#endif
