// A stand-in serial port for the library to write a chip's bytes to, so that
// the tool prints what the library itself would put on the wire instead of
// keeping a second copy of each chip's layout.  It answers as the adapter on
// COM1 with nothing on the bus (SCL and SDA read back as driven, so every
// byte is unacknowledged), reaches no real port, and decodes the wire into
// the bytes of each transaction.
#ifndef WIRELINK_CLI_CAPTURE_PORT_H
#define WIRELINK_CLI_CAPTURE_PORT_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wire_decoder.h"
#include "wirelink_library.h"

namespace cli {

class CapturePort {
public:
    CapturePort();

    uint8_t read(unsigned long port);
    void write(unsigned long port, uint8_t value);

    // The bytes of each transaction seen so far, address byte first.
    const std::vector<std::vector<int32_t>> &transactions() const { return transactions_; }

private:
    uint8_t modem_control_ = 0;
    WireDecoder decoder_;
    std::vector<std::vector<int32_t>> transactions_;
};

// Runs `send` with every port access of the library diverted to a capture
// port claimed as COM1, and returns the bytes of its transactions.  No real
// port is touched.
std::vector<std::vector<int32_t>> capture_bytes(const Wirelink &wirelink,
                                                const std::function<void(const Wirelink &)> &send);

}  // namespace cli

#endif
