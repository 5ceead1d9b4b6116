// One serial port's eight registers, however they are reached.
#ifndef DLPORTIO_REGISTER_BACKEND_H
#define DLPORTIO_REGISTER_BACKEND_H

#include <cstdint>

namespace dlportio {

class RegisterBackend {
public:
    virtual ~RegisterBackend() = default;
    // offset is 0 to 7 from the port's I/O base.
    virtual uint8_t read(unsigned offset) = 0;
    virtual void write(unsigned offset, uint8_t value) = 0;

    // Runs of line steps (port_extension.h), for a device that takes them.
    virtual uint32_t run_limit() { return 0; }
    virtual int32_t run_steps(const uint8_t * /*steps*/, uint8_t * /*samples*/, uint32_t /*count*/,
                              uint32_t /*delay*/) {
        return -1;
    }
};

}  // namespace dlportio

#endif
