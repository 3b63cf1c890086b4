#include "engine/input.h"

void tideInput::KeyEvent(int vk, bool down) {
    if (!valid(vk)) return;
    if (down) {
        // A key repeat is not a new press.
        if (!held[vk]) {
            wentDown[vk] = true;
            lastKey = vk;
        }
        held[vk] = true;
    } else {
        if (held[vk]) wentUp[vk] = true;
        held[vk] = false;
    }
}

void tideInput::CharEvent(int c) {
    if (c > 0) lastChar = c;
}

void tideInput::EndFrame() {
    wentDown.reset();
    wentUp.reset();
    lastKey = 0;
    lastChar = 0;
    wheel = 0;
}

void tideInput::ReleaseAll() {
    for (int vk = 0; vk < 256; vk++)
        if (held[vk]) KeyEvent(vk, false);
}
