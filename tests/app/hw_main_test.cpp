#include "hw_main.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <wirelink.h>

#include "fakes.h"

namespace {

using ::testing::Values;

class HwMainTest : public ::testing::Test {
protected:
    CallLog log;
    FakeWirelink wirelink{log};
    FakeWindow window{log};
    HwMain hw{window, wirelink.api, QLocale(QLocale::English, QLocale::UnitedStates)};
};

struct ByteCase {
    int group;
    std::vector<int> checked;
    std::vector<int> greyed;
    int value;
};
void PrintTo(const ByteCase &c, std::ostream *os) { *os << c.group << "_" << c.value; }

// Every box alone weighs 2^n; then mixed groups, all, none, and a greyed box.
std::vector<ByteCase> byteCases() {
    std::vector<ByteCase> cases{{1, {0, 3, 7}, {}, 137},
                                {2, {0, 5}, {}, 33},
                                {2, {0, 1, 2, 3, 4, 5, 6, 7}, {}, 255},
                                {2, {}, {}, 0},
                                {1, {1}, {4}, 2}};
    for (int group = 1; group <= 2; ++group) {
        for (int bit = 0; bit < 8; ++bit) cases.push_back({group, {bit}, {}, 1 << bit});
    }
    return cases;
}

class ExpanderByte : public HwMainTest, public ::testing::WithParamInterface<ByteCase> {};

TEST_P(ExpanderByte, IsRebuiltFromTheGroupsCheckedBoxesOnly) {
    const ByteCase &c = GetParam();
    hw.hw_init();
    window.set(3 - c.group, {0, 1, 2, 3, 4, 5, 6, 7});  // the other group stays out
    window.set(c.group, c.checked);
    window.set(c.group, c.greyed, BoxState::Greyed);
    log.clear();
    hw.pcf_write(static_cast<std::uint8_t>(c.group));
    EXPECT_EQ(log,
              CallLog{"iic_tx_pcf8574(" + std::to_string(c.value) + "," + std::to_string(c.group) + ")"});
}

INSTANTIATE_TEST_SUITE_P(Boxes, ExpanderByte, ::testing::ValuesIn(byteCases()));

// Before hw_init, and after it found nothing (port 0): boxes and slider send
// nothing, but polling and quit still reach the library.
class NoAdapter : public HwMainTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NoAdapter, SendsNothingButStillPollsAndReleasesThePortOnce) {
    if (GetParam()) {
        wirelink.adapterPort = 0;
        hw.hw_init();
        log.clear();
    }
    window.set(1, {0, 3});
    window.sliderPosition = 1275;
    wirelink.readings = {128, 0, 7, -5};
    hw.pcf_write(1);
    hw.pcf_write(2);
    hw.slider_output();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window.uout, "0");

    hw.ad_poll();
    hw.quit();
    EXPECT_EQ(log,
              (CallLog{"ad_pcf8591_readchan(0,0)", "ad_pcf8591_readchan(1,0)", "ad_pcf8591_readchan(2,0)",
                       "ad_pcf8591_readchan(3,0)", "deinit_iic()", "closeWindow"}));
    // A blank stands where a minus sign would.
    EXPECT_EQ(window.readouts, (std::array<QString, 4>{" 128", " 0", " 7", "-5"}));
}

INSTANTIATE_TEST_SUITE_P(BeforeAndAfterSearch, NoAdapter, Values(false, true));

// A cable pulled out: the status line says so in red, and goes back to the
// port once polls read again.
TEST_F(HwMainTest, ALostAdapterShowsInTheStatusLineUntilItIsBack) {
    hw.hw_init();
    wirelink.lastError = WIRELINK_ENODEV;
    hw.ad_poll();
    EXPECT_EQ(window.statusText, "I2C-Interface lost");
    EXPECT_EQ(window.statusColour, QColor(255, 0, 0));
    wirelink.lastError = 0;
    hw.ad_poll();
    EXPECT_EQ(window.statusText, "I2C-Ready COM:3F8");
    EXPECT_EQ(window.statusColour, QColor(0, 0, 0));
}

struct SliderCase {
    int millivolts;
    QLocale::Language language;
    const char *caption;
    int sent;
};
void PrintTo(const SliderCase &c, std::ostream *os) { *os << c.caption; }

class SliderOutput : public HwMainTest, public ::testing::WithParamInterface<SliderCase> {};

TEST_P(SliderOutput, ShowsFourTimesTheOutputAndSetsTheConverter) {
    HwMain localised(window, wirelink.api, QLocale(GetParam().language));
    localised.hw_init();
    log.clear();
    window.sliderPosition = GetParam().millivolts;
    localised.slider_output();
    EXPECT_EQ(window.uout, QString::fromUtf8(GetParam().caption));
    EXPECT_EQ(log, CallLog{"ad_pcf8591_setda(" + std::to_string(GetParam().sent) + ",0)"});
}

