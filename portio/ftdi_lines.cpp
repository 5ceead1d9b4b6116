#include "ftdi_lines.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "ftdi_pins.h"

namespace dlportio {
namespace {

// A chip that gives nothing back for this long, or to this many reads in a
// row (each waits for a packet, which the chip sends at least every
// millisecond), is taken as unplugged.
constexpr auto kAnswerBound = std::chrono::milliseconds(100);
constexpr int kMostEmptyCalls = 200;

}  // namespace

FtdiChip ftdi_chip(ftdi_chip_type type) {
    // One step per byte; three steps make a clock, so 200,000 steps a second
    // keep SCL near 67 kHz with every high and low phase longer than the
    // 4.7 us of a 100 kHz bus.  FT232R bit-bang jitters above that (TN_120).
    switch (type) {
    case TYPE_2232H:
    case TYPE_4232H:
    case TYPE_232H:
        return {1024, 510, 200'000};
    case TYPE_230X:
        return {512, 62, 200'000};
    default:
        return {128, 62, 200'000};
    }
}

uint32_t ftdi_steps_per_second(const FtdiChip &chip, uint32_t delay) {
    return std::min(chip.most_steps_per_second, 1'000'000u / (2u + delay));
}

FtdiLines::FtdiLines(const FtdiApi &api, ftdi_context *ftdi, Timing &timing, FtdiChip chip,
                     uint8_t pins_at_open, std::function<void()> on_close)
    : api_(api),
      ftdi_(ftdi),
      timing_(timing),
      chip_(chip),
      pins_at_open_(pins_at_open),
      pins_(pins_at_open),
      on_close_(std::move(on_close)) {}

// Closing releases the interface, and the kernel's serial driver takes the
// cable back (its ttyUSB comes back).  The lines stay where they are.
FtdiLines::~FtdiLines() {
    api_.set_bitmode(ftdi_, 0, BITMODE_RESET);
    api_.close(ftdi_);
    api_.free_context(ftdi_);
    if (on_close_) on_close_();
}

uint8_t FtdiLines::outputs_at_open() const { return ftdi_pins::outputs_of(pins_at_open_); }

uint8_t FtdiLines::inputs_at_open() const { return ftdi_pins::inputs_of(pins_at_open_); }

// The first sample shows the pins before the byte is applied: as they are.
LineResult FtdiLines::read_inputs(uint8_t &inputs) {
    std::vector<uint8_t> bytes{pins_};
    std::vector<uint8_t> samples;
    uint32_t sampled = 0;
    const LineResult result = exchange(bytes, samples, sampled);
    if (result == LineResult::done) inputs = ftdi_pins::inputs_of(samples[0]);
    return result;
}

LineResult FtdiLines::drive_outputs(uint8_t, uint8_t to) {
    std::vector<uint8_t> bytes{ftdi_pins::pins_for(to)};
    std::vector<uint8_t> samples;
    uint32_t sampled = 0;
    const LineResult result = exchange(bytes, samples, sampled);
    if (result == LineResult::done) pins_ = bytes[0];
    return result;
}

// Sample j shows the pins after byte j-1, so the inputs after state i are
// sample i+1, and one more byte (the last state again) shows the last.
LineResult FtdiLines::run_outputs(const uint8_t *outputs, uint8_t *inputs, uint32_t count, uint32_t delay,
                                  uint32_t &stored) {
    stored = 0;
    if (count == 0) return LineResult::done;
    if (const LineResult paced = pace(delay); paced != LineResult::done) return paced;
    std::vector<uint8_t> bytes(count + 1);
    for (uint32_t i = 0; i < count; ++i) bytes[i] = ftdi_pins::pins_for(outputs[i]);
    bytes[count] = bytes[count - 1];
    std::vector<uint8_t> samples;
    uint32_t sampled = 0;
    const LineResult result = exchange(bytes, samples, sampled);
    stored = std::min(count, sampled > 0 ? sampled - 1 : 0);
    for (uint32_t i = 0; i < stored; ++i) inputs[i] = ftdi_pins::inputs_of(samples[i + 1]);
    if (result == LineResult::done) pins_ = bytes[count - 1];
    return result;
}

// The rate follows the port delay; it is set only when the delay changes.
LineResult FtdiLines::pace(uint32_t delay) {
    if (delay == paced_for_) return LineResult::done;
    const int rate = static_cast<int>(ftdi_steps_per_second(chip_, delay));
    if (api_.set_baudrate(ftdi_, rate) < 0) return gone("cannot set the bit-bang rate");
    paced_for_ = delay;
    return LineResult::done;
}

LineResult FtdiLines::exchange(std::vector<uint8_t> &bytes, std::vector<uint8_t> &samples,
                               uint32_t &sampled) {
    pad_to_packets(bytes);
    samples.assign(bytes.size(), 0);
    sampled = 0;
    const uint32_t chunk = std::max(chip_.packet, chip_.fifo / chip_.packet * chip_.packet);
    const auto total = static_cast<uint32_t>(bytes.size());
    while (sampled < total) {
        const uint32_t count = std::min({chunk, chip_.fifo, total - sampled});
        const LineResult result = exchange_chunk(&bytes[sampled], &samples[sampled], count);
        if (result != LineResult::done) return result;
        sampled += count;
    }
    return LineResult::done;
}

// Repeating the last byte changes no line; a whole packet comes back at once.
void FtdiLines::pad_to_packets(std::vector<uint8_t> &bytes) const {
    const std::size_t packets = (bytes.size() + chip_.packet - 1) / chip_.packet;
    bytes.resize(std::max<std::size_t>(packets, 1) * chip_.packet, bytes.empty() ? pins_ : bytes.back());
}

LineResult FtdiLines::exchange_chunk(const uint8_t *bytes, uint8_t *samples, uint32_t count) {
    const auto deadline = timing_.now() + kAnswerBound;
    int empty = 0;
    const auto given_up = [&](int done) {
        return done == 0 && (++empty > kMostEmptyCalls || timing_.now() >= deadline);
    };
    for (uint32_t written = 0; written < count;) {
        const int done = api_.write_data(ftdi_, bytes + written, static_cast<int>(count - written));
        if (done < 0) return gone("writing to the cable failed");
        if (given_up(done)) return gone("the cable takes no data");
        written += static_cast<uint32_t>(done);
    }
    // A read may bring fewer samples than asked, or none yet.
    for (uint32_t got = 0; got < count;) {
        const int done = api_.read_data(ftdi_, samples + got, static_cast<int>(count - got));
        if (done < 0) return gone("reading from the cable failed");
        if (given_up(done)) return gone("the cable does not answer");
        got += static_cast<uint32_t>(done);
    }
    return LineResult::done;
}

LineResult FtdiLines::gone(const std::string &what) {
    const char *detail = api_.error_string(ftdi_);
    why_gone_ = what + (detail != nullptr && *detail != '\0' ? std::string(": ") + detail : std::string());
    return LineResult::gone;
}

}  // namespace dlportio
