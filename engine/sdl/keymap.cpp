#include "engine/sdl/keymap.h"

#include "engine/tide.h"

namespace {

struct KeyPair {
    SDL_Keycode key;
    int vk;
};

// Keys outside the contiguous letter, digit, F-key and keypad-digit runs.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, TIDEK_BACKSPACE},
    {SDLK_TAB, TIDEK_TAB},
    {SDLK_RETURN, TIDEK_ENTER},
    {SDLK_KP_ENTER, TIDEK_ENTER},
    {SDLK_LSHIFT, TIDEK_SHIFT},
    {SDLK_RSHIFT, TIDEK_SHIFT},
    {SDLK_LCTRL, TIDEK_CTRL},
    {SDLK_RCTRL, TIDEK_CTRL},
    {SDLK_LALT, TIDEK_ALT},
    {SDLK_RALT, TIDEK_ALT},
    {SDLK_PAUSE, TIDEK_PAUSE},
    {SDLK_CAPSLOCK, TIDEK_CAPSLOCK},
    {SDLK_ESCAPE, TIDEK_ESCAPE},
    {SDLK_SPACE, TIDEK_SPACE},
    {SDLK_PAGEUP, TIDEK_PGUP},
    {SDLK_PAGEDOWN, TIDEK_PGDN},
    {SDLK_END, TIDEK_END},
    {SDLK_HOME, TIDEK_HOME},
    {SDLK_LEFT, TIDEK_LEFT},
    {SDLK_UP, TIDEK_UP},
    {SDLK_RIGHT, TIDEK_RIGHT},
    {SDLK_DOWN, TIDEK_DOWN},
    {SDLK_INSERT, TIDEK_INSERT},
    {SDLK_DELETE, TIDEK_DELETE},
    {SDLK_KP_MULTIPLY, TIDEK_MULTIPLY},
    {SDLK_KP_PLUS, TIDEK_ADD},
    {SDLK_KP_MINUS, TIDEK_SUBTRACT},
    {SDLK_KP_PERIOD, TIDEK_DECIMAL},
    {SDLK_KP_DIVIDE, TIDEK_DIVIDE},
    {SDLK_SEMICOLON, TIDEK_SEMICOLON},
    {SDLK_EQUALS, TIDEK_EQUALS},
    {SDLK_COMMA, TIDEK_COMMA},
    {SDLK_MINUS, TIDEK_MINUS},
    {SDLK_PERIOD, TIDEK_PERIOD},
    {SDLK_SLASH, TIDEK_SLASH},
    {SDLK_BACKQUOTE, TIDEK_GRAVE},
    {SDLK_LEFTBRACKET, TIDEK_LBRACKET},
    {SDLK_BACKSLASH, TIDEK_BACKSLASH},
    {SDLK_RIGHTBRACKET, TIDEK_RBRACKET},
    {SDLK_QUOTE, TIDEK_APOSTROPHE},
};

}  // namespace

int tideVkFromSdlKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return TIDEK_A + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return TIDEK_0 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return TIDEK_F1 + (key - SDLK_F1);
    // SDL orders the keypad digits 1..9 then 0.
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return TIDEK_NUMPAD0 + 1 + (key - SDLK_KP_1);
    if (key == SDLK_KP_0) return TIDEK_NUMPAD0;
    for (const KeyPair& p : kKeys)
        if (p.key == key) return p.vk;
    return 0;
}

int tideVkFromSdlKeysym(const SDL_Keysym& key) {
    if (int vk = tideVkFromSdlKey(key.sym)) return vk;
    const SDL_Scancode sc = key.scancode;
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return TIDEK_A + (sc - SDL_SCANCODE_A);
    // SDL orders the digit row 1..9 then 0.
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return TIDEK_0 + 1 + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return TIDEK_0;
    return 0;
}

int tideVkFromSdlPadButton(Uint8 button) {
    static const int kPad[] = {
        TIDEK_PAD_A,    TIDEK_PAD_B,      TIDEK_PAD_X,    TIDEK_PAD_Y,     TIDEK_PAD_BACK,
        0 /* guide */,  TIDEK_PAD_START,  TIDEK_PAD_LSTICK, TIDEK_PAD_RSTICK, TIDEK_PAD_LB,
        TIDEK_PAD_RB,   TIDEK_PAD_UP,     TIDEK_PAD_DOWN, TIDEK_PAD_LEFT,  TIDEK_PAD_RIGHT};
    static_assert(sizeof(kPad) / sizeof(kPad[0]) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1);
    return button < sizeof(kPad) / sizeof(kPad[0]) ? kPad[button] : 0;
}

int tideVkFromSdlButton(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return TIDEK_LBUTTON;
        case SDL_BUTTON_RIGHT: return TIDEK_RBUTTON;
        case SDL_BUTTON_MIDDLE: return TIDEK_MBUTTON;
        default: return 0;
    }
}

int tideControlCharFromVk(int vk) {
    switch (vk) {
        case TIDEK_BACKSPACE:
        case TIDEK_TAB:
        case TIDEK_ENTER:
        case TIDEK_ESCAPE: return vk; // the ASCII control code equals the key code
        default: return 0;
    }
}