INSTANTIATE_TEST_SUITE_P(Values, SliderOutput,
                         Values(SliderCase{1275, QLocale::English, "5.100 V", 1275},
                                SliderCase{0, QLocale::English, "0.000 V", 0},
                                SliderCase{2549, QLocale::English, "10.196 V", 2549},
                                // The reference itself would wrap to code 0 in the converter.
                                SliderCase{2550, QLocale::English, "10.200 V", 2549},
                                SliderCase{1275, QLocale::German, "5,100 V", 1275}));

struct StartUpCase {
    int32_t port;
    const char *status;
    QColor colour;
    CallLog chipCalls;
};
void PrintTo(const StartUpCase &c, std::ostream *os) { *os << c.status; }

class StartUp : public HwMainTest, public ::testing::WithParamInterface<StartUpCase> {};

TEST_P(StartUp, SearchesReportsAndWithAnAdapterSetsUpTheChips) {
    const StartUpCase &c = GetParam();
    wirelink.adapterPort = c.port;
    window.set(1, {0, 3, 7});
    window.set(2, {5});
    hw.start_up();
    CallLog expected{"setupSlider", "set_port_delay(10)", "init_iic(0)"};
    expected.insert(expected.end(), c.chipCalls.begin(), c.chipCalls.end());
    EXPECT_EQ(log, expected);
    EXPECT_EQ(window.statusText, QString::fromLatin1(c.status));
    EXPECT_EQ(window.statusColour, c.colour);
    EXPECT_EQ(hw.iic_port(), c.port);
    EXPECT_EQ(window.uout, "0") << "the caption waits for the slider to move";
}

const CallLog kChipSetUp{"iic_tx_pcf8574(137,1)", "iic_tx_pcf8574(32,2)", "ad_pcf8591_init(0,2550)",
                         "ad_pcf8591_setda(2500,0)"};

INSTANTIATE_TEST_SUITE_P(Ports, StartUp,
                         Values(StartUpCase{0x3F8, "I2C-Ready COM:3F8", QColor(0, 0, 0), kChipSetUp},
                                StartUpCase{0x2F8, "I2C-Ready COM:2F8", QColor(0, 0, 0), kChipSetUp},
                                StartUpCase{0, "I2C-Interface not found ", QColor(255, 0, 0), {}}));

// Holds the hardware jobs and window updates until the test runs them, as a
// slow cable would.
class HeldRunner final : public WorkRunner {
public:
    void onHardware(std::function<void()> job) override { jobs.push_back(std::move(job)); }
    void onWindow(std::function<void()> update) override { updates.push_back(std::move(update)); }
    void dropPendingJobs() override { jobs.clear(); }
    void runAll() {
        while (!jobs.empty() || !updates.empty()) {
            auto &queue = jobs.empty() ? updates : jobs;
            auto next = std::move(queue.front());
            queue.erase(queue.begin());
            next();
        }
    }
    std::vector<std::function<void()>> jobs, updates;
};

class SlowCable : public HwMainTest {
protected:
    HeldRunner runner;
    HwMain slow{window, wirelink.api, QLocale(QLocale::English, QLocale::UnitedStates), runner};
};

TEST_F(SlowCable, ATickWhileThePollIsStillRunningIsSkipped) {
    wirelink.readings = {1, 2, 3, 4};
    slow.ad_poll();
    slow.ad_poll();
    runner.runAll();
    EXPECT_EQ(log.size(), 4u);
    EXPECT_EQ(window.readouts, (std::array<QString, 4>{" 1", " 2", " 3", " 4"}));
    slow.ad_poll();
    runner.runAll();
    EXPECT_EQ(log.size(), 8u) << "the next tick after the results polls again";
}

// Quit cancels the call on the wire, drops what was waiting behind it, and
// clears the cancel so that the port is released; later events do nothing.
TEST_F(SlowCable, QuitCancelsDropsTheWaitingWorkAndReleasesThePort) {
    CallLog cancels;
    wirelink.api.wirelink_cancel = [&] { cancels.push_back("cancel"); };
    wirelink.api.wirelink_cancel_reset = [&] { log.push_back("wirelink_cancel_reset()"); };
    slow.hw_init();
    runner.runAll();
    log.clear();
    window.set(1, {0});
    slow.pcf_write(1);
    slow.ad_poll();
    slow.quit();
    EXPECT_EQ(cancels, CallLog{"cancel"});
    slow.pcf_write(1);
    slow.slider_output();
    slow.quit();
    runner.runAll();
    EXPECT_EQ(log, (CallLog{"wirelink_cancel_reset()", "deinit_iic()", "closeWindow"}));
    EXPECT_EQ(cancels.size(), 1u);
}

}  // namespace
