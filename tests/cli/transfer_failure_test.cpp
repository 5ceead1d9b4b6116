// Naming the unanswered byte of a failed transfer from the decoded wire.
#include "transfer_failure.h"

#include <gtest/gtest.h>

namespace {

using cli::Message;

TEST(UnansweredByte, NamesTheAddressOrTheDataByteTheWireShowsRefused) {
    const std::vector<Message> messages = {
        {false, 0x48, 2, {0x40, 0x80}}, {true, 0x48, 2, {}}, {false, 0x50, 1, {0x11}}};
    const struct {
        const char *wire;
        const char *named;
    } cases[] = {
        {"S 90 N P", "no acknowledge from 0x48"},
        {"S 90 A 40 A 80 N P", "no acknowledge from 0x48 for byte 2 (0x80)"},
        {"S 90 A 40 A 80 A Sr 91 A 12 A 34 N Sr A0 N P", "no acknowledge from 0x50"},
        {"S 90 A 40 A 80 A Sr 91 A 12 A 34 N Sr A0 A 11 N P", "no acknowledge from 0x50 for byte 1 (0x11)"},
        {"", "no acknowledge from 0x48"},
    };
    for (const auto &c : cases) EXPECT_EQ(cli::unanswered_byte(messages, c.wire), c.named) << c.wire;
}

}  // namespace
