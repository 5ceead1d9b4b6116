// A generic slave for chips whose bytes only need to be seen: it records every
// write transaction, answers reads with a set byte, and can withhold its
// acknowledge.
#ifndef WLSIM_RECORDING_SLAVE_H
#define WLSIM_RECORDING_SLAVE_H

#include <cstdint>
#include <vector>

#include "i2c_slave.h"

namespace wlsim {

class RecordingSlave : public I2cSlave {
public:
    // address_byte: the write address (bit 0 clear); reads use address_byte | 1.
    explicit RecordingSlave(uint8_t address_byte) : address_(address_byte & 0xFE) {}

    // A chip without a read direction: it answers exactly address_byte, bit 0
    // included, and takes every byte after it as written.
    struct WriteOnly {};
    RecordingSlave(uint8_t address_byte, WriteOnly) : address_(address_byte), write_only_(true) {}

    // The data bytes of each write transaction addressed to this slave.
    const std::vector<std::vector<uint8_t>> &transactions() const { return transactions_; }
    std::vector<uint8_t> last() const;
    void clear() { transactions_.clear(); }

    // The byte a read returns.
    void set_status(uint8_t status) { status_ = status; }
    // Withhold the acknowledge of the address byte (as if absent).
    void nack_address(bool nack) { nack_address_ = nack; }
    // Withhold the acknowledge of data byte n (counted from 0) and after.
    void nack_from_byte(int n) { nack_from_ = n; }

protected:
    bool address(uint8_t address_byte) override;
    bool write(uint8_t byte) override;
    uint8_t read() override { return status_; }
    void started() override { in_write_ = false; }
    bool transmits_after(uint8_t address_byte) const override;

private:
    uint8_t address_;
    bool write_only_ = false;
    uint8_t status_ = 0;
    bool nack_address_ = false;
    int nack_from_ = -1;
    bool in_write_ = false;
    std::vector<std::vector<uint8_t>> transactions_;
};

}  // namespace wlsim

#endif
