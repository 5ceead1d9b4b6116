// Test doubles for HwMain: a window made of plain values and a wirelink
// table that records its calls.  Both write into one shared log so that
// tests can check the order of window and library work together.
#ifndef RIGCHECK_TESTS_FAKES_H
#define RIGCHECK_TESTS_FAKES_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "window_controls.h"
#include "wirelink_api.h"

using CallLog = std::vector<std::string>;

// Fills only the seven functions that rigcheck calls; any other call throws
// std::bad_function_call and fails the test.
class FakeWirelink {
 public:
  explicit FakeWirelink(CallLog &log) : log_(log) {
    api.set_port_delay = [this](int32_t delay) { return record("set_port_delay", {delay}); };
    api.init_iic = [this](int32_t choice) {
      record("init_iic", {choice});
      return adapterPort;
    };
    api.deinit_iic = [this] { return record("deinit_iic", {}); };
    api.iic_tx_pcf8574 = [this](int32_t value, int32_t index) {
      return record("iic_tx_pcf8574", {value, index});
    };
    api.ad_pcf8591_init = [this](int32_t mode, int32_t reference) {
      return record("ad_pcf8591_init", {mode, reference});
    };
    api.ad_pcf8591_setda = [this](int32_t millivolts, int32_t address) {
      return record("ad_pcf8591_setda", {millivolts, address});
    };
    api.ad_pcf8591_readchan = [this](int32_t channel, int32_t address) {
      record("ad_pcf8591_readchan", {channel, address});
      return readings.at(static_cast<std::size_t>(channel));
    };
  }

  int32_t adapterPort = 0x3F8;
  std::array<int32_t, 4> readings{};
  WirelinkApi api;

 private:
  int32_t record(const std::string &name, std::initializer_list<int32_t> args) {
    std::string call = name + "(";
    const char *separator = "";
    for (int32_t arg : args) {
      call += separator + std::to_string(arg);
      separator = ",";
    }
    log_.push_back(call + ")");
    return 0;
  }

  CallLog &log_;
};

class FakeWindow final : public WindowControls {
 public:
  explicit FakeWindow(CallLog &log) : log_(log) {}

  void setStatus(const QString &text, const QColor &colour) override {
    statusText = text;
    statusColour = colour;
  }
  BoxState boxState(int group, int bit) const override {
    return boxes.at(static_cast<std::size_t>(group - 1)).at(static_cast<std::size_t>(bit));
  }
  void setReadout(int channel, const QString &text) override {
    readouts.at(static_cast<std::size_t>(channel)) = text;
  }
  void setupSlider(const SliderSetup &setup) override {
    log_.push_back("setupSlider");
    slider = setup;
    sliderPosition = setup.value;
  }
  int sliderValue() const override { return sliderPosition; }
  void setUoutCaption(const QString &text) override { uout = text; }
  void closeWindow() override { log_.push_back("closeWindow"); }

  void check(int group, std::initializer_list<int> bits) {
    for (int bit : bits) {
      boxes.at(static_cast<std::size_t>(group - 1)).at(static_cast<std::size_t>(bit)) = BoxState::Checked;
    }
  }

  QString statusText = QStringLiteral("MsgLabel");
  QColor statusColour;
  std::array<std::array<BoxState, 8>, 2> boxes{};
  std::array<QString, 4> readouts{"0", "0", "0", "0"};
  std::optional<SliderSetup> slider;
  int sliderPosition = 0;
  QString uout = QStringLiteral("0");

 private:
  CallLog &log_;
};

#endif  // RIGCHECK_TESTS_FAKES_H
