#include "main_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace {

// Sizes and places in pixels (the form was drawn at 15 twips per pixel).
constexpr QSize kClientSize(528, 408);
constexpr QRect kFrame1(0, 0, 523, 373);
constexpr QRect kExpanderBlock(8, 8, 507, 236);
constexpr QRect kExpander1Group(8, 20, 241, 208);
constexpr QRect kExpander2Group(258, 20, 241, 208);
constexpr QPoint kFirstBox(12, 22);
constexpr QSize kBoxSize(200, 22);
constexpr QRect kConverterBlock(8, 250, 507, 115);
constexpr int kReadoutRowTop = 26;
constexpr int kReadoutPitch = 124;
constexpr QSize kChannelLabelSize(62, 19);
constexpr QSize kReadoutSize(55, 19);
constexpr QRect kSlider(12, 58, 349, 44);
constexpr QRect kUout(372, 70, 120, 20);
constexpr QRect kStatusStrip(0, 375, 442, 31);
constexpr QRect kStatusLabel(8, 6, 426, 20);
constexpr QRect kQuitButton(463, 377, 61, 25);

constexpr int kPollIntervalMs = 1000;

const std::array<const char *, 8> kExpander1Captions{
    "LED HF-Synth aus", "LED UHF-Synth aus", "HF-Synth aus",      "UHF-Synth aus",
    "UB Convert 1 aus", "UB Convert 2 aus",  "RX Umschalter aus", "UB Markengen aus",
};
const std::array<const char *, 8> kExpander2Captions{
    "NFM , NF aus ",    "WFM , NF aus",    "AM , NF aus", "Squelch ein",
    "LED Converter 1 ", "LED Converter 2", "LED D9",      "LED Markengen",
};

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &title, const QRect &geometry) {
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(geometry);
    return frame;
}

QString numbered(const char *stem, int number) { return QLatin1String(stem) + QString::number(number); }

BoxState toBoxState(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return BoxState::Checked;
    case Qt::PartiallyChecked:
        return BoxState::Greyed;
    case Qt::Unchecked:
        break;
    }
    return BoxState::Unchecked;
}

}  // namespace

MainWindow::MainWindow(WirelinkApi &wirelink, QLocale locale)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      hardware_(std::make_unique<HardwareThread>(*this)),
      hw_(*this, wirelink, std::move(locale), *hardware_) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Rigcheck"));
    setFixedSize(kClientSize);

    QGroupBox *frame1 = makeFrame(this, "Frame1", QString(), kFrame1);
    buildExpanderBlock(frame1);
    buildConverterBlock(frame1);
    buildStatusStrip();
    buildQuitButton();
}

MainWindow::~MainWindow() { hardware_.reset(); }

