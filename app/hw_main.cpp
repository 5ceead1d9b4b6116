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

HwMain::HwMain(WindowControls &window, WirelinkApi &wirelink, QLocale locale)
    : window_(window), wirelink_(wirelink), locale_(std::move(locale)) {}

bool HwMain::adapterPresent() const { return iic_port_.value_or(0) > 0; }

void HwMain::hw_init() {
    wirelink_.set_port_delay(kPortDelay);
    iic_port_ = wirelink_.init_iic(kSearchBothPorts);
    if (*iic_port_ == 0) {
        window_.setStatus(QStringLiteral("I2C-Interface not found "), kAlarmRed);
    } else {
        window_.setStatus(QStringLiteral("I2C-Ready COM:") + upperHex(*iic_port_), kNormalBlack);
    }
}

void HwMain::pcf_write(std::uint8_t chip) {
    if (!adapterPresent()) {
        return;
    }
    const int group = chip == kExpander1 ? 1 : 2;
    std::int32_t byte = 0;
    for (int bit = 0; bit < kBoxesPerExpander; ++bit) {
        if (window_.boxState(group, bit) == BoxState::Checked) {
            byte += 1 << bit;
        }
    }
    // The expander number doubles as the device index on the bus.
    wirelink_.iic_tx_pcf8574(byte, chip);
}

void HwMain::ad_poll() {
    bool lost = false;
    for (int channel = 0; channel < kConverterChannels; ++channel) {
        const std::int32_t reading = wirelink_.ad_pcf8591_readchan(channel, kConverterAddress);
        lost = lost || (adapterPresent() && wirelink_.wirelink_last_error() == WIRELINK_ENODEV);
        window_.setReadout(channel, readoutText(reading));
    }
    showAdapterState(lost);
}

void HwMain::showAdapterState(bool lost) {
    if (lost == adapterLost_) {
        return;
    }
    adapterLost_ = lost;
    if (lost) {
        window_.setStatus(QStringLiteral("I2C-Interface lost"), kAlarmRed);
    } else {
        window_.setStatus(QStringLiteral("I2C-Ready COM:") + upperHex(*iic_port_), kNormalBlack);
    }
}

void HwMain::start_up() {
    window_.setupSlider(kSliderSetup);
    hw_init();
    if (!adapterPresent()) {
        return;
    }
    pcf_write(kExpander1);
    pcf_write(kExpander2);
    wirelink_.ad_pcf8591_init(kConverterSingleEndedInputs, kConverterReferenceMillivolts);
    wirelink_.ad_pcf8591_setda(kConverterStartMillivolts, kConverterAddress);
}

void HwMain::slider_output() {
    if (!adapterPresent()) {
        return;
    }
    window_.setUoutCaption(outputVoltsCaption(window_.sliderValue(), locale_));
    const std::int32_t millivolts = std::min(window_.sliderValue(), kHighestOutputMillivolts);
    wirelink_.ad_pcf8591_setda(millivolts, kConverterAddress);
}

void HwMain::quit() {
    wirelink_.deinit_iic();
    window_.closeWindow();
}
