// Nibble transfers to and from the display through its expander.

#include <chrono>
#include <thread>

#include "lcd_port.h"

namespace wirelink {

bool lcd_out_of_step = false;

namespace {

// An E pulse the expander did not take, or a read it did not answer, leaves
// the controller's halves of a byte paired differently from ours.
int32_t taken(int32_t acknowledged) {
    if (acknowledged == 0) lcd_out_of_step = true;
    return acknowledged;
}

}  // namespace

int32_t lcd_nibble_out(int32_t rs, int32_t nibble) {
    int32_t lines = (nibble & 0x0F) << 4;
    if (lcd_BACKLIGHT == 1) lines |= kLcdBacklight;
    if (rs != 0) lines |= kLcdRegisterSelect;
    taken(iic_tx_pcf8574(lines, lcd_expander));
    taken(iic_tx_pcf8574(lines | kLcdEnable, lcd_expander));
    return taken(iic_tx_pcf8574(lines, lcd_expander));
}

int32_t lcd_nibble_in(int32_t rs) {
    // The data pins are written high so that the controller can pull them
    // down: the expander's outputs are only weakly driven high.
    int32_t lines = kLcdData | kLcdRead;
    if (lcd_BACKLIGHT != 0) lines |= kLcdBacklight;
    if (rs != 0) lines |= kLcdRegisterSelect;
    int32_t port = 0;
    taken(iic_tx_pcf8574(lines, lcd_expander));
    taken(iic_tx_pcf8574(lines | kLcdEnable, lcd_expander));
    taken(_iic_rx_pcf8574(&port, lcd_expander));
    taken(iic_tx_pcf8574(lines, lcd_expander));
    return port & kLcdData;
}

void lcd_sleep_ms(int milliseconds) {
    if (milliseconds <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace wirelink