void MainWindow::waitForHardware() {
    hardware_->waitUntilIdle();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void MainWindow::buildExpanderBlock(QWidget *parent) {
    QGroupBox *block = makeFrame(parent, "Frame2", QStringLiteral("PCF8574"), kExpanderBlock);
    buildExpanderGroup(block, 1, expander1Boxes_)->setGeometry(kExpander1Group);
    buildExpanderGroup(block, 2, expander2Boxes_)->setGeometry(kExpander2Group);
}

QGroupBox *MainWindow::buildExpanderGroup(QWidget *parent, int group, BoxGroup &boxes) {
    const bool first = group == 1;
    const QString title = first ? QStringLiteral("PCF8574 (Adr.:114)") : QStringLiteral("PCF8574 (Adr.:116)");
    QGroupBox *frame = makeFrame(parent, first ? "PCF_1" : "PCF_2", title, {});
    const auto &captions = first ? kExpander1Captions : kExpander2Captions;
    const char *stem = first ? "pcf1_" : "pcf2_";
    for (int bit = 0; bit < 8; ++bit) {
        auto *box = new QCheckBox(QString::fromLatin1(captions[bit]), frame);
        box->setObjectName(numbered(stem, bit));
        box->setGeometry(QRect(kFirstBox + QPoint(0, bit * kBoxSize.height()), kBoxSize));
        connect(box, &QCheckBox::clicked, this,
                [this, group] { hw_.pcf_write(static_cast<std::uint8_t>(group)); });
        boxes[bit] = box;
    }
    return frame;
}

void MainWindow::buildConverterBlock(QWidget *parent) {
    QGroupBox *block = makeFrame(parent, "Frame3", QStringLiteral("PCF8591"), kConverterBlock);
    for (int channel = 0; channel < 4; ++channel) {
        const int left = kFirstBox.x() + channel * kReadoutPitch;
        auto *label = new QLabel(numbered("Chan ", channel + 1) + QLatin1Char(':'), block);
        label->setObjectName(numbered("Label", channel + 1));
        label->setGeometry(QRect(QPoint(left, kReadoutRowTop), kChannelLabelSize));
        auto *readout = new QLineEdit(QStringLiteral("0"), block);
        readout->setObjectName(numbered("pcf_chan", channel + 1));
        readout->setGeometry(
            QRect(QPoint(left + kChannelLabelSize.width() + 2, kReadoutRowTop), kReadoutSize));
        readouts_[channel] = readout;
    }

    slider_ = new QSlider(Qt::Horizontal, block);
    slider_->setObjectName(QStringLiteral("Slider1"));
    slider_->setGeometry(kSlider);
    slider_->setTickPosition(QSlider::TicksBelow);
    // Mouse movement over the slider re-sends the output even with no button
    // held, so it has to reach us without a press.
    slider_->setMouseTracking(true);
    slider_->installEventFilter(this);
    connect(slider_, &QSlider::valueChanged, this, [this] { hw_.slider_output(); });

    uout_ = new QLabel(QStringLiteral("0"), block);
    uout_->setObjectName(QStringLiteral("Uout"));
    uout_->setGeometry(kUout);
}

void MainWindow::buildStatusStrip() {
    QGroupBox *strip = makeFrame(this, "MsgFrame", QString(), kStatusStrip);
    msgLabel_ = new QLabel(QStringLiteral("MsgLabel"), strip);
    msgLabel_->setObjectName(QStringLiteral("MsgLabel"));
    msgLabel_->setGeometry(kStatusLabel);

    pollTimer_ = new QTimer(strip);
    pollTimer_->setObjectName(QStringLiteral("Timer1"));
    pollTimer_->setInterval(kPollIntervalMs);
    connect(pollTimer_, &QTimer::timeout, this, [this] { hw_.ad_poll(); });
}

void MainWindow::buildQuitButton() {
    auto *quit = new QPushButton(QStringLiteral("Quit"), this);
    quit->setObjectName(QStringLiteral("Command1"));
    quit->setGeometry(kQuitButton);
    connect(quit, &QPushButton::clicked, this, [this] { hw_.quit(); });
}

void MainWindow::load() {
    hw_.start_up();
    // Started here, not at construction, so the first tick comes one full
    // interval after the load.
    pollTimer_->start();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == slider_ && event->type() == QEvent::MouseMove) {
        hw_.slider_output();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::setStatus(const QString &text, const QColor &colour) {
    QPalette palette = msgLabel_->palette();
    palette.setColor(QPalette::WindowText, colour);
    msgLabel_->setPalette(palette);
    msgLabel_->setText(text);
}

BoxState MainWindow::boxState(int group, int bit) const {
    const BoxGroup &boxes = group == 1 ? expander1Boxes_ : expander2Boxes_;
    return toBoxState(boxes.at(static_cast<std::size_t>(bit))->checkState());
}

void MainWindow::setReadout(int channel, const QString &text) {
    readouts_.at(static_cast<std::size_t>(channel))->setText(text);
}

void MainWindow::setupSlider(const SliderSetup &setup) {
    slider_->setMaximum(setup.maximum);
    slider_->setMinimum(setup.minimum);
    slider_->setPageStep(setup.pageStep);
    slider_->setSingleStep(setup.singleStep);
    slider_->setTickInterval(setup.tickInterval);
    slider_->setValue(setup.value);
}

int MainWindow::sliderValue() const { return slider_->value(); }

void MainWindow::setUoutCaption(const QString &text) { uout_->setText(text); }

void MainWindow::closeWindow() { close(); }
