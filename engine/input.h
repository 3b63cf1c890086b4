// Keyboard and mouse state as the frame sees it: held keys, the keys that
// went down or up during this frame, the last key and character of the frame,
// the wheel and the pointer. Fed by device events (real backend) or by a
// script (headless), cleared of per-frame events after each frame.
#pragma once

#include <bitset>

class tideInput {
public:
    void KeyEvent(int vk, bool down);
    void CharEvent(int c);
    void WheelEvent(int notches) { wheel += notches; }
    void MouseMove(float x, float y) { mx = x; my = y; }
    void SetMouseOver(bool over) { mouseOver = over; }
    // Forgets what happened during the frame; held keys stay held.
    void EndFrame();
    // Releases every held key (focus lost).
    void ReleaseAll();

    bool KeyDown(int vk) const { return valid(vk) && wentDown[vk]; }
    bool KeyUp(int vk) const { return valid(vk) && wentUp[vk]; }
    bool KeyState(int vk) const { return valid(vk) && held[vk]; }
    int Key() const { return lastKey; }
    int Char() const { return lastChar; }
    int Wheel() const { return wheel; }
    float X() const { return mx; }
    float Y() const { return my; }
    bool MouseOver() const { return mouseOver; }

private:
    static bool valid(int vk) { return vk >= 0 && vk < 256; }
    std::bitset<256> held, wentDown, wentUp;
    int lastKey = 0, lastChar = 0, wheel = 0;
    float mx = 0, my = 0;
    bool mouseOver = true;
};
