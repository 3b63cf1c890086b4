// The browser's key names reach the game as the desktop's virtual-key codes.
#include <gtest/gtest.h>

#include "engine/tide.h"
#include "engine/web/dom_keymap.h"

TEST(DomKeyMap, KeysTranslateToTheDesktopCodes) {
    const struct {
        const char* code;
        int vk;
    } cases[] = {
        {"KeyA", TIDEK_A},          {"KeyZ", TIDEK_A + 25},     {"Digit0", TIDEK_0},
        {"Digit9", TIDEK_0 + 9},    {"Numpad0", TIDEK_NUMPAD0}, {"Numpad7", TIDEK_NUMPAD0 + 7},
        {"F1", TIDEK_F1},           {"F10", TIDEK_F1 + 9},      {"F12", TIDEK_F1 + 11},
        {"Escape", TIDEK_ESCAPE},   {"Enter", TIDEK_ENTER},     {"NumpadEnter", TIDEK_ENTER},
        {"Space", TIDEK_SPACE},     {"ArrowLeft", TIDEK_LEFT},  {"ArrowDown", TIDEK_DOWN},
        {"ShiftRight", TIDEK_SHIFT}, {"Quote", TIDEK_APOSTROPHE},
        // Unknown or malformed names are no key at all.
        {"F13", 0}, {"F0", 0}, {"F", 0}, {"F1x", 0}, {"Key", 0}, {"Keya", 0}, {"KeyAB", 0},
        {"Digit", 0}, {"Numpad", 0}, {"Unidentified", 0}, {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(tideVkFromDomCode(c.code), c.vk) << c.code;
    EXPECT_EQ(tideVkFromDomCode(nullptr), 0);
}

TEST(DomKeyMap, MouseButtons) {
    EXPECT_EQ(tideVkFromDomButton(0), TIDEK_LBUTTON);
    EXPECT_EQ(tideVkFromDomButton(1), TIDEK_MBUTTON);
    EXPECT_EQ(tideVkFromDomButton(2), TIDEK_RBUTTON);
    EXPECT_EQ(tideVkFromDomButton(3), 0);
    EXPECT_EQ(tideVkFromDomButton(-1), 0);
}
