// Reads the bus off the port accesses of the master, as `S 72 A 5A A P`.
//
// The master's own lines are the DTR (SDA) and RTS (SCL) bits it writes to
// the modem control register; what the wire really does shows in the DSR and
// CTS bits of every modem status read.  A clock counts only once CTS has been
// read high, and a bit's value is the DSR of the last status read while SCL
// was high (the acknowledge and every bit a slave sends), so a stuck or
// unplugged bus decodes as the silence it is.
#ifndef WIRELINK_CLI_WIRE_DECODER_H
#define WIRELINK_CLI_WIRE_DECODER_H

#include <cstdint>
#include <functional>
#include <string>

namespace cli {

class WireDecoder {
public:
    using Listener = std::function<void(const std::string &transaction)>;

    // `listener` gets the text of each transaction when its STOP is seen.
    explicit WireDecoder(Listener listener) : listener_(std::move(listener)) {}

    void control_written(uint8_t mcr);
    void status_read(uint8_t msr);
    // Hands over a transaction that has no STOP yet.
    void flush();

private:
    void condition(bool start);
    void clock_fell();
    void add(const std::string &item);
    void cut_byte();

    Listener listener_;
    bool known_ = false;  // the first control write tells the master's lines
    bool sda_ = true;
    bool scl_ = true;
    bool scl_seen_high_ = false;
    bool clean_high_ = false;  // no START or STOP since SCL rose
    bool sample_ = true;
    bool open_ = false;
    int bits_ = 0;
    unsigned shift_ = 0;
    std::string text_;
};

}  // namespace cli

#endif
