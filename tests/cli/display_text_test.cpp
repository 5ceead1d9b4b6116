// UTF-8 text to the codes of the display's character ROM (A00).
#include "display_text.h"

#include <gtest/gtest.h>

#include "failure.h"

namespace {

TEST(DisplayText, MapsTheCharactersTheRomHas) {
    const std::pair<const char *, const char *> cases[] = {
        {"Hi 5V!", "Hi 5V!"},
        {"Grüße",
         "Gr\xF5\xE2"
         "e"},
        {"äöü°µ←→¥", "\xE1\xEF\xF5\xDF\xE4\x7F\x7E\x5C"},
        {"αβπΩΣ÷█", "\xE0\xE2\xF7\xF4\xF6\xFD\xFF"},
        {"ｱｲｳ", "\xB1\xB2\xB3"},
    };
    for (const auto &[text, codes] : cases) EXPECT_EQ(cli::display_codes(text), codes) << text;
    EXPECT_EQ(cli::display_codes("äöüäöüäöü").size(), 9u);
}

TEST(DisplayText, RefusesWhatItLacksNamingTheCharacterAndItsPlace) {
    const std::pair<const char *, const char *> cases[] = {
        {"Ärger",
         "TEXT: 'Ä' (U+00C4) at character 1 is not in the display's character set (--raw sends bytes "
         "unchanged)"},
        {"a\tb",
         "TEXT: U+0009 at character 2 is not in the display's character set (--raw sends bytes unchanged)"},
        {"C:\\",
         "TEXT: '\\' (U+005C) at character 3 is not in the display's character set (--raw sends bytes "
         "unchanged)"},
        {"ok\xC3", "TEXT: character 3 is not UTF-8 (--raw sends bytes unchanged)"},
    };
    for (const auto &[text, message] : cases) {
        try {
            cli::display_codes(text);
            ADD_FAILURE() << text;
        } catch (const cli::Failure &failure) {
            EXPECT_STREQ(failure.what(), message);
        }
    }
}

}  // namespace
