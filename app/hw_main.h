// The bench board's hardware work: bringing the bus up, writing the two
// PCF8574 expanders from their check boxes, polling the PCF8591's inputs,
// the slider's analog output, and the start-up and quit sequences.
//
// Each procedure is called in the window's thread: it reads the controls
// there, hands the library calls to the runner's hardware side, and the
// results come back to the window through the runner.  With the inline
// runner everything happens before the procedure returns.
#ifndef RIGCHECK_HW_MAIN_H
#define RIGCHECK_HW_MAIN_H

#include <QLocale>

#include <array>
#include <cstdint>
#include <optional>

#include "window_controls.h"
#include "wirelink_api.h"
#include "work_runner.h"

class HwMain {
public:
    // The library functions the procedures call, in the order the start-up
    // first needs them.
    static constexpr std::array<const char *, 10> kLibraryFunctions{
        "set_port_delay",      "init_iic",         "iic_tx_pcf8574",
        "ad_pcf8591_init",     "ad_pcf8591_setda", "ad_pcf8591_readchan",
        "wirelink_last_error", "wirelink_cancel",  "wirelink_cancel_reset",
        "deinit_iic"};

    // `locale` formats the output voltage; the user's own by default.
    HwMain(WindowControls &window, WirelinkApi &wirelink, QLocale locale = QLocale::system(),
           WorkRunner &runner = inlineRunner());

    // Sets the port delay, searches the adapter and reports it in the status
    // line.
    void hw_init();
    // Sends expander `chip`'s byte, rebuilt from all eight of its boxes.
    void pcf_write(std::uint8_t chip);
    // Shows the four converter inputs; runs with or without an adapter.  An
    // adapter that went away turns the status line red until it is back.  A
    // tick that comes while the last poll is still on the bus is skipped.
    void ad_poll();

    // The window's load: slider set-up, bus bring-up and, with an adapter,
    // the first expander writes and the converter set-up.
    void start_up();
    // The slider's change and mouse-move handlers.
    void slider_output();
    // The Quit button: stops the call on the bus at its next byte, releases
    // the port whether or not an adapter was found, then closes the window.
    // Later events do nothing.
    void quit();

    // Empty until hw_init, then what init_iic returned.  Read it on the
    // hardware side (or with the inline runner).
    std::optional<std::int32_t> iic_port() const { return iic_port_; }

private:
    using Readings = std::array<std::int32_t, 4>;

    static WorkRunner &inlineRunner();

    // The window's side.
    std::int32_t expanderByte(std::uint8_t chip) const;
    void showSearchResult(std::int32_t port);
    void showPoll(const Readings &readings, bool lost, std::int32_t port);
    void showAdapterState(bool lost, std::int32_t port);

    // The hardware side.
    bool adapterPresent() const;
    void findAdapter();
    void sendExpanderByte(std::uint8_t chip, std::int32_t byte);
    void readInputs();

    WindowControls &window_;
    WirelinkApi &wirelink_;
    QLocale locale_;
    WorkRunner &runner_;
    std::optional<std::int32_t> iic_port_;  // hardware side
    bool adapterLost_ = false;
    bool pollRunning_ = false;
    bool quitting_ = false;
};

#endif  // RIGCHECK_HW_MAIN_H
