#include "addresses.h"

#include "failure.h"
#include "numbers.h"

namespace cli {

bool is_reserved_address(int address) {
    return address < kFirstOrdinaryAddress || address > kLastOrdinaryAddress;
}

int parse_address(const std::string &text, const std::string &what, bool all) {
    const int address = static_cast<int>(parse_number(text, what, 0, 0x7F));
    if (!all && is_reserved_address(address)) {
        throw usage_error(what + ": " + hex(address) +
                          " is a reserved address (0x00-0x07, 0x78-0x7f); -a to use it anyway");
    }
    return address;
}

}  // namespace cli
