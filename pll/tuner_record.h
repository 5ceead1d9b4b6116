// The record the TSA5523 and SDA3302 share (div_high, div_low, control,
// band) and what both do with it: init and the five-byte write.
#ifndef WIRELINK_PLL_TUNER_RECORD_H
#define WIRELINK_PLL_TUNER_RECORD_H

#include <cstdint>

#include "divider_bytes.h"

namespace wirelink::pll {

constexpr int32_t kInitialTunerBand = 2;

template <typename TunerRecord>
int32_t init_tuner(TunerRecord &record, int32_t control) {
    record = TunerRecord{};
    record.control = control;
    record.band = kInitialTunerBand;
    return control;
}

template <typename TunerRecord>
int32_t send_tuner(const TunerRecord &record, int32_t address_offset) {
    return send_divider_record(address_offset,
                               {record.div_high, record.div_low, record.control, record.band});
}

}  // namespace wirelink::pll

#endif
