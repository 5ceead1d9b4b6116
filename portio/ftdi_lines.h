// The modem lines of an FTDI cable in synchronous bit-bang mode: every byte
// written first samples all eight pins, then drives the outputs, so a run of
// output states goes out in one USB exchange and comes back with one sample
// of the inputs per state.
//
// At most a FIFO's worth of bytes is written and not yet read back, and each
// exchange is padded (with the last state, which changes no line) to whole
// USB packets, so that the chip returns it at once instead of at its latency
// timer.  A status read or a single line change is one exchange too.
#ifndef DLPORTIO_FTDI_LINES_H
#define DLPORTIO_FTDI_LINES_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ftdi_api.h"
#include "modem_lines.h"
#include "timing.h"

namespace dlportio {

struct FtdiChip {
    uint32_t fifo;    // bytes that may be written and not yet read back
    uint32_t packet;  // data bytes in one USB packet from the chip
    uint32_t most_steps_per_second;
};

FtdiChip ftdi_chip(ftdi_chip_type type);

// Line steps per second at a port delay: a register-level line change takes
// a control register read, its write and `delay` data register reads of
// about a microsecond each on the ISA bus.  Never faster than the chip's
// bound, which keeps SCL at or below 100 kHz.
uint32_t ftdi_steps_per_second(const FtdiChip &chip, uint32_t delay);

class FtdiLines final : public ModemLines {
public:
    // ftdi: open, in synchronous bit-bang mode, driving pins_at_open.
    // on_close runs after the cable is closed (it lets the lock go).
    FtdiLines(const FtdiApi &api, ftdi_context *ftdi, Timing &timing, FtdiChip chip, uint8_t pins_at_open,
              std::function<void()> on_close);
    ~FtdiLines() override;
    FtdiLines(const FtdiLines &) = delete;
    FtdiLines &operator=(const FtdiLines &) = delete;

    uint8_t outputs_at_open() const override;
    uint8_t inputs_at_open() const override;
    LineResult read_inputs(uint8_t &inputs) override;
    LineResult drive_outputs(uint8_t from, uint8_t to) override;
    std::string why_gone() const override { return why_gone_; }
    uint32_t run_limit() const override { return kRunLimit; }
    LineResult run_outputs(const uint8_t *outputs, uint8_t *inputs, uint32_t count, uint32_t delay,
                           uint32_t &stored) override;

private:
    static constexpr uint32_t kRunLimit = 4096;

    LineResult pace(uint32_t delay);
    // Writes bytes and reads their samples, a FIFO's worth at a time;
    // `sampled` counts the samples that came back.
    LineResult exchange(std::vector<uint8_t> &bytes, std::vector<uint8_t> &samples, uint32_t &sampled);
    LineResult exchange_chunk(const uint8_t *bytes, uint8_t *samples, uint32_t count);
    void pad_to_packets(std::vector<uint8_t> &bytes) const;
    LineResult gone(const std::string &what);

    const FtdiApi &api_;
    ftdi_context *ftdi_;
    Timing &timing_;
    FtdiChip chip_;
    uint8_t pins_at_open_;
    uint8_t pins_;  // what the outputs drive now
    std::function<void()> on_close_;
    uint32_t paced_for_ = UINT32_MAX;  // the port delay the rate was set for
    std::string why_gone_;
};

}  // namespace dlportio

#endif
