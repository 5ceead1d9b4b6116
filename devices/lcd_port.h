// The display's side of its expander: the pin map, nibble transfers and the
// busy-flag wait that every display call is built from.
#ifndef WIRELINK_DEVICES_LCD_PORT_H
#define WIRELINK_DEVICES_LCD_PORT_H

#include <cstdint>

#include "bus.h"

namespace wirelink {

// Expander pins as the display is wired to them.
constexpr int32_t kLcdEnable = 0x01;
constexpr int32_t kLcdRead = 0x02;            // R/W high: the controller drives D4..D7
constexpr int32_t kLcdRegisterSelect = 0x04;  // high: data register
constexpr int32_t kLcdBacklight = 0x08;
constexpr int32_t kLcdData = 0xF0;  // D4..D7

// The index of the expander that carries the display.
constexpr int32_t lcd_expander = 0;

// The address counter seen by the last busy wait that found the display ready.
extern int32_t lcd_last_ac;

// Set when a nibble transfer failed: the controller may have taken half a
// byte more or less than was meant, and pairs every later half wrongly until
// its 4-bit interface is woken afresh.
extern bool lcd_out_of_step;

// Writes the low four bits of nibble with an E pulse (three expander writes);
// returns the acknowledge of the last one.
int32_t lcd_nibble_out(int32_t rs, int32_t nibble);
// Reads one nibble (three writes and a read); returns it in bits 7..4.
int32_t lcd_nibble_in(int32_t rs);
// Polls the busy flag up to ten times; 0 when ready, 1 when it gave up (also
// at once when a wait for SCL gave up).
int32_t lcd_busy_wait();

// Gives up the time slice (0) or sleeps for a number of milliseconds.
void lcd_sleep_ms(int milliseconds);

}  // namespace wirelink

#endif
