// One run of the tool against one adapter: loads the library when a command
// first needs it, claims the port when it first needs the bus, and releases
// the port (deinit_iic) however the run ends.
#ifndef WIRELINK_CLI_SESSION_H
#define WIRELINK_CLI_SESSION_H

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

#include "wirelink_library.h"

namespace cli {

struct CommonOptions {
    int32_t port_choice = 0;  // init_iic's: 0 search, 1 COM1, 2 COM2
    std::string device;       // stands for port_choice (wirelink_use_device); "" none
    int32_t delay = 10;
    bool trace = false;
    bool simulated = false;
    bool json = false;                  // results as JSON objects
    std::chrono::milliseconds wait{0};  // how long to wait for a port another program holds
};

// Ctrl-C and its kin, and a closed output pipe, are held back for the whole
// run, so the library is never entered from a signal handler.  A thread of
// their own takes the ones sent to the process and cancels the library call
// in progress, which ends at its next byte boundary with a STOP; the tool
// looks for them between transactions.
void hold_back_stop_signals();
// The first stop signal the thread took, or 0.
int caught_stop_signal();
// After the port is released: ends the process by that signal, as the shell
// expects of an interrupted program.
[[noreturn]] void end_by_signal(int signal_number);

class Session {
public:
    explicit Session(const CommonOptions &options) : options_(options) {}
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
    ~Session();

    // The library, loaded on first use; touches no port.
    const Wirelink &library();
    // The library with the adapter claimed; throws kNoAdapter.
    const Wirelink &bus();
    // "COM1 (0x3F8)" once claimed.
    std::string adapter_name() const;
    int32_t adapter_base() const { return claimed_base_; }
    // Whether results are printed as JSON objects (--json).
    bool json() const { return options_.json; }
    // Between transactions: throws Interrupted when a stop signal is pending.
    void checkpoint();
    // Waits until `when`, or less when a stop signal arrives (port held).
    void sleep_until(std::chrono::steady_clock::time_point when);
    // When the reading under way was taken (--every); "" for a single one.
    void set_reading_time(std::string time) { reading_time_ = std::move(time); }
    const std::string &reading_time() const { return reading_time_; }

private:
    std::string no_adapter_message() const;
    std::string ports_named() const;
    int32_t claim(const Wirelink &wirelink) const;
    int32_t claim_waiting(const Wirelink &wirelink);
    void name_device(const Wirelink &wirelink) const;
    int32_t slot_base() const;

    CommonOptions options_;
    const Wirelink *library_ = nullptr;
    int32_t claimed_base_ = 0;
    std::string reading_time_;
};

}  // namespace cli

#endif
