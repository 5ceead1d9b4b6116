// Test doubles for HwMain: a window made of plain values and a wirelink
// table that records its calls, both into one log so that tests see the
// order of window and library work together.
#ifndef RIGCHECK_TESTS_FAKES_H
#define RIGCHECK_TESTS_FAKES_H

#include <array>
#include <string>
#include <type_traits>
#include <vector>

#include "window_controls.h"
#include "wirelink_api.h"

using CallLog = std::vector<std::string>;

// Fills only the seven functions that rigcheck calls; any other call throws
// std::bad_function_call and fails the test.
class FakeWirelink {
public:
    explicit FakeWirelink(CallLog &log) : log_(log) {
        api.set_port_delay = recorder<int32_t>("set_port_delay");
        api.init_iic = recorder<int32_t>("init_iic", [this](int32_t) { return adapterPort; });
        api.deinit_iic = recorder<>("deinit_iic");
        api.iic_tx_pcf8574 = recorder<int32_t, int32_t>("iic_tx_pcf8574");
        api.ad_pcf8591_init = recorder<int32_t, int32_t>("ad_pcf8591_init");
        api.ad_pcf8591_setda = recorder<int32_t, int32_t>("ad_pcf8591_setda");
        api.ad_pcf8591_readchan = recorder<int32_t, int32_t>(
            "ad_pcf8591_readchan", [this](int32_t channel, int32_t) { return readings.at(channel); });
        // Asked after calls, not a call of the board's: not logged.
        api.wirelink_last_error = [this] { return lastError; };
        api.wirelink_cancel = [] {};
        api.wirelink_cancel_reset = [] {};
    }

    int32_t adapterPort = 0x3F8;
    std::array<int32_t, 4> readings{};
    int32_t lastError = 0;
    WirelinkApi api;

private:
    // Logs the call as "name(1,2)" and answers 0, or what `answer` says.
    template <typename... Args>
    std::function<int32_t(Args...)> recorder(
        std::string name, std::type_identity_t<std::function<int32_t(Args...)>> answer = {}) {
        return [this, name, answer](Args... args) {
            std::string call = name + "(";
            ((call += std::to_string(args) + ","), ...);
            if (sizeof...(Args) > 0) call.pop_back();
            log_.push_back(call + ")");
            return answer ? answer(args...) : 0;
        };
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
    BoxState boxState(int group, int bit) const override { return boxes.at(group - 1).at(bit); }
    void setReadout(int channel, const QString &text) override { readouts.at(channel) = text; }
    void setupSlider(const SliderSetup &) override { log_.push_back("setupSlider"); }
    int sliderValue() const override { return sliderPosition; }
    void setUoutCaption(const QString &text) override { uout = text; }
    void closeWindow() override { log_.push_back("closeWindow"); }

    void set(int group, const std::vector<int> &bits, BoxState state = BoxState::Checked) {
        for (int bit : bits) boxes.at(group - 1).at(bit) = state;
    }

    QString statusText;
    QColor statusColour;
    std::array<std::array<BoxState, 8>, 2> boxes{};
    std::array<QString, 4> readouts{};
    int sliderPosition = 0;
    QString uout = QStringLiteral("0");

private:
    CallLog &log_;
};

#endif  // RIGCHECK_TESTS_FAKES_H
