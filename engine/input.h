// Keyboard, mouse, gamepad and touch state as the frame sees it: held keys,
// the keys that went down or up during this frame, the last key and character
// of the frame, the wheel, the pointer and the device used last. Fed by device
// events (real backends) or by a script (headless), cleared of per-frame
// events after each frame. Gamepads arrive as keys (TIDEK_PAD_*): the stick
// and the triggers are turned into keys here, and held directions repeat here
// on the frame clock, so every backend's pads behave alike.
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
    // The pointer moved by the player's mouse (the mouse becomes the device
    // used last) or by the program.
    void MouseMove(float x, float y);
    void WarpMouse(float x, float y) { mx = x; my = y; }
    void SetMouseOver(bool over) { mouseOver = over; }
    // A finger: it points like the mouse and its touch is the left button.
    void TouchEvent(float x, float y, bool down);
    void TouchMove(float x, float y);
    // A stick or trigger of a gamepad, -1..1 (triggers 0..1).
    enum PadAxis { AXIS_STICK_X, AXIS_STICK_Y, AXIS_LEFT_TRIGGER, AXIS_RIGHT_TRIGGER };
    void PadAxisEvent(PadAxis axis, float value);
    // Releases every gamepad key (a pad unplugged).
    void ReleasePad();
    // Advances the repeat of held gamepad directions by the frame's time;
    // called before the frame is handed to the game.
    void BeginFrame(float dt);
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
    int Device() const { return device; }

    // Gamepad directions repeat after this long held, then at this interval.
    static constexpr float kPadRepeatDelay = 0.4f, kPadRepeatInterval = 0.12f;

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
    int device = 0; // tideDevice
    bool touching = false;
    float axes[4] = {0, 0, 0, 0};
    float padHeldFor[8] = {}; // seconds each pad direction has been held
};
