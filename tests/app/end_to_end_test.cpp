// rigcheck's window on the real libwirelink.so, bound by name at run time,
// over the simulated bench: what the controls do is checked on the wire and
// in the simulated chips.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench.h"
#include "error_report.h"
#include "fakes.h"
#include "hw_main.h"
#include "library_binding.h"
#include "main_window.h"
#include "pcf8591.h"

namespace {

using wlsim::kCom1;
using wlsim::kCom2;

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest() { wlsim::attach(&bench); }
    ~EndToEndTest() override {
        window.waitForHardware();  // no poll on the bench once it is gone
        wlsim::attach(nullptr);
    }

    void TearDown() override {
        EXPECT_TRUE(bench.violations().empty());
        EXPECT_TRUE(bench.bus().monitor().violations().empty());
    }

    // Forgets the start-up's bus trace; the chips keep what it set.
    void loadAndShow() {
        window.load();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.waitForHardware();
        bench.bus().monitor().clear();
    }

    std::string takeTrace() {
        window.waitForHardware();
        const std::string text = bench.bus().monitor().text();
        bench.bus().monitor().clear();
        return text;
    }

    template <typename Widget>
    Widget &control(const char *name) {
        auto *widget = window.findChild<Widget *>(QLatin1String(name));
        if (widget == nullptr) throw std::runtime_error(std::string("no control ") + name);
        return *widget;
    }

    void click(std::initializer_list<const char *> boxes) {
        for (const char *box : boxes) QTest::mouseClick(&control<QCheckBox>(box), Qt::LeftButton);
        window.waitForHardware();
    }

    bool tickChanges(QLineEdit &readout) {
        const QString before = readout.text();
        QDeadlineTimer deadline(5000);
        while (readout.text() == before && !deadline.hasExpired()) QTest::qWait(20);
        return readout.text() != before;
    }

    wlsim::Bench bench;
    // The usual board: the adapter on 0x3F8, a bare UART on 0x2F8.
    const bool portsFitted = (bench.add_uart(kCom1, true), bench.add_uart(kCom2, false), true);
    wlsim::Pcf8574 &expander1 = bench.add_pcf8574(1);
    wlsim::Pcf8574 &expander2 = bench.add_pcf8574(2);
    wlsim::Pcf8591 &converter = bench.add<wlsim::Pcf8591>(kCom1, 0);

    MessageBoxErrorReporter reporter;
    LibraryBinding binding{QStringLiteral("libwirelink.so"), reporter};
    WirelinkApi wirelink = bindWirelinkLazily(binding);
    MainWindow window{wirelink, QLocale(QLocale::English, QLocale::UnitedStates)};
};

// The readouts wait for the poll timer's first tick.
TEST_F(EndToEndTest, StartUpSetsUpTheChipsAndATickShowsTheSimulatedInputs) {
    const uint8_t codes[] = {12, 128, 7, 255};
    for (int input = 0; input < 4; ++input) converter.set_input_code(input, codes[input]);
    loadAndShow();
    EXPECT_EQ(control<QLabel>("MsgLabel").text(), "I2C-Ready COM:3F8");
    EXPECT_EQ(expander1.writes(), std::vector<uint8_t>{0x00});
    EXPECT_EQ(expander2.writes(), std::vector<uint8_t>{0x00});
    EXPECT_TRUE(converter.output_enabled());
    EXPECT_EQ(converter.dac(), 250);  // 2.5 V of 2.55 V in 256 steps
    auto &chan4 = control<QLineEdit>("pcf_chan4");
    ASSERT_TRUE(tickChanges(chan4));
    EXPECT_EQ(control<QLineEdit>("pcf_chan1").text(), " 12");
    EXPECT_EQ(control<QLineEdit>("pcf_chan2").text(), " 128");
    EXPECT_EQ(control<QLineEdit>("pcf_chan3").text(), " 7");
    EXPECT_EQ(chan4.text(), " 255");
}

TEST_F(EndToEndTest, ClickingBoxesPutsTheirExpandersByteOnTheWire) {
    loadAndShow();
    click({"pcf1_0", "pcf1_3", "pcf1_7"});
    EXPECT_EQ(takeTrace(), "S 72 A 01 A P S 72 A 09 A P S 72 A 89 A P");
    click({"pcf2_0", "pcf2_5", "pcf2_0"});
    EXPECT_EQ(takeTrace(), "S 74 A 01 A P S 74 A 21 A P S 74 A 20 A P");
    EXPECT_EQ(expander1.latch(), 0x89);
    EXPECT_EQ(expander2.latch(), 0x20);
}

TEST_F(EndToEndTest, MovingTheSliderSetsTheSimulatedDac) {
    loadAndShow();
    auto &slider = control<QSlider>("Slider1");
    slider.setValue(1275);
    window.waitForHardware();
    EXPECT_EQ(takeTrace(), "S 90 A 40 A 80 A P");
    EXPECT_EQ(converter.dac(), 128);
    EXPECT_EQ(control<QLabel>("Uout").text(), "5.100 V");
    QTest::keyClick(&slider, Qt::Key_PageUp);
    window.waitForHardware();
    EXPECT_EQ(converter.dac(), 178);  // 1775 mV
    // Full scale is sent as 2549 mV, not wrapped round to code 0.
    slider.setValue(slider.maximum());
    window.waitForHardware();
    EXPECT_EQ(converter.dac(), 255);
    EXPECT_EQ(control<QLabel>("Uout").text(), "10.200 V");

    // A pass of the mouse over the slider sends the value again.
    const std::size_t writes = converter.dac_writes().size();
    QMouseEvent hover(QEvent::MouseMove, QPointF(5, 5), slider.mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&slider, &hover);
    window.waitForHardware();
    EXPECT_EQ(converter.dac_writes().size(), writes + 1);
    EXPECT_EQ(converter.dac(), 255);
}

// The hardware thread takes the window's events in the order they come: a
// session puts on the wire what the same steps did when called in turn.
TEST_F(EndToEndTest, ASessionPutsTheSameTraceOnTheWireAsTheStepsCalledInTurn) {
    converter.set_input_code(2, 77);
    auto stepsInTurn = [this] {
        CallLog unused;
        FakeWindow plainWindow{unused};
        HwMain inTurn{plainWindow, wirelink};
        inTurn.start_up();
        plainWindow.set(1, {0});
        inTurn.pcf_write(1);
        plainWindow.set(1, {3});
        inTurn.pcf_write(1);
        plainWindow.sliderPosition = 1275;
        inTurn.slider_output();
        inTurn.ad_poll();
        inTurn.quit();
    };
    // The converter's first byte is its last conversion: each session starts
    // where a whole session left the chips.
    stepsInTurn();
    takeTrace();
    stepsInTurn();
    const std::string expected = takeTrace();

    window.load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    click({"pcf1_0", "pcf1_3"});
    control<QSlider>("Slider1").setValue(1275);
    ASSERT_TRUE(tickChanges(control<QLineEdit>("pcf_chan3")));
    QTest::mouseClick(&control<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(takeTrace(), expected);
    EXPECT_EQ(control<QLineEdit>("pcf_chan3").text(), " 77");
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
