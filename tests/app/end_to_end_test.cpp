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

#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "error_report.h"
#include "library_binding.h"
#include "main_window.h"
#include "pcf8591.h"

namespace {

using wlsim::kCom1;
using wlsim::kCom2;

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() { wlsim::attach(&bench); }
  ~EndToEndTest() override { wlsim::attach(nullptr); }

  void TearDown() override {
    EXPECT_TRUE(bench.violations().empty());
    EXPECT_TRUE(bench.bus().monitor().violations().empty());
  }

  void loadAndShow() {
    window.load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  void forgetHistory() {
    bench.reset_counts();
    bench.bus().monitor().clear();
  }

  std::string trace() { return bench.bus().monitor().text(); }

  template <typename Widget>
  Widget *control(const char *name) {
    auto *widget = window.findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void click(const char *box) {
    QTest::mouseClick(control<QCheckBox>(box), Qt::LeftButton);
  }

  static bool waitFor(const std::function<bool()> &condition) {
    QDeadlineTimer deadline(5000);
    while (!condition() && !deadline.hasExpired()) {
      QTest::qWait(20);
    }
    return condition();
  }

  // The usual board: the adapter on 0x3F8, a bare UART on 0x2F8.
  static bool fitStandardPorts(wlsim::Bench &bench) {
    bench.add_uart(kCom1, true);
    bench.add_uart(kCom2, false);
    return true;
  }

  wlsim::Bench bench;
  const bool portsFitted = fitStandardPorts(bench);
  wlsim::Pcf8574 &expander1 = bench.add_pcf8574(1);
  wlsim::Pcf8574 &expander2 = bench.add_pcf8574(2);
  wlsim::Pcf8591 &converter = bench.add<wlsim::Pcf8591>(kCom1, 0);

  MessageBoxErrorReporter reporter;
  LibraryBinding binding{QStringLiteral("libwirelink.so"), reporter};
  WirelinkApi wirelink = bindWirelinkLazily(binding);
  MainWindow window{wirelink, QLocale(QLocale::English, QLocale::UnitedStates)};
};

TEST_F(EndToEndTest, StartUpWritesBothExpandersAndSetsTheOutputTo2500Millivolts) {
  loadAndShow();
  EXPECT_EQ(control<QLabel>("MsgLabel")->text(), "I2C-Ready COM:3F8");
  EXPECT_EQ(expander1.writes(), std::vector<uint8_t>{0x00});
  EXPECT_EQ(expander2.writes(), std::vector<uint8_t>{0x00});
  EXPECT_TRUE(converter.output_enabled());
  EXPECT_EQ(converter.dac(), 250);  // 2.5 V of 2.55 V in 256 steps
}

TEST_F(EndToEndTest, ClickingBoxesPutsTheirExpandersByteOnTheWire) {
  loadAndShow();
  forgetHistory();
  click("pcf1_0");
  click("pcf1_3");
  click("pcf1_7");
  EXPECT_EQ(trace(), "S 72 A 01 A P S 72 A 09 A P S 72 A 89 A P");
  EXPECT_EQ(expander1.latch(), 0x89);

  forgetHistory();
  click("pcf2_0");
  click("pcf2_5");
  click("pcf2_0");
  EXPECT_EQ(trace(), "S 74 A 01 A P S 74 A 21 A P S 74 A 20 A P");
  EXPECT_EQ(expander2.latch(), 0x20);
  EXPECT_EQ(expander1.latch(), 0x89);
}

TEST_F(EndToEndTest, MovingTheSliderSetsTheSimulatedDac) {
  loadAndShow();
  forgetHistory();
  auto *slider = control<QSlider>("Slider1");
  slider->setValue(1275);
  EXPECT_EQ(trace(), "S 90 A 40 A 80 A P");
  EXPECT_EQ(converter.dac(), 128);
  EXPECT_EQ(control<QLabel>("Uout")->text(), "5.100 V");

  QTest::keyClick(slider, Qt::Key_PageUp);
  EXPECT_EQ(converter.dac(), 178);  // 1775 mV

  slider->setValue(slider->maximum());
  EXPECT_EQ(converter.dac(), 255) << "full scale, not wrapped round to 0";
  EXPECT_EQ(control<QLabel>("Uout")->text(), "10.200 V");

  // A pass of the mouse over the slider sends the value again.
  const std::size_t writes = converter.dac_writes().size();
  QMouseEvent hover(QEvent::MouseMove, QPointF(5, 5), slider->mapToGlobal(QPointF(5, 5)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(slider, &hover);
  EXPECT_EQ(converter.dac_writes().size(), writes + 1);
  EXPECT_EQ(converter.dac(), 255);
}

TEST_F(EndToEndTest, ReadoutsShowTheSimulatedInputsAfterATick) {
  const uint8_t codes[] = {12, 128, 7, 255};
  for (int input = 0; input < 4; ++input) {
    converter.set_input_code(input, codes[input]);
  }
  loadAndShow();
  auto *chan4 = control<QLineEdit>("pcf_chan4");
  EXPECT_EQ(chan4->text(), "0");
  ASSERT_TRUE(waitFor([&] { return chan4->text() != "0"; }));
  EXPECT_EQ(control<QLineEdit>("pcf_chan1")->text(), " 12");
  EXPECT_EQ(control<QLineEdit>("pcf_chan2")->text(), " 128");
  EXPECT_EQ(control<QLineEdit>("pcf_chan3")->text(), " 7");
  EXPECT_EQ(chan4->text(), " 255");
}

class NoAdapterEndToEndTest : public EndToEndTest {
 protected:
  NoAdapterEndToEndTest() { bench.unplug_adapter(kCom1); }
};

TEST_F(NoAdapterEndToEndTest, ControlsTouchNoPortButTheReadoutsAreRefreshed) {
  loadAndShow();
  EXPECT_EQ(control<QLabel>("MsgLabel")->text(), "I2C-Interface not found ");
  forgetHistory();
  click("pcf1_0");
  control<QSlider>("Slider1")->setValue(1000);
  auto *chan1 = control<QLineEdit>("pcf_chan1");
  chan1->setText("typed");
  ASSERT_TRUE(waitFor([&] { return chan1->text() != "typed"; }));
  EXPECT_EQ(chan1->text(), " 0");
  EXPECT_EQ(bench.accesses(), 0u);
  EXPECT_TRUE(expander1.writes().empty());
}

}  // namespace
