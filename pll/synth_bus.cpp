#include "synth_bus.h"

#include "bus.h"

namespace wirelink::pll {

int32_t send_bytes(std::initializer_list<int32_t> bytes) {
    int32_t ack = 0;
    for (const int32_t byte : bytes) ack = iic_send_byte(byte);
    return ack;
}

}  // namespace wirelink::pll
