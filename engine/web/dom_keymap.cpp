#include "engine/web/dom_keymap.h"

#include <cstdlib>
#include <cstring>

#include "engine/tide.h"

namespace {

struct CodePair {
    const char* code;
    int vk;
};

// Keys outside the letter, digit, F-key and keypad-digit runs.
constexpr CodePair kCodes[] = {
    {"Backspace", TIDEK_BACKSPACE},
    {"Tab", TIDEK_TAB},
    {"Enter", TIDEK_ENTER},
    {"NumpadEnter", TIDEK_ENTER},
    {"ShiftLeft", TIDEK_SHIFT},
    {"ShiftRight", TIDEK_SHIFT},
    {"ControlLeft", TIDEK_CTRL},
    {"ControlRight", TIDEK_CTRL},
    {"AltLeft", TIDEK_ALT},
    {"AltRight", TIDEK_ALT},
    {"Pause", TIDEK_PAUSE},
    {"CapsLock", TIDEK_CAPSLOCK},
    {"Escape", TIDEK_ESCAPE},
    {"Space", TIDEK_SPACE},
    {"PageUp", TIDEK_PGUP},
    {"PageDown", TIDEK_PGDN},
    {"End", TIDEK_END},
    {"Home", TIDEK_HOME},
    {"ArrowLeft", TIDEK_LEFT},
    {"ArrowUp", TIDEK_UP},
    {"ArrowRight", TIDEK_RIGHT},
    {"ArrowDown", TIDEK_DOWN},
    {"Insert", TIDEK_INSERT},
    {"Delete", TIDEK_DELETE},
    {"NumpadMultiply", TIDEK_MULTIPLY},
    {"NumpadAdd", TIDEK_ADD},
    {"NumpadSubtract", TIDEK_SUBTRACT},
    {"NumpadDecimal", TIDEK_DECIMAL},
    {"NumpadDivide", TIDEK_DIVIDE},
    {"Semicolon", TIDEK_SEMICOLON},
    {"Equal", TIDEK_EQUALS},
    {"Comma", TIDEK_COMMA},
    {"Minus", TIDEK_MINUS},
    {"Period", TIDEK_PERIOD},
    {"Slash", TIDEK_SLASH},
    {"Backquote", TIDEK_GRAVE},
    {"BracketLeft", TIDEK_LBRACKET},
    {"Backslash", TIDEK_BACKSLASH},
    {"BracketRight", TIDEK_RBRACKET},
    {"Quote", TIDEK_APOSTROPHE},
};

// The single character after `prefix` when `code` is prefix + one char.
char suffixChar(const char* code, const char* prefix) {
    const size_t n = std::strlen(prefix);
    if (std::strncmp(code, prefix, n) != 0 || !code[n] || code[n + 1]) return 0;
    return code[n];
}

}  // namespace

int tideVkFromDomCode(const char* code) {
    if (!code) return 0;
    if (char c = suffixChar(code, "Key"); c >= 'A' && c <= 'Z') return TIDEK_A + (c - 'A');
    if (char c = suffixChar(code, "Digit"); c >= '0' && c <= '9') return TIDEK_0 + (c - '0');
    if (char c = suffixChar(code, "Numpad"); c >= '0' && c <= '9')
        return TIDEK_NUMPAD0 + (c - '0');
    if (code[0] == 'F' && std::strlen(code) <= 3 && std::strspn(code + 1, "0123456789") == std::strlen(code + 1)) {
        const int n = std::atoi(code + 1);
        if (n >= 1 && n <= 12) return TIDEK_F1 + n - 1;
    }
    for (const CodePair& p : kCodes)
        if (std::strcmp(p.code, code) == 0) return p.vk;
    return 0;
}

int tideVkFromDomKey(const char* key, const char* code) {
    if (key && key[0] && !key[1]) {
        const char c = key[0];
        if (c >= 'a' && c <= 'z') return TIDEK_A + (c - 'a');
        if (c >= 'A' && c <= 'Z') return TIDEK_A + (c - 'A');
    }
    return tideVkFromDomCode(code);
}

int tideVkFromStandardPadButton(int index) {
    static const int kPad[] = {TIDEK_PAD_A,     TIDEK_PAD_B,     TIDEK_PAD_X,      TIDEK_PAD_Y,
                               TIDEK_PAD_LB,    TIDEK_PAD_RB,    TIDEK_PAD_LT,     TIDEK_PAD_RT,
                               TIDEK_PAD_BACK,  TIDEK_PAD_START, TIDEK_PAD_LSTICK, TIDEK_PAD_RSTICK,
                               TIDEK_PAD_UP,    TIDEK_PAD_DOWN,  TIDEK_PAD_LEFT,   TIDEK_PAD_RIGHT};
    return index >= 0 && index < int(sizeof(kPad) / sizeof(kPad[0])) ? kPad[index] : 0;
}

int tideVkFromDomButton(int button) {
    switch (button) {
        case 0: return TIDEK_LBUTTON;
        case 1: return TIDEK_MBUTTON;
        case 2: return TIDEK_RBUTTON;
        default: return 0;
    }
}
