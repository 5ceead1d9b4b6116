// The window's controls as the hardware procedures see them: states to read
// and texts to set, with no widgets behind them, so that the procedures can
// be driven without a window.
#ifndef RIGCHECK_WINDOW_CONTROLS_H
#define RIGCHECK_WINDOW_CONTROLS_H

#include <QColor>
#include <QString>

// The three states of a check box; only Checked sets an expander bit.
enum class BoxState { Unchecked = 0, Checked = 1, Greyed = 2 };

// The slider's settings, applied in the order of the fields: the range's
// maximum goes first so that the value is never pushed out of range.
struct SliderSetup {
    int maximum;
    int minimum;
    int pageStep;
    int singleStep;
    int tickInterval;
    int value;
};

class WindowControls {
public:
    virtual ~WindowControls() = default;

    // The status line at the bottom of the window.
    virtual void setStatus(const QString &text, const QColor &colour) = 0;

    // Box `bit` (0..7) of expander group `group` (1 or 2).
    virtual BoxState boxState(int group, int bit) const = 0;

    // Read-out box of converter input `channel` (0..3).
    virtual void setReadout(int channel, const QString &text) = 0;

    virtual void setupSlider(const SliderSetup &setup) = 0;
    virtual int sliderValue() const = 0;

    // The voltage caption beside the slider.
    virtual void setUoutCaption(const QString &text) = 0;

    // Closes the window, which ends the program.
    virtual void closeWindow() = 0;
};

#endif  // RIGCHECK_WINDOW_CONTROLS_H
