// PCF8591 converter: four 8-bit A/D inputs and one 8-bit D/A output, with
// workers over a caller's record (volts) and entries over the library's own
// record (millivolts).

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "bus.h"

// Callers that own a record lay it out from the header; the workers must see
// the same seven 32-bit cells.
static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);
static_assert(sizeof(pcf8591_state) == 28);
static_assert(offsetof(pcf8591_state, mode) == 0);
static_assert(offsetof(pcf8591_state, vref) == 4);
static_assert(offsetof(pcf8591_state, dac) == 8);
static_assert(offsetof(pcf8591_state, reading) == 12);

using wirelink::ChipCall;
using wirelink::FaultWatch;
using wirelink::refused;
using wirelink::start_transaction;

namespace {

constexpr int32_t kChannels = 4;
constexpr int32_t kOutputEnable = 0x40;
constexpr int32_t kAutoIncrement = 0x04;

pcf8591_state library_record;  // zero at load, like all library state

// Unsigned arithmetic: an address far outside 0..7 must wrap, not overflow.
int32_t write_address(int32_t address) {
    return static_cast<int32_t>(0x90u + 2u * static_cast<uint32_t>(address));
}
int32_t read_address(int32_t address) { return write_address(address) + 1; }

bool valid_channel(int32_t channel) { return channel >= 0 && channel < kChannels; }

float volts_from_millivolts(int32_t millivolts) { return static_cast<float>(millivolts * 0.001); }

// Truncation toward zero that saturates instead of overflowing.  The caller
// has ruled out NaN.
int32_t truncate_saturating(double value) {
    if (value >= 2147483648.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483649.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// Sends the control byte in its own write transaction; true when the chip
// acknowledged both bytes and every clock came through.  A STOP still
// waiting to go out is judged with the read that follows it, whose own
// watch fails if its clock did.
bool select_input(int32_t control, int32_t address) {
    const FaultWatch faults = start_transaction();
    const bool selected = iic_send_byte(write_address(address)) != 0 && iic_send_byte(control) != 0;
    iic_stop();
    return selected && !faults.failed_so_far();
}

// Reads `count` results into `slots`.  The chip answers the first byte with
// the conversion that the previous read started, so that one is dropped.
// The slots change only when every clock of the read came through: a byte
// whose clock failed was never really read.
bool read_results(int32_t address, int32_t *slots, int count) {
    const FaultWatch faults = start_transaction();
    const bool present = iic_send_byte(read_address(address)) != 0;
    int32_t results[1 + kChannels] = {};
    if (present)
        wirelink::read_bytes_then_stop(results, 1 + count);
    else
        iic_stop();
    const bool read = present && !faults.failed();
    if (read) std::copy(results + 1, results + 1 + count, slots);
    return read;
}

// Both reads: the control byte, then the results, or a second stop when the
// chip did not take the control byte.
int32_t read_into(int32_t control, int32_t address, int32_t *slots, int count) {
    if (!select_input(control, address)) {
        iic_stop();
        return 0;
    }
    return read_results(address, slots, count) ? 1 : 0;
}

}  // namespace

extern "C" {

int32_t WIRELINK_CALL pcf8591_init(pcf8591_state *state, int32_t mode, float vref) {
    const ChipCall call;
    if (state == nullptr) return refused();
    *state = pcf8591_state{};
    state->mode = mode;
    state->vref = vref;
    return 0;
}

int32_t WIRELINK_CALL pcf8591_readchan(pcf8591_state *state, int32_t channel, int32_t address) {
    const ChipCall call;
    if (state == nullptr || !valid_channel(channel)) return refused();
    const int32_t control = state->mode | channel | kOutputEnable | kAutoIncrement;
    return read_into(control, address, &state->reading[channel], 1);
}

int32_t WIRELINK_CALL pcf8591_read4chan(pcf8591_state *state, int32_t address) {
    const ChipCall call;
    if (state == nullptr) return refused();
    const int32_t control = state->mode | kOutputEnable | kAutoIncrement;
    return read_into(control, address, state->reading, kChannels);
}

int32_t WIRELINK_CALL pcf8591_setda(pcf8591_state *state, float volts, int32_t address) {
    const ChipCall call;
    if (state == nullptr || state->vref == 0.0f) return refused();
    // Single precision throughout, as the record holds it; the quotient is
    // NaN only for a NaN operand or infinity over infinity.
    const float quotient = volts * 256.0f / state->vref;
    if (std::isnan(quotient)) return refused();
    state->dac = truncate_saturating(quotient);
    const FaultWatch faults = start_transaction();
    const bool sent = iic_send_byte(write_address(address)) != 0 && iic_send_byte(kOutputEnable) != 0 &&
                      iic_send_byte(state->dac & 0xFF) != 0;
    iic_stop();
    return sent && !faults.failed() ? 1 : 0;
}

float WIRELINK_CALL pcf8591_aout(pcf8591_state *state, int32_t channel) {
    const ChipCall call;
    if (state == nullptr || !valid_channel(channel)) return static_cast<float>(refused());
    return state->vref * 0.00390625f * static_cast<float>(state->reading[channel]);
}

int32_t WIRELINK_CALL ad_pcf8591_init(int32_t mode, int32_t vref_millivolts) {
    const ChipCall call;
    return pcf8591_init(&library_record, mode, volts_from_millivolts(vref_millivolts));
}

int32_t WIRELINK_CALL ad_pcf8591_readchan(int32_t channel, int32_t address) {
    const ChipCall call;
    if (!valid_channel(channel)) return refused();
    pcf8591_readchan(&library_record, channel, address);
    return library_record.reading[channel];
}

int32_t WIRELINK_CALL ad_pcf8591_setda(int32_t millivolts, int32_t address) {
    const ChipCall call;
    return pcf8591_setda(&library_record, volts_from_millivolts(millivolts), address);
}

int32_t WIRELINK_CALL ad_pcf8591_aout(int32_t channel) {
    const ChipCall call;
    // Double precision here: 1.27499998 V must give 1274 mV, where a float
    // product would round up to 1275.  The library's reference comes from
    // whole millivolts, so the value is never NaN.
    const double volts = pcf8591_aout(&library_record, channel);
    return truncate_saturating(volts * 1000.0);
}

}  // extern "C"
