// A clock that dies in the middle of a transaction, as when a cable is pulled
// or a slave hangs: every chip call reports the failure as if the chip had not
// answered, and stores nothing that was not really clocked in.
#include "wire_test.h"

#include <cstdio>
#include <functional>

#include "hd44780.h"
#include "pcf8591.h"
#include "recording_slave.h"

namespace {

// Holds SCL low for good once a chosen number of whole bytes (nine clocks
// each) of a chosen transaction, counted in STARTs from arming, went by.
class ClockDeath : public wlsim::BusDevice {
public:
    void arm(int start, int bytes) {
        start_ = start;
        clocks_ = 9 * bytes;
        starts_ = 0;
        died_ = false;
    }
    // Whether it has held SCL since it was armed.
    bool died() const { return died_; }
    void revive() {
        dead_ = false;
        start_ = -1;
    }

    void on_start() override {
        ++starts_;
        rises_ = 0;
    }
    void on_scl_rise(bool) override { ++rises_; }
    void on_scl_fall() override {
        dead_ = dead_ || (starts_ == start_ && rises_ == clocks_);
        died_ = died_ || dead_;
    }
    bool holds_scl() const override { return dead_; }

private:
    int start_ = -1, clocks_ = 0, starts_ = 0, rises_ = 0;
    bool dead_ = false;
    bool died_ = false;
};

class ClockFailure : public StandardBoardTest {
public:
    void SetUp() override {
        expander.drive_pins(0x3C);
        for (int input = 0; input < 4; ++input) converter.set_input_code(input, 0x11 * (input + 1));
        synthesizer.set_status(0x42);
        claim();
        ASSERT_EQ(lcd_init(), 1);
        ad_pcf8591_init(0, 2550);
        ASSERT_EQ(ad_pcf8591_readchan(1, 0), 0x22);
        std::snprintf(lcd_STRING, sizeof lcd_STRING, "kept");
        forget_history();
    }

    wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
    wlsim::Hd44780 &display = bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
    wlsim::Pcf8574 &expander = bench.add_pcf8574(1);
    wlsim::Pcf8591 &converter = bench.add<wlsim::Pcf8591>(wlsim::kCom1, 0);
    wlsim::RecordingSlave &synthesizer = bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC0);
    ClockDeath &death = bench.add<ClockDeath>(wlsim::kCom1);
};

struct Case {
    const char *name;
    int start;  // the transaction the clock dies in, 1 for the call's first
    int bytes;  // whole bytes clocked before it dies
    std::function<void(ClockFailure &)> call_and_check;

    friend void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }
};

class ClockDies : public ClockFailure, public ::testing::WithParamInterface<Case> {};

TEST_P(ClockDies, CallFailsAndStoresNothing) {
    death.arm(GetParam().start, GetParam().bytes);
    GetParam().call_and_check(*this);
    EXPECT_TRUE(death.died()) << "the clock never died: the case tests nothing";
}

// A display byte is a busy poll (two nibble reads of four transactions, the
// third the read) and two nibble writes of three transactions.
constexpr int kPollReads[] = {3, 7};
constexpr int kDisplayByte = 8 + 6;

const Case kCases[] = {
    {"expander_read", 1, 1,
     [](ClockFailure &) {
         int32_t value = 0x55;
         EXPECT_EQ(_iic_rx_pcf8574(&value, 1), 0);
         EXPECT_EQ(value, 0);
     }},
    // The expander, stopped mid-byte, holds SDA for bit 7 of 0x3C: a new
    // claim clears the bus before its probe and finds the adapter.
    {"claim_after_a_slave_was_left_mid_byte", 1, 1,
     [](ClockFailure &f) {
         EXPECT_EQ(iic_rx_pcf8574(1), 0);
         f.death.revive();
         EXPECT_EQ(init_iic(1), 0x3F8);
         EXPECT_EQ(iic_rx_pcf8574(1), 0x3C);
     }},
    {"expander_write_in_its_stop", 1, 2, [](ClockFailure &) { EXPECT_EQ(iic_tx_pcf8574(0x12, 1), 0); }},
    {"converter_read", 2, 1,
     [](ClockFailure &f) {
         f.converter.set_input_code(1, 0x99);
         EXPECT_EQ(ad_pcf8591_readchan(1, 0), 0x22);
     }},
    {"converter_read_all", 2, 2,
     [](ClockFailure &f) {
         pcf8591_state record{};
         record.reading[2] = 7;
         EXPECT_EQ(pcf8591_read4chan(&record, 0), 0);
         EXPECT_THAT(record.reading, ::testing::ElementsAre(0, 0, 7, 0));
         // Once the clock is back the converter, left in the middle of a
         // byte, is clocked free, and every channel reads where it belongs.
         f.death.revive();
         EXPECT_EQ(pcf8591_read4chan(&record, 0), 1);
         EXPECT_THAT(record.reading, ::testing::ElementsAre(0x11, 0x22, 0x33, 0x44));
     }},
    {"converter_set_in_its_stop", 1, 3, [](ClockFailure &) { EXPECT_EQ(ad_pcf8591_setda(1000, 0), 0); }},
    {"display_address", kPollReads[0], 1, [](ClockFailure &) { EXPECT_EQ(lcd_get_adress(), -1); }},
    {"display_instruction_in_its_last_write", kDisplayByte, 2,
     [](ClockFailure &) { EXPECT_EQ(lcd_instr(0x06), 0); }},
    {"display_character", kDisplayByte + kPollReads[1], 1,
     [](ClockFailure &) {
         int32_t character = 0x1234;
         EXPECT_EQ(lcd_rchar(&character, 0), 0);
         EXPECT_EQ(character, 0x1234);
     }},
    {"display_string", kDisplayByte + 8 + kPollReads[0], 1,
     [](ClockFailure &) {
         char text[4] = "xyz";
         EXPECT_EQ(lcd_read_str(3, 0, text), 0);
         EXPECT_STREQ(text, "xyz");
         EXPECT_STREQ(lcd_STRING, "kept");
     }},
    {"synthesizer_status_in_its_stop", 1, 2, [](ClockFailure &) { EXPECT_EQ(pll_tsa5511_read(0), 0); }},
    {"synthesizer_send_in_its_stop", 1, 5,
     [](ClockFailure &) {
         pll_tsa5511_init(0x8E, 0, 0);
         EXPECT_EQ(pll_tsa5511_send(0), 0);
     }},
};

INSTANTIATE_TEST_SUITE_P(Calls, ClockDies, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
