#include "session.h"

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "driver_lines.h"
#include "failure.h"
#include "numbers.h"
#include "port_tap.h"

namespace cli {
namespace {

sigset_t stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    for (int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaddset(&set, number);
    return set;
}

int pending_stop_signal() {
    const sigset_t set = stop_signals();
    const timespec no_wait{0, 0};
    const int number = sigtimedwait(&set, nullptr, &no_wait);
    return number > 0 ? number : 0;
}

std::atomic<int> caught{0};
std::atomic<decltype(&::wirelink_cancel)> cancel_call{nullptr};
std::mutex stop_mutex;
std::condition_variable stop_arrived;

// Signals sent to the process wait here; one raised by a write of the main
// thread (a closed pipe) stays pending there and is found by checkpoint().
void take_stop_signals() {
    const sigset_t set = stop_signals();
    for (;;) {
        int number = 0;
        if (sigwait(&set, &number) != 0) continue;
        int none = 0;
        {
            const std::lock_guard<std::mutex> lock(stop_mutex);
            caught.compare_exchange_strong(none, number);
        }
        stop_arrived.notify_all();
        if (const auto cancel = cancel_call.load()) cancel();
    }
}

std::string port_name(int32_t base) { return base == 0x2F8 ? "COM2" : "COM1"; }

std::string searched_ports(int32_t port_choice) {
    if (port_choice == 0) return "COM1 or COM2";
    return port_name(port_choice == 2 ? 0x2F8 : 0x3F8);
}

// "5 s", "0.5 s", "1.25 s"
std::string wait_text(std::chrono::milliseconds wait) {
    std::string text = std::to_string(wait.count() / 1000);
    std::string decimals = std::to_string(1000 + wait.count() % 1000).substr(1);
    while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    return text + (decimals.empty() ? "" : "." + decimals) + " s";
}

void print_transaction(const std::string &text) { std::printf("%s\n", text.c_str()); }

}  // namespace

void hold_back_stop_signals() {
    const sigset_t set = stop_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread(take_stop_signals).detach();
}

int caught_stop_signal() { return caught.load(); }

void end_by_signal(int signal_number) {
    std::fflush(nullptr);
    signal(signal_number, SIG_DFL);
    const sigset_t set = stop_signals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal_number);
    std::_Exit(128 + signal_number);
}

Session::~Session() {
    if (claimed_base_ != 0) library_->deinit_iic();
    port_tap::flush_trace();
}

const Wirelink &Session::library() {
    if (library_ == nullptr) {
        library_ = &load_wirelink(options_.simulated);
        cancel_call.store(library_->wirelink_cancel);
        if (caught.load() != 0) library_->wirelink_cancel();
        if (options_.trace) port_tap::trace(print_transaction);
    }
    return *library_;
}

const Wirelink &Session::bus() {
    const Wirelink &wirelink = library();
    if (claimed_base_ == 0) {
        wirelink.set_port_delay(options_.delay);
        claimed_base_ = options_.wait.count() == 0 ? claim(wirelink) : claim_waiting(wirelink);
        if (claimed_base_ == 0) throw Failure(kNoAdapter, no_adapter_message());
    }
    return wirelink;
}

int32_t Session::claim(const Wirelink &wirelink) const {
    name_device(wirelink);
    return wirelink.init_iic(options_.port_choice);
}

// Only a port that another program holds is waited for: the driver's lines
// of each try are held back, and passed on once (the first busy try's, and
// the last try's when that failed otherwise).
int32_t Session::claim_waiting(const Wirelink &wirelink) {
    const auto deadline = std::chrono::steady_clock::now() + options_.wait;
    constexpr std::chrono::milliseconds kRetry{100};
    for (bool told = false;;) {
        int32_t base = 0;
        const std::string lines = standard_error_of([&] { base = claim(wirelink); });
        const bool busy = base == 0 && says_in_use(lines);
        if (!busy || !told) std::fputs(lines.c_str(), stderr);
        if (!busy) return base;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            throw Failure(kNoAdapter, ports_named() + " still in use by another program after waiting " +
                                          wait_text(options_.wait) +
                                          " (close it, or wait longer with --wait)");
        }
        if (!told) {
            std::fprintf(stderr, "wirelink: waiting up to %s for %s to be free (Ctrl-C stops)\n",
                         wait_text(options_.wait).c_str(), ports_named().c_str());
            told = true;
        }
        sleep_until(std::min(now + kRetry, deadline));
        checkpoint();
    }
}

void Session::name_device(const Wirelink &wirelink) const {
    if (options_.device.empty()) return;
    const int32_t result = wirelink.wirelink_use_device(options_.port_choice, options_.device.c_str());
    if (result == -EOPNOTSUPP) {
        throw Failure(kNotInstalled, "the port driver cannot take a device for --port " + options_.device +
                                         "; update it, or set WIRELINK_" + port_name(slot_base()) + "=" +
                                         options_.device);
    }
    if (result != 0) throw usage_error("--port: '" + options_.device + "' names no device");
}

int32_t Session::slot_base() const { return options_.port_choice == 2 ? 0x2F8 : 0x3F8; }

std::string Session::ports_named() const {
    if (options_.device.empty()) return searched_ports(options_.port_choice);
    return options_.device + " (as " + port_name(slot_base()) + ")";
}

std::string Session::no_adapter_message() const {
    const std::string ports = ports_named();
    if (options_.simulated) {
        return "no adapter found on " + ports + " (the simulated bench has it on COM1)";
    }
    // The port driver has said why a port could not be opened, if it could
    // not; this line must not guess otherwise.
    if (!options_.device.empty()) return "no adapter found on " + ports + " (or try --sim)";
    return "no adapter found on " + ports +
           "; choose the port with --port (com1, com2, a device such as /dev/ttyUSB0 or ftdi:SERIAL), "
           "WIRELINK_COM1=DEVICE, or a line \"COM1 = DEVICE\" in ~/.config/wirelink/ports.conf or "
           "/etc/wirelink/ports.conf (or try --sim)";
}

std::string Session::adapter_name() const {
    char base[8];
    std::snprintf(base, sizeof base, "0x%03X", static_cast<unsigned>(claimed_base_));
    return port_name(claimed_base_) + " (" + base + ")";
}

void Session::checkpoint() {
    if (const int number = caught.load()) throw Interrupted{number};
    if (const int number = pending_stop_signal()) throw Interrupted{number};
}

void Session::sleep_until(std::chrono::steady_clock::time_point when) {
    std::unique_lock<std::mutex> lock(stop_mutex);
    stop_arrived.wait_until(lock, when, [] { return caught.load() != 0; });
}

}  // namespace cli
