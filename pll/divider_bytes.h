// What the TSA5511, TSA5523 and SDA3302 have in common: a 15-bit divider in
// two bytes, the even step mode, one five-byte write and (TSA55xx) the
// status read.
#ifndef WIRELINK_PLL_DIVIDER_BYTES_H
#define WIRELINK_PLL_DIVIDER_BYTES_H

#include <cstdint>

namespace wirelink::pll {

struct DividerBytes {
    int32_t high;  // divider bits 8..14
    int32_t low;   // the divider with bits 8..14 cleared
};

DividerBytes split_divider(int32_t divider);

// Stores the divider's two bytes in a record that has div_high and div_low;
// returns the divider.
template <typename Record>
int32_t store_divider(Record &record, int32_t divider) {
    const DividerBytes bytes = split_divider(divider);
    record.div_high = bytes.high;
    record.div_low = bytes.low;
    return divider;
}

// Step mode 1 rounds an odd divider down to even; any other mode keeps it.
int32_t apply_even_step(int32_t divider, int32_t step_mode);

// The four data bytes behind the write address 0xC0 + offset.
struct DividerRecord {
    int32_t div_high;
    int32_t div_low;
    int32_t control;
    int32_t fourth;  // port or band byte
};

// One write transaction; every byte and the STOP go out whatever the chip
// answers.  Returns the acknowledge flag of the fourth data byte, 0 when a
// wait for SCL gave up.
int32_t send_divider_record(int32_t address_offset, const DividerRecord &record);

// The status byte at 0xC1 + offset, or 0 when the address is not acknowledged
// or a wait for SCL gave up.
int32_t read_status_byte(int32_t address_offset);

}  // namespace wirelink::pll

#endif
