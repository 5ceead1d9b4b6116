// The bench board's hardware work: bringing the bus up, writing the two
// PCF8574 expanders from their check boxes, polling the PCF8591's inputs,
// the slider's analog output, and the start-up and quit sequences.
#ifndef RIGCHECK_HW_MAIN_H
#define RIGCHECK_HW_MAIN_H

#include <QLocale>

#include <cstdint>
#include <optional>

#include "window_controls.h"
#include "wirelink_api.h"

class HwMain {
public:
    // `locale` formats the output voltage; the user's own by default.
    HwMain(WindowControls &window, WirelinkApi &wirelink, QLocale locale = QLocale::system());

    // Sets the port delay, searches the adapter and reports it in the status
    // line.
    void hw_init();
    // Sends expander `chip`'s byte, rebuilt from all eight of its boxes.
    void pcf_write(std::uint8_t chip);
    // Shows the four converter inputs; runs with or without an adapter.  An
    // adapter that went away turns the status line red until it is back.
    void ad_poll();

    // The window's load: slider set-up, bus bring-up and, with an adapter,
    // the first expander writes and the converter set-up.
    void start_up();
    // The slider's change and mouse-move handlers.
    void slider_output();
    // The Quit button: releases the port whether or not an adapter was found.
    void quit();

    // Empty until hw_init, then what init_iic returned.
    std::optional<std::int32_t> iic_port() const { return iic_port_; }

private:
    bool adapterPresent() const;
    void showAdapterState(bool lost);

    WindowControls &window_;
    WirelinkApi &wirelink_;
    QLocale locale_;
    std::optional<std::int32_t> iic_port_;
    bool adapterLost_ = false;
};

#endif  // RIGCHECK_HW_MAIN_H
