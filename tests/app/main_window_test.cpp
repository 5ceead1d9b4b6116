#include "main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "fakes.h"

namespace {

const char *const kExpander1Captions[] = {
    "LED HF-Synth aus", "LED UHF-Synth aus", "HF-Synth aus",      "UHF-Synth aus",
    "UB Convert 1 aus", "UB Convert 2 aus",  "RX Umschalter aus", "UB Markengen aus"};
const char *const kExpander2Captions[] = {
    "NFM , NF aus ",    "WFM , NF aus",    "AM , NF aus", "Squelch ein",
    "LED Converter 1 ", "LED Converter 2", "LED D9",      "LED Markengen"};

class MainWindowTest : public ::testing::Test {
 protected:
  CallLog log;
  FakeWirelink wirelink{log};
  MainWindow window{wirelink.api, QLocale(QLocale::English, QLocale::UnitedStates)};

  template <typename Widget>
  Widget *control(const QString &name) {
    auto *widget = window.findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }

  void loadAndShow(int32_t adapterPort) {
    wirelink.adapterPort = adapterPort;
    window.load();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    log.clear();
  }

};

TEST_F(MainWindowTest, IsAFixedRigcheckWindowWithoutMinimiseOrMaximise) {
  EXPECT_EQ(window.windowTitle(), "Rigcheck");
  EXPECT_EQ(window.minimumSize(), QSize(528, 408));
  EXPECT_EQ(window.maximumSize(), QSize(528, 408));
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(MainWindowTest, ExpanderBoxesCarryTheirCaptionsTopToBottom) {
  const struct {
    const char *frame;
    const char *title;
    const char *stem;
    const char *const *captions;
  } groups[] = {{"PCF_1", "PCF8574 (Adr.:114)", "pcf1_", kExpander1Captions},
                {"PCF_2", "PCF8574 (Adr.:116)", "pcf2_", kExpander2Captions}};
  for (const auto &group : groups) {
    auto *frame = control<QGroupBox>(group.frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), group.title);
    EXPECT_EQ(frame->parentWidget()->objectName(), "Frame2");
    int previousTop = -1;
    for (int bit = 0; bit < 8; ++bit) {
      auto *box = control<QCheckBox>(group.stem + QString::number(bit));
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), group.captions[bit]);
      EXPECT_EQ(box->parentWidget(), frame);
      EXPECT_EQ(box->size(), QSize(200, 22));
      EXPECT_FALSE(box->isTristate());
      EXPECT_GT(box->y(), previousTop);
      previousTop = box->y();
    }
  }
  EXPECT_LT(control<QGroupBox>("PCF_1")->x(), control<QGroupBox>("PCF_2")->x());
  EXPECT_EQ(control<QGroupBox>("Frame2")->title(), "PCF8574");
}

TEST_F(MainWindowTest, ConverterBlockHasOneRowOfReadoutsAndTheSlider) {
  EXPECT_EQ(control<QGroupBox>("Frame3")->title(), "PCF8591");
  int previousRight = -1;
  for (int channel = 1; channel <= 4; ++channel) {
    auto *label = control<QLabel>(QStringLiteral("Label%1").arg(channel));
    auto *readout = control<QLineEdit>(QStringLiteral("pcf_chan%1").arg(channel));
    ASSERT_TRUE(label && readout);
    EXPECT_EQ(label->text(), QStringLiteral("Chan %1:").arg(channel));
    EXPECT_EQ(readout->text(), "0");
    EXPECT_FALSE(readout->isReadOnly());
    EXPECT_EQ(readout->size(), QSize(55, 19));
    EXPECT_GT(label->x(), previousRight);
    EXPECT_GT(readout->x(), label->x());
    previousRight = readout->x();
  }
  auto *slider = control<QSlider>("Slider1");
  auto *uout = control<QLabel>("Uout");
  ASSERT_TRUE(slider && uout);
  EXPECT_EQ(slider->orientation(), Qt::Horizontal);
  EXPECT_EQ(slider->width(), 349);
  EXPECT_GT(uout->x(), slider->x() + slider->width());
  EXPECT_EQ(uout->text(), "0");
  EXPECT_EQ(control<QPushButton>("Command1")->text(), "Quit");
  EXPECT_EQ(control<QLabel>("MsgLabel")->text(), "MsgLabel");
}

TEST_F(MainWindowTest, LoadSetsUpSliderStatusAndTimerBeforeTheWindowShows) {
  window.load();
  auto *slider = control<QSlider>("Slider1");
  EXPECT_EQ(slider->minimum(), 0);
  EXPECT_EQ(slider->maximum(), 2550);
  EXPECT_EQ(slider->singleStep(), 100);
  EXPECT_EQ(slider->pageStep(), 500);
  EXPECT_EQ(slider->tickInterval(), 100);
  EXPECT_EQ(slider->value(), 0);
  auto *status = control<QLabel>("MsgLabel");
  EXPECT_EQ(status->text(), "I2C-Ready COM:3F8");
  EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  auto *timer = control<QTimer>("Timer1");
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 1000);
  EXPECT_EQ(log, (CallLog{"set_port_delay(10)", "init_iic(0)", "iic_tx_pcf8574(0,1)",
                          "iic_tx_pcf8574(0,2)", "ad_pcf8591_init(0,2550)",
                          "ad_pcf8591_setda(2500,0)"}));
}

TEST_F(MainWindowTest, QuitReleasesThePortAndClosesTheWindow) {
  loadAndShow(0);
  QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
  EXPECT_EQ(log, CallLog{"deinit_iic()"});
  EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, ClosingThroughTheWindowManagerKeepsThePort) {
  loadAndShow(0x3F8);
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(log.empty());
}

}  // namespace
