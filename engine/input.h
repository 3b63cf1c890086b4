// Keyboard and mouse state as the frame sees it: held keys, the keys that
// went down or up during this frame, the last key and character of the frame,
// the wheel and the pointer. Fed by device events (real backend) or by a
// script (headless), cleared of per-frame events after each frame.
//
// A key shows at most one edge a frame: a press and release that arrive
// within one frame (a tap, a fast click) are seen as the press in that frame
// and the release in the next, so every control meets a click the way it
// meets a slow one. Edges are held back in order as long as needed.
#pragma once

#include <bitset>
#include <vector>

class tideInput {
public:
    // A press of a key already held is an auto-repeat: it counts as the
    // frame's key (Key) but not as a press (KeyDown).
    void KeyEvent(int vk, bool down);
    void CharEvent(int c);
    void WheelEvent(int notches) { wheel += notches; }
    void MouseMove(float x, float y) { mx = x; my = y; }
    void SetMouseOver(bool over) { mouseOver = over; }
    // Forgets what happened during the frame (held keys stay held) and
    // applies the edges held back for the next one.
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
    struct Edge {
        int vk;
        bool down;
    };
    static bool valid(int vk) { return vk >= 0 && vk < 256; }
    bool hasEdge(int vk) const { return wentDown[vk] || wentUp[vk]; }
    void apply(int vk, bool down);

    std::bitset<256> held, wentDown, wentUp;
    std::vector<Edge> later; // edges held back for later frames, oldest first
    int lastKey = 0, lastChar = 0, wheel = 0;
    float mx = 0, my = 0;
    bool mouseOver = true;
};
