// Nibble transfers to and from the display through its expander.

#include <chrono>
#include <thread>

#include "lcd_port.h"

namespace wirelink {

int32_t lcd_nibble_out(int32_t rs, int32_t nibble) {
    int32_t lines = (nibble & 0x0F) << 4;
    if (lcd_BACKLIGHT == 1) lines |= kLcdBacklight;
    if (rs != 0) lines |= kLcdRegisterSelect;
    iic_tx_pcf8574(lines, lcd_expander);
    iic_tx_pcf8574(lines | kLcdEnable, lcd_expander);
    return iic_tx_pcf8574(lines, lcd_expander);
}

int32_t lcd_nibble_in(int32_t rs) {
    // The data pins are written high so that the controller can pull them
    // down: the expander's outputs are only weakly driven high.
    int32_t lines = kLcdData | kLcdRead;
    if (lcd_BACKLIGHT != 0) lines |= kLcdBacklight;
    if (rs != 0) lines |= kLcdRegisterSelect;
    int32_t port = 0;
    iic_tx_pcf8574(lines, lcd_expander);
    iic_tx_pcf8574(lines | kLcdEnable, lcd_expander);
    _iic_rx_pcf8574(&port, lcd_expander);
    iic_tx_pcf8574(lines, lcd_expander);
    return port & kLcdData;
}

void lcd_sleep_ms(int milliseconds) {
    if (milliseconds <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace wirelink
