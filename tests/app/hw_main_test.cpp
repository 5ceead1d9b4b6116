#include "hw_main.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "fakes.h"

namespace {

using ::testing::TestWithParam;
using ::testing::Values;

class HwMainTest : public ::testing::Test {
 protected:
  CallLog log;
  FakeWirelink wirelink{log};
  FakeWindow window{log};
  HwMain hw{window, wirelink.api, QLocale(QLocale::English, QLocale::UnitedStates)};

  // Brings the bus up with the given adapter answer and forgets those calls.
  void initWithAdapter(int32_t port) {
    wirelink.adapterPort = port;
    hw.hw_init();
    log.clear();
  }
};

struct StatusCase {
  int32_t port;
  const char *text;
  QColor colour;
};

void PrintTo(const StatusCase &c, std::ostream *os) { *os << c.text; }

class HwInitStatus : public HwMainTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(HwInitStatus, ReportsTheAdapterAddressOrItsAbsence) {
  wirelink.adapterPort = GetParam().port;
  hw.hw_init();
  EXPECT_EQ(window.statusText, QString::fromLatin1(GetParam().text));
  EXPECT_EQ(window.statusColour, GetParam().colour);
  EXPECT_EQ(hw.iic_port(), GetParam().port);
  EXPECT_EQ(log, (CallLog{"set_port_delay(10)", "init_iic(0)"}));
}

INSTANTIATE_TEST_SUITE_P(
    Ports, HwInitStatus,
    Values(StatusCase{0x3F8, "I2C-Ready COM:3F8", QColor(0, 0, 0)},
           StatusCase{0x2F8, "I2C-Ready COM:2F8", QColor(0, 0, 0)},
           StatusCase{0, "I2C-Interface not found ", QColor(255, 0, 0)}));

// An empty port counts as no adapter; polling and quit do not ask.
TEST_F(HwMainTest, BeforeBringUpOnlyPollingAndQuitReachTheLibrary) {
  EXPECT_FALSE(hw.iic_port().has_value());
  window.check(1, {0});
  hw.pcf_write(1);
  hw.slider_output();
  hw.ad_poll();
  hw.quit();
  EXPECT_EQ(log, (CallLog{"ad_pcf8591_readchan(0,0)", "ad_pcf8591_readchan(1,0)",
                          "ad_pcf8591_readchan(2,0)", "ad_pcf8591_readchan(3,0)",
                          "deinit_iic()", "closeWindow"}));
}

TEST_F(HwMainTest, EachBoxWeighsItsPowerOfTwoInBothGroups) {
  initWithAdapter(0x3F8);
  for (int group = 1; group <= 2; ++group) {
    for (int bit = 0; bit < 8; ++bit) {
      window.boxes = {};
      window.check(group, {bit});
      log.clear();
      hw.pcf_write(static_cast<std::uint8_t>(group));
      const std::string expected = "iic_tx_pcf8574(" + std::to_string(1 << bit) +
                                   "," + std::to_string(group) + ")";
      EXPECT_EQ(log, CallLog{expected}) << "group " << group << " bit " << bit;
    }
  }
}

struct ByteCase {
  int chip;
  std::vector<int> checked;
  const char *call;
};

void PrintTo(const ByteCase &c, std::ostream *os) { *os << c.call; }

class ExpanderByte : public HwMainTest, public ::testing::WithParamInterface<ByteCase> {};

TEST_P(ExpanderByte, IsRebuiltFromAllEightBoxes) {
  initWithAdapter(0x2F8);
  for (int bit : GetParam().checked) {
    window.check(GetParam().chip, {bit});
  }
  hw.pcf_write(static_cast<std::uint8_t>(GetParam().chip));
  EXPECT_EQ(log, CallLog{GetParam().call});
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ExpanderByte,
    Values(ByteCase{1, {0, 3, 7}, "iic_tx_pcf8574(137,1)"},
           ByteCase{2, {0, 5}, "iic_tx_pcf8574(33,2)"},
           ByteCase{2, {0, 1, 2, 3, 4, 5, 6, 7}, "iic_tx_pcf8574(255,2)"},
           ByteCase{2, {}, "iic_tx_pcf8574(0,2)"}));

// Also shows that the other group's boxes stay out of the byte.
TEST_F(HwMainTest, GreyedBoxesLeaveTheirBitClear) {
  initWithAdapter(0x3F8);
  window.check(1, {1});
  window.boxes[0][4] = BoxState::Greyed;
  window.check(2, {0, 1, 2, 3, 4, 5, 6, 7});
  hw.pcf_write(1);
  EXPECT_EQ(log, CallLog{"iic_tx_pcf8574(2,1)"});
}

TEST_F(HwMainTest, WithoutAdapterBoxesAndSliderSendNothingButPollingGoesOn) {
  initWithAdapter(0);
  window.check(1, {0, 3});
  window.sliderPosition = 1275;
  wirelink.readings = {1, 2, 3, 4};

  hw.pcf_write(1);
  hw.pcf_write(2);
  hw.slider_output();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(window.uout, "0");

  hw.ad_poll();
  EXPECT_EQ(log, (CallLog{"ad_pcf8591_readchan(0,0)", "ad_pcf8591_readchan(1,0)",
                          "ad_pcf8591_readchan(2,0)", "ad_pcf8591_readchan(3,0)"}));
  EXPECT_EQ(window.readouts, (std::array<QString, 4>{" 1", " 2", " 3", " 4"}));
}

TEST_F(HwMainTest, ReadoutsCarryABlankWhereAMinusWouldStand) {
  wirelink.readings = {128, 0, 7, -5};
  hw.ad_poll();
  EXPECT_EQ(window.readouts, (std::array<QString, 4>{" 128", " 0", " 7", "-5"}));
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
  wirelink.adapterPort = 0x3F8;
  localised.hw_init();
  log.clear();
  window.sliderPosition = GetParam().millivolts;
  localised.slider_output();
  EXPECT_EQ(window.uout, QString::fromUtf8(GetParam().caption));
  EXPECT_EQ(log, CallLog{"ad_pcf8591_setda(" + std::to_string(GetParam().sent) + ",0)"});
}

INSTANTIATE_TEST_SUITE_P(
    Values, SliderOutput,
    Values(SliderCase{1275, QLocale::English, "5.100 V", 1275},
           SliderCase{0, QLocale::English, "0.000 V", 0},
           SliderCase{2500, QLocale::English, "10.000 V", 2500},
           SliderCase{2549, QLocale::English, "10.196 V", 2549},
           // The reference itself would wrap to code 0 in the converter.
           SliderCase{2550, QLocale::English, "10.200 V", 2549},
           SliderCase{1275, QLocale::German, "5,100 V", 1275}));

TEST_F(HwMainTest, StartUpWithAdapterWritesExpandersAndSetsUpTheConverter) {
  window.check(1, {0, 3, 7});
  window.check(2, {5});
  hw.start_up();
  EXPECT_EQ(log, (CallLog{"setupSlider", "set_port_delay(10)", "init_iic(0)",
                          "iic_tx_pcf8574(137,1)", "iic_tx_pcf8574(32,2)",
                          "ad_pcf8591_init(0,2550)", "ad_pcf8591_setda(2500,0)"}));
  ASSERT_TRUE(window.slider.has_value());
  EXPECT_EQ(window.slider->maximum, 2550);
  EXPECT_EQ(window.slider->minimum, 0);
  EXPECT_EQ(window.slider->pageStep, 500);
  EXPECT_EQ(window.slider->singleStep, 100);
  EXPECT_EQ(window.slider->tickInterval, 100);
  EXPECT_EQ(window.slider->value, 0);
  // The caption first follows the output when the slider is moved.
  EXPECT_EQ(window.uout, "0");
}

TEST_F(HwMainTest, StartUpWithoutAdapterOnlySearches) {
  wirelink.adapterPort = 0;
  hw.start_up();
  EXPECT_EQ(log, (CallLog{"setupSlider", "set_port_delay(10)", "init_iic(0)"}));
}

TEST_F(HwMainTest, QuitReleasesThePortOnceEvenWithoutAdapter) {
  initWithAdapter(0);
  hw.quit();
  EXPECT_EQ(log, (CallLog{"deinit_iic()", "closeWindow"}));
}

}  // namespace
