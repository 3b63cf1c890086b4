// A finger on the board. A tap shows what a click there would do (the
// highlight, the tint, the damage), since the pointer stays where the finger
// was; a second tap on the same cell does it; a tap elsewhere shows that cell
// instead. A long press shows the panel of the unit under it and does
// nothing else. Acting on the release, not the touch, is what tells a tap
// from a long press.
#include "game/game.h"

namespace {
const float kLongPress = 0.5f;  // seconds
}  // namespace

bool cGame::TouchConfirms() {
    if (tide->Input_GetDevice() != TIDE_DEVICE_TOUCH) {
        touchshown = false;  // the mouse or keys took over
        return false;
    }
    if (tide->Input_KeyDown(TIDEK_LBUTTON)) touchheld = 0;
    if (tide->Input_GetKeyState(TIDEK_LBUTTON)) touchheld += dt;
    if (!tide->Input_KeyUp(TIDEK_LBUTTON)) return false;
    const tcellpos cell = screenToCell(static_cast<int>(mx), static_cast<int>(my));
    const bool tap = touchheld >= 0 && touchheld < kLongPress;
    touchheld = -1;
    if (!tap) return false;
    const bool again = touchshown && cell == touchcell;
    touchshown = !again;
    touchcell = cell;
    return again;
}
