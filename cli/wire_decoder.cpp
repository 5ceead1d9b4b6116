#include "wire_decoder.h"

#include <cstdio>

#include "uart16550.h"

namespace cli {
namespace {

using uart16550::kMcrDtr;
using uart16550::kMcrRts;
using uart16550::kMsrCts;
using uart16550::kMsrDsr;

}  // namespace

void WireDecoder::control_written(uint8_t mcr) {
    const bool sda = (mcr & kMcrDtr) != 0;
    const bool scl = (mcr & kMcrRts) != 0;
    if (!known_) {
        known_ = true;
    } else if (!scl_ && scl) {
        scl_seen_high_ = false;
        clean_high_ = true;
        sample_ = sda;
    } else if (scl_ && !scl) {
        clock_fell();
    } else if (scl_ && scl && sda != sda_ && scl_seen_high_) {
        condition(!sda);
    }
    sda_ = sda;
    scl_ = scl;
}

void WireDecoder::status_read(uint8_t msr) {
    if (!known_ || !scl_ || (msr & kMsrCts) == 0) return;
    scl_seen_high_ = true;
    sample_ = (msr & kMsrDsr) != 0;
}

void WireDecoder::clock_fell() {
    const bool counts = scl_seen_high_ && clean_high_ && open_;
    scl_seen_high_ = false;
    clean_high_ = false;
    if (!counts) return;
    if (bits_ < 8) {
        shift_ = (shift_ << 1) | (sample_ ? 1u : 0u);
        ++bits_;
        return;
    }
    char byte[8];
    std::snprintf(byte, sizeof byte, "%02X %c", shift_ & 0xFF, sample_ ? 'N' : 'A');
    add(byte);
    bits_ = 0;
    shift_ = 0;
}

void WireDecoder::condition(bool start) {
    clean_high_ = false;
    cut_byte();
    if (start) {
        add(open_ ? "Sr" : "S");
        open_ = true;
        return;
    }
    add("P");
    open_ = false;
    flush();
}

// A START or STOP inside a byte leaves its bits as "x101".
void WireDecoder::cut_byte() {
    if (open_ && bits_ > 0) {
        std::string bits = "x";
        for (int i = bits_ - 1; i >= 0; --i) bits += ((shift_ >> i) & 1) ? '1' : '0';
        add(bits);
    }
    bits_ = 0;
    shift_ = 0;
}

void WireDecoder::add(const std::string &item) {
    if (!text_.empty()) text_ += ' ';
    text_ += item;
}

void WireDecoder::flush() {
    if (text_.empty()) return;
    if (listener_) listener_(text_);
    text_.clear();
}

}  // namespace cli
