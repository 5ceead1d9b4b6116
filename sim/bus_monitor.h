// Decodes the bus into START, repeated START, bytes with their acknowledge,
// and STOP, the way a logic analyser would, and flags conditions that fall
// inside a byte.
#ifndef WLSIM_BUS_MONITOR_H
#define WLSIM_BUS_MONITOR_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "bus_device.h"

namespace wlsim {

struct BusEvent {
    enum class Kind { start, repeated_start, stop, byte, partial };
    Kind kind;
    uint8_t value = 0;  // byte: the byte; partial: the bits seen so far
    bool ack = false;   // byte: SDA was low on the ninth clock
    int bits = 0;       // partial: how many bits were clocked

    std::string text() const;
};

class BusMonitor : public BusDevice {
public:
    void on_start() override;
    void on_stop() override;
    void on_scl_rise(bool sda) override;
    void on_scl_fall() override;

    // "S 72 A 0F A P": S START, Sr repeated START, P STOP, each byte in hex
    // followed by A (acknowledged) or N (not); xBITS for a cut-off byte.
    std::string text() const;
    const std::deque<BusEvent> &events() const { return events_; }
    // Conditions placed inside a byte.
    const std::vector<std::string> &violations() const { return violations_; }
    void clear();

    // Keeps at most this many events (0: all), dropping the oldest.
    void limit(std::size_t max_events) { max_events_ = max_events; }
    // Called at every STOP with the text of the transaction it ends.
    void on_transaction(std::function<void(const std::string &)> listener) {
        listener_ = std::move(listener);
    }

private:
    void record(BusEvent event);
    void cut_byte(const char *condition);

    std::deque<BusEvent> events_;
    std::vector<std::string> violations_;
    std::string transaction_;
    std::function<void(const std::string &)> listener_;
    std::size_t max_events_ = 0;
    bool open_ = false;
    bool clean_high_ = false;  // SCL high and SDA has held still since it rose
    bool bit_ = false;
    int bits_ = 0;  // bits clocked in the current byte, ack included
    uint8_t shift_ = 0;
};

}  // namespace wlsim

#endif
