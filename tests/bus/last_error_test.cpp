// What wirelink_last_error tells after each kind of call, and what a
// cancelled call does at the wire.
#include <thread>

#include "hd44780.h"
#include "recording_slave.h"
#include "wire_test.h"

namespace {

class LastError : public StandardBoardTest {
public:
    void SetUp() override {
        claim();
        display.stay_busy(false);
        ASSERT_EQ(lcd_init(), 1);
        forget_history();
    }
    void TearDown() override {
        wirelink_cancel_reset();
        StandardBoardTest::TearDown();
    }

    wlsim::Bench &board() { return bench; }

    wlsim::Pcf8574 &expander = bench.add_pcf8574(1);
    wlsim::RecordingSlave &synthesizer = bench.add<wlsim::RecordingSlave>(wlsim::kCom1, 0xC0);
    wlsim::Pcf8574 &display_port = bench.add_pcf8574(0);
    wlsim::Hd44780 &display = bench.add<wlsim::Hd44780>(wlsim::kCom1, display_port);
};

struct Case {
    const char *name;
    std::function<void(LastError &)> make;
    int32_t code;

    friend void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }
};

class EachFault : public LastError, public ::testing::WithParamInterface<Case> {};

const Case kCases[] = {
    {"Success", [](LastError &) { iic_tx_pcf8574(0x5A, 1); }, 0},
    {"AddressNotAcknowledged", [](LastError &) { iic_tx_pcf8574(0x5A, 5); }, WIRELINK_ENXIO},
    {"LaterByteNotAcknowledged",
     [](LastError &t) {
         t.synthesizer.nack_from_byte(1);
         pll_tsa5511_send(0);
     },
     WIRELINK_EREMOTEIO},
    {"ClockHeldLow",
     [](LastError &t) {
         t.board().bus().stick_scl_low(true);
         iic_rx_pcf8574(1);
     },
     WIRELINK_ETIMEDOUT},
    {"DisplayStaysBusy",
     [](LastError &t) {
         t.display.stay_busy(true);
         lcd_wchar('A');
     },
     WIRELINK_EBUSY},
    {"ArgumentRefused", [](LastError &) { _iic_rx_pcf8574(nullptr, 1); }, WIRELINK_EINVAL},
    {"NoPortClaimed",
     [](LastError &) {
         init_iic(2);  // a bare UART: nothing claimed
         iic_tx_pcf8574(0x5A, 1);
     },
     WIRELINK_ENODEV},
    {"InertCallSucceeds",
     [](LastError &) {
         iic_tx_pcf8574(0x5A, 5);
         io_enable();
     },
     0},
};

TEST_P(EachFault, IsTold) {
    GetParam().make(*this);
    EXPECT_EQ(wirelink_last_error(), GetParam().code);
    EXPECT_STRNE(wirelink_strerror(wirelink_last_error()), "unknown error");
    bench.bus().stick_scl_low(false);
}

INSTANTIATE_TEST_SUITE_P(Calls, EachFault, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(LastError, BelongsToTheCallingThread) {
    iic_tx_pcf8574(0x5A, 5);
    std::thread([] {
        iic_tx_pcf8574(0x5A, 1);
        EXPECT_EQ(wirelink_last_error(), 0);
    }).join();
    EXPECT_EQ(wirelink_last_error(), WIRELINK_ENXIO);
}

TEST_F(LastError, ACancelledReadEndsWithAStopAndLaterCallsLeaveTheBusAlone) {
    iic_start();
    ASSERT_EQ(iic_send_byte(0x73), 1);
    wirelink_cancel();
    EXPECT_EQ(iic_read_byte(0), 0xFF);
    EXPECT_EQ(wirelink_last_error(), WIRELINK_ECANCELED);
    EXPECT_EQ(trace(), "S 73 A P");

    forget_history();
    EXPECT_EQ(iic_tx_pcf8574(0x5A, 1), 0);
    EXPECT_EQ(lcd_wchar('A'), 0);
    EXPECT_EQ(wirelink_last_error(), WIRELINK_ECANCELED);
    EXPECT_EQ(bench.accesses(), 0u);

    wirelink_cancel_reset();
    EXPECT_EQ(iic_tx_pcf8574(0x5A, 1), 1);
    EXPECT_EQ(trace(), "S 72 A 5A A P");
}

TEST_F(LastError, AClaimEndsACancellation) {
    wirelink_cancel();
    claim();
    EXPECT_EQ(iic_tx_pcf8574(0x5A, 1), 1);
    EXPECT_EQ(wirelink_last_error(), 0);
}

}  // namespace
