// Character display (HD44780 type, 4-bit mode) on the expander at index 0.

#include <cstddef>
#include <cstring>

#include "lcd_port.h"

using namespace wirelink;

namespace {

constexpr int32_t kClear = 0x01;
constexpr int32_t kHome = 0x02;
constexpr int32_t kEntryIncrement = 0x06;
constexpr int32_t kDisplayOff = 0x08;
constexpr int32_t kDisplayOnCursorOn = 0x0E;
constexpr int32_t kFourBitTwoLines = 0x28;
constexpr int32_t kSetDisplayAddress = 0x80;

constexpr int kWriteLimit = 16;
constexpr int32_t kReadLimit = 31;  // lcd_STRING's characters
constexpr int32_t kUnreadCharacter = ' ';

void resynchronise_if_out_of_step();

int32_t write_byte(int32_t rs, int32_t value) {
    const ChipCall call;
    resynchronise_if_out_of_step();
    const FaultWatch faults;
    if (lcd_busy_wait() != 0) return 0;
    lcd_nibble_out(rs, (value >> 4) & 0x0F);
    const int32_t acknowledged = lcd_nibble_out(rs, value & 0x0F);
    return faults.failed() ? 0 : acknowledged;
}

// Only the low seven bits are an address: adding a larger one to 0x80 would
// carry into another instruction (0x80 + 0x81 leaves 0x01, clear display).
int32_t set_address(int32_t address) { return lcd_instr(kSetDisplayAddress | (address & 0x7F)); }

// The controller powers up 8 bits wide or may sit mid-byte in 4-bit mode;
// three function sets of 0x3 bring it to a known 8-bit state from either,
// and 0x2 then switches it to 4 bits.
void wake_into_four_bit_mode() {
    lcd_nibble_out(0, 0x3);
    lcd_sleep_ms(5);
    lcd_nibble_out(0, 0x3);
    lcd_sleep_ms(0);
    lcd_nibble_out(0, 0x3);
    lcd_sleep_ms(0);
    lcd_nibble_out(0, 0x2);
}

// After a failed transfer the wake-up brings the interface back in step
// without clearing the display; the function set then restores two lines,
// which the wake-up's last nibble, taken 8 bits wide, turned off.
// Once per call at most: one that fails (no display answers) is tried again
// at the next call, not at every character of this one.
void resynchronise_if_out_of_step() {
    static uint32_t tried_in_call = 0;
    if (!lcd_out_of_step || tried_in_call == ChipCall::serial()) return;
    tried_in_call = ChipCall::serial();
    lcd_out_of_step = false;
    wake_into_four_bit_mode();
    lcd_instr(kFourBitTwoLines);
}

// Reads the character at an address into *character, which keeps its value
// when the set-address instruction failed (the address counter would point
// at another cell), the display stayed busy or the bus failed.  Returns the
// result of the set-address instruction.
int32_t read_character(int32_t *character, int32_t address) {
    resynchronise_if_out_of_step();
    const FaultWatch faults;
    const int32_t result = set_address(address);
    if (result == 0 || lcd_busy_wait() != 0) return result;
    const int32_t high = lcd_nibble_in(1);
    const int32_t low = lcd_nibble_in(1);
    if (!faults.failed()) *character = high | (low >> 4);
    return result;
}

}  // namespace

extern "C" {

int32_t lcd_ADRESS = 0;
int32_t lcd_BACKLIGHT = 0;
char lcd_STRING[32] = {};

int32_t WIRELINK_CALL lcd_instr(int32_t instruction) { return write_byte(0, instruction); }

int32_t WIRELINK_CALL lcd_wchar(int32_t character) { return write_byte(1, character); }

int32_t WIRELINK_CALL lcd_init(void) {
    const ChipCall call;
    const FaultWatch faults;
    iic_tx_pcf8574(kLcdBacklight, lcd_expander);
    lcd_sleep_ms(15);
    lcd_out_of_step = false;
    wake_into_four_bit_mode();
    lcd_instr(kFourBitTwoLines);
    lcd_instr(kDisplayOff);
    lcd_instr(kClear);
    lcd_instr(kHome);
    lcd_instr(kEntryIncrement);
    const int32_t result = lcd_instr(kDisplayOnCursorOn);
    lcd_ADRESS = 0;
    lcd_BACKLIGHT = 1;
    lcd_last_ac = 0;
    return faults.failed() ? 0 : result;
}

int32_t WIRELINK_CALL lcd_rchar(int32_t *character, int32_t address) {
    const ChipCall call;
    if (character == nullptr) return refused();
    const FaultWatch faults;
    const int32_t result = read_character(character, address);
    return faults.failed() ? 0 : result;
}

int32_t WIRELINK_CALL lcd_write_str(const char *text) {
    const ChipCall call;
    if (text == nullptr) return refused();
    for (int i = 0; i < kWriteLimit && text[i] != '\0'; ++i) lcd_wchar(static_cast<unsigned char>(text[i]));
    return 1;
}

int32_t WIRELINK_CALL lcd_read_str(int32_t count, int32_t address, char *destination) {
    const ChipCall call;
    if (destination == nullptr) return refused();
    const int32_t length = count < 0 ? 0 : (count > kReadLimit ? kReadLimit : count);
    // Addresses keep to seven bits anyway; masking first keeps the sums
    // defined for any first address.
    const int32_t first = address & 0x7F;
    // Read into a buffer of this call's own, so that what lands in the
    // caller's buffer depends on nothing but this call's count.
    char text[kReadLimit + 1];
    const FaultWatch faults;
    for (int32_t i = 0; i < length; ++i) {
        // A character the display stayed busy for must not show a stale one.
        int32_t character = kUnreadCharacter;
        read_character(&character, first + i);
        set_address(first + i + 1);
        // A dead bus read nothing: neither buffer is touched.
        if (faults.failed()) return 0;
        text[i] = static_cast<char>(character & 0xFF);
    }
    text[length] = '\0';
    std::memcpy(lcd_STRING, text, static_cast<std::size_t>(length) + 1);
    std::memcpy(destination, text, std::strlen(text) + 1);
    return 1;
}

int32_t WIRELINK_CALL lcd_backlight(int32_t on) {
    const ChipCall call;
    lcd_BACKLIGHT = on;
    return iic_tx_pcf8574(on != 0 ? kLcdBacklight : 0x00, lcd_expander);
}

int32_t WIRELINK_CALL lcd_get_adress(void) {
    const ChipCall call;
    resynchronise_if_out_of_step();
    return lcd_busy_wait() == 0 ? lcd_last_ac : -1;
}

}  // extern "C"
