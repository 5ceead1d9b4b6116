// The bench window: the controls of the two expanders and the converter, the
// status line and the Quit button.  Every event hands over to HwMain.
#ifndef RIGCHECK_MAIN_WINDOW_H
#define RIGCHECK_MAIN_WINDOW_H

#include <QLocale>
#include <QWidget>

#include <array>
#include <memory>

#include "hardware_thread.h"
#include "hw_main.h"
#include "window_controls.h"
#include "wirelink_api.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTimer;

class MainWindow final : public QWidget, private WindowControls {
public:
    explicit MainWindow(WirelinkApi &wirelink, QLocale locale = QLocale::system());
    // Waits for the library call in progress; the jobs after it are dropped.
    ~MainWindow() override;

    // The load: runs the start-up sequence and starts the poll timer.  Call it
    // once, before the window is first shown.
    void load();

    // Returns once the hardware work asked for so far is done and its
    // results are shown.
    void waitForHardware();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using BoxGroup = std::array<QCheckBox *, 8>;

    void buildExpanderBlock(QWidget *parent);
    QGroupBox *buildExpanderGroup(QWidget *parent, int group, BoxGroup &boxes);
    void buildConverterBlock(QWidget *parent);
    void buildStatusStrip();
    void buildQuitButton();

    // WindowControls
    void setStatus(const QString &text, const QColor &colour) override;
    BoxState boxState(int group, int bit) const override;
    void setReadout(int channel, const QString &text) override;
    void setupSlider(const SliderSetup &setup) override;
    int sliderValue() const override;
    void setUoutCaption(const QString &text) override;
    void closeWindow() override;

    // Before hw_, which hands it work; stopped first, in the destructor.
    std::unique_ptr<HardwareThread> hardware_;
    HwMain hw_;
    BoxGroup expander1Boxes_{};
    BoxGroup expander2Boxes_{};
    std::array<QLineEdit *, 4> readouts_{};
    QSlider *slider_ = nullptr;
    QLabel *uout_ = nullptr;
    QLabel *msgLabel_ = nullptr;
    QTimer *pollTimer_ = nullptr;
};

#endif  // RIGCHECK_MAIN_WINDOW_H
