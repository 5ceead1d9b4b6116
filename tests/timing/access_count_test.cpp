// Every operation of the timing table costs exactly the port accesses that its
// line sequence implies: a line change is one MCR read, one MCR write and the
// wait; a wait for SCL on a free clock is one status read.  Nothing is cached
// and nothing is read twice.
#include "wire_test.h"

#include <map>

#include "operations.h"

namespace {

// Costs in port accesses at a port delay of d.
struct Costs {
    explicit Costs(uint64_t d)
        : change(2 + d),
          start(4 * change + 1 + 2 * d),
          stop(3 * change + 1 + d),
          sent(8 * (3 * change + 1) + d + 3 * change + 2),
          read(change + 8 * (2 * change + 2) + 4 * change + 1 + d),
          expander_write(start + 2 * sent + stop),
          expander_read(start + sent + read + stop),
          // A nibble written is three expander writes, a nibble read three
          // writes and a read; a byte is a busy wait (two nibbles read) and
          // two nibbles written.
          display_byte(2 * (3 * expander_write + expander_read) + 6 * expander_write) {}

    uint64_t change, start, stop, sent, read, expander_write, expander_read, display_byte;
};

std::map<std::string, uint64_t> expected_counts(uint64_t d) {
    const Costs c(d);
    return {
        {"START", c.start},
        {"byte sent", c.sent},
        {"byte read", c.read},
        {"STOP", c.stop},
        {"PCF8574 write", c.expander_write},
        {"PCF8574 read", c.expander_read},
        {"PCF8591 read", c.start + 2 * c.sent + c.stop + c.start + c.sent + 2 * c.read + c.stop},
        {"PCF8591 read all", c.start + 2 * c.sent + c.stop + c.start + c.sent + 5 * c.read + c.stop},
        {"PCF8591 set", c.start + 3 * c.sent + c.stop},
        {"lcd_wchar", c.display_byte},
        // The backlight write, four wake-up nibbles, six instructions.
        {"lcd_init", c.expander_write + 4 * 3 * c.expander_write + 6 * c.display_byte},
        {"TSA5511 send", c.start + 5 * c.sent + c.stop},
    };
}

class AccessCount : public StandardBoardTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        fit_chips(bench);
        claim();
    }
};

TEST_P(AccessCount, EveryOperationCostsWhatItsSequenceImplies) {
    set_port_delay(GetParam());
    const auto expected = expected_counts(static_cast<uint64_t>(GetParam()));
    for (const Operation &operation : operations()) {
        iic_stop();
        forget_history();
        operation.run();
        ASSERT_EQ(expected.count(operation.name), 1u) << operation.name;
        EXPECT_EQ(bench.accesses(), expected.at(operation.name)) << operation.name;
        // Each line change reads the register afresh.
        EXPECT_EQ(bench.reads(wlsim::kCom1 + 4), bench.writes(wlsim::kCom1 + 4)) << operation.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Delays, AccessCount, ::testing::Values(0, 1, 10, 100));

}  // namespace
