#include "hw_main.h"

#include <algorithm>
#include <utility>

#include <wirelink.h>  // the fault codes

namespace {

// The bench board's fixed hardware choices.
constexpr std::int32_t kPortDelay = 10;
constexpr std::int32_t kSearchBothPorts = 0;
constexpr std::uint8_t kExpander1 = 1;
constexpr std::uint8_t kExpander2 = 2;
constexpr std::int32_t kConverterAddress = 0;
constexpr std::int32_t kConverterSingleEndedInputs = 0;
constexpr std::int32_t kConverterReferenceMillivolts = 2550;
constexpr std::int32_t kConverterStartMillivolts = 2500;
// The reference voltage itself is code 256, which the converter's 8-bit
// register receives as 0: the slider's top would switch the output off.  The
// highest value below the reference gives full scale (code 255) instead.
constexpr std::int32_t kHighestOutputMillivolts = kConverterReferenceMillivolts - 1;
constexpr int kConverterChannels = 4;
constexpr int kBoxesPerExpander = 8;

constexpr SliderSetup kSliderSetup{
    .maximum = 2550,  // millivolts at the converter output
    .minimum = 0,
    .pageStep = 500,
    .singleStep = 100,
    .tickInterval = 100,
    .value = 0,
};

const QColor kAlarmRed(255, 0, 0);
const QColor kNormalBlack(0, 0, 0);

// Negative values show their two's complement, so every int32 has a text.
QString upperHex(std::int32_t value) {
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
}

// A blank stands where a minus sign would, so the read-outs line up.
QString readoutText(std::int32_t reading) {
    const QString digits = QString::number(reading);
    return reading >= 0 ? QLatin1Char(' ') + digits : digits;
}

// The caption shows four times the converter's output: the board amplifies
// it by four.
QString outputVoltsCaption(std::int32_t millivolts, const QLocale &locale) {
    const double volts = static_cast<double>(static_cast<std::int64_t>(millivolts) * 4) / 1000.0;
    return locale.toString(volts, 'f', 3) + QStringLiteral(" V");
}

}  // namespace

HwMain::HwMain(WindowControls &window, WirelinkApi &wirelink, QLocale locale, WorkRunner &runner)
    : window_(window), wirelink_(wirelink), locale_(std::move(locale)), runner_(runner) {}

WorkRunner &HwMain::inlineRunner() {
    static InlineRunner runner;
    return runner;
}

bool HwMain::adapterPresent() const { return iic_port_.value_or(0) > 0; }

void HwMain::hw_init() {
    runner_.onHardware([this] { findAdapter(); });
}

void HwMain::findAdapter() {
    wirelink_.set_port_delay(kPortDelay);
    const std::int32_t port = wirelink_.init_iic(kSearchBothPorts);
    iic_port_ = port;
    runner_.onWindow([this, port] { showSearchResult(port); });
}

void HwMain::showSearchResult(std::int32_t port) {
    if (port == 0) {
        window_.setStatus(QStringLiteral("I2C-Interface not found "), kAlarmRed);
    } else {
        window_.setStatus(QStringLiteral("I2C-Ready COM:") + upperHex(port), kNormalBlack);
    }
}

std::int32_t HwMain::expanderByte(std::uint8_t chip) const {
    const int group = chip == kExpander1 ? 1 : 2;
    std::int32_t byte = 0;
    for (int bit = 0; bit < kBoxesPerExpander; ++bit) {
        if (window_.boxState(group, bit) == BoxState::Checked) {
            byte += 1 << bit;
        }
    }
    return byte;
}

void HwMain::pcf_write(std::uint8_t chip) {
    if (quitting_) {
        return;
    }
    const std::int32_t byte = expanderByte(chip);
    runner_.onHardware([this, chip, byte] { sendExpanderByte(chip, byte); });
}

void HwMain::sendExpanderByte(std::uint8_t chip, std::int32_t byte) {
    if (!adapterPresent()) {
        return;
    }
    // The expander number doubles as the device index on the bus.
    wirelink_.iic_tx_pcf8574(byte, chip);
}

void HwMain::ad_poll() {
    if (quitting_ || pollRunning_) {
        return;
    }
    pollRunning_ = true;
    runner_.onHardware([this] { readInputs(); });
}

void HwMain::readInputs() {
    Readings readings{};
    bool lost = false;
    for (int channel = 0; channel < kConverterChannels; ++channel) {
        readings[channel] = wirelink_.ad_pcf8591_readchan(channel, kConverterAddress);
        lost = lost || (adapterPresent() && wirelink_.wirelink_last_error() == WIRELINK_ENODEV);
    }
    const std::int32_t port = iic_port_.value_or(0);
    runner_.onWindow([this, readings, lost, port] { showPoll(readings, lost, port); });
}

void HwMain::showPoll(const Readings &readings, bool lost, std::int32_t port) {
    pollRunning_ = false;
    if (quitting_) {
        return;  // readings cut short by the quit
    }
    for (int channel = 0; channel < kConverterChannels; ++channel) {
        window_.setReadout(channel, readoutText(readings[channel]));
    }
    showAdapterState(lost, port);
}

void HwMain::showAdapterState(bool lost, std::int32_t port) {
    if (lost == adapterLost_) {
        return;
    }
    adapterLost_ = lost;
    if (lost) {
        window_.setStatus(QStringLiteral("I2C-Interface lost"), kAlarmRed);
    } else {
        window_.setStatus(QStringLiteral("I2C-Ready COM:") + upperHex(port), kNormalBlack);
    }
}

void HwMain::start_up() {
    window_.setupSlider(kSliderSetup);
    const std::int32_t byte1 = expanderByte(kExpander1);
    const std::int32_t byte2 = expanderByte(kExpander2);
    runner_.onHardware([this, byte1, byte2] {
        findAdapter();
        if (!adapterPresent()) {
            return;
        }
        sendExpanderByte(kExpander1, byte1);
        sendExpanderByte(kExpander2, byte2);
        wirelink_.ad_pcf8591_init(kConverterSingleEndedInputs, kConverterReferenceMillivolts);
        wirelink_.ad_pcf8591_setda(kConverterStartMillivolts, kConverterAddress);
    });
}

void HwMain::slider_output() {
    if (quitting_) {
        return;
    }
    const int position = window_.sliderValue();
    runner_.onHardware([this, position] {
        if (!adapterPresent()) {
            return;
        }
        runner_.onWindow([this, position] { window_.setUoutCaption(outputVoltsCaption(position, locale_)); });
        wirelink_.ad_pcf8591_setda(std::min(position, kHighestOutputMillivolts), kConverterAddress);
    });
}

void HwMain::quit() {
    if (quitting_) {
        return;
    }
    quitting_ = true;
    // What was asked before the click is not worth waiting for; the call on
    // the wire ends at its next byte boundary with a STOP.
    runner_.dropPendingJobs();
    wirelink_.wirelink_cancel();
    runner_.onHardware([this] {
        // The port is released only once the cancel is cleared.
        wirelink_.wirelink_cancel_reset();
        wirelink_.deinit_iic();
        runner_.onWindow([this] { window_.closeWindow(); });
    });
}
