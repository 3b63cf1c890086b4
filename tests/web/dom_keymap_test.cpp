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

// A letter key is the letter it types (Ctrl+Z on an AZERTY keyboard is the
// key marked Z, sent as KeyW); other keys and other scripts by their place.
TEST(DomKeyMap, LettersByTheCharacterTheyType) {
    const struct {
        const char* key;
        const char* code;
        int vk;
    } cases[] = {
        {"z", "KeyW", 'Z'}, {"Z", "KeyW", 'Z'}, {"q", "KeyA", 'Q'}, {"u", "KeyU", 'U'},
        {"я", "KeyZ", 'Z'}, {"Enter", "Enter", TIDEK_ENTER}, {"1", "Digit1", '1'},
        {"&", "Digit1", '1'}, {nullptr, "KeyB", 'B'}, {"", "", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(tideVkFromDomKey(c.key, c.code), c.vk) << c.code;
}

TEST(DomKeyMap, StandardGamepadButtons) {
    const int expected[] = {TIDEK_PAD_A,    TIDEK_PAD_B,     TIDEK_PAD_X,      TIDEK_PAD_Y,
                            TIDEK_PAD_LB,   TIDEK_PAD_RB,    TIDEK_PAD_LT,     TIDEK_PAD_RT,
                            TIDEK_PAD_BACK, TIDEK_PAD_START, TIDEK_PAD_LSTICK, TIDEK_PAD_RSTICK,
                            TIDEK_PAD_UP,   TIDEK_PAD_DOWN,  TIDEK_PAD_LEFT,   TIDEK_PAD_RIGHT};
    for (int i = 0; i < 16; i++) EXPECT_EQ(tideVkFromStandardPadButton(i), expected[i]) << i;
    for (int i : {-1, 16, 17}) EXPECT_EQ(tideVkFromStandardPadButton(i), 0) << i;
}
