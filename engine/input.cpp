#include "engine/input.h"

#include "engine/tide.h"

namespace {
// Edges a flood of events may hold back; past this the rest are dropped.
const size_t kMaxHeldBack = 64;

// A stick or trigger holds its key from past kPress until back under
// kRelease, so a value wavering at one threshold does not chatter.
const float kPress = 0.5f, kRelease = 0.3f;

// The pad keys that repeat while held: D-pad then stick directions.
const int kPadDirections[8] = {TIDEK_PAD_UP,       TIDEK_PAD_DOWN,      TIDEK_PAD_LEFT,
                               TIDEK_PAD_RIGHT,    TIDEK_PAD_STICK_UP,  TIDEK_PAD_STICK_DOWN,
                               TIDEK_PAD_STICK_LEFT, TIDEK_PAD_STICK_RIGHT};
}  // namespace

void tideInput::KeyEvent(int vk, bool down) {
    if (!valid(vk)) return;
    if (down) {
        if (tideIsPadKey(vk))
            device = TIDE_DEVICE_GAMEPAD;
        else if (vk == TIDEK_LBUTTON || vk == TIDEK_RBUTTON || vk == TIDEK_MBUTTON)
            device = touching ? TIDE_DEVICE_TOUCH : TIDE_DEVICE_MOUSE;
        else
            device = TIDE_DEVICE_KEYBOARD;
    }
    bool queued = false;
    for (const Edge& e : later) queued = queued || e.vk == vk;
    if (!queued && down && held[vk]) {
        lastKey = vk; // auto-repeat: no edge, so it never waits
    } else if (!queued && !hasEdge(vk)) {
        apply(vk, down);
    } else if (later.size() < kMaxHeldBack) {
        later.push_back({vk, down});
    }
}

void tideInput::apply(int vk, bool down) {
    if (down) {
        if (!held[vk]) wentDown[vk] = true;
        lastKey = vk;
        held[vk] = true;
    } else {
        if (held[vk]) wentUp[vk] = true;
        held[vk] = false;
    }
}

void tideInput::CharEvent(int c) {
    if (c > 0) lastChar = c;
}

void tideInput::MouseMove(float x, float y) {
    if (x == mx && y == my) return;
    mx = x;
    my = y;
    device = TIDE_DEVICE_MOUSE;
}

void tideInput::TouchEvent(float x, float y, bool down) {
    mx = x;
    my = y;
    touching = true;
    KeyEvent(TIDEK_LBUTTON, down);
    device = TIDE_DEVICE_TOUCH;
    touching = down;
}

void tideInput::TouchMove(float x, float y) {
    mx = x;
    my = y;
    device = TIDE_DEVICE_TOUCH;
}

void tideInput::PadAxisEvent(PadAxis axis, float value) {
    if (axis < AXIS_STICK_X || axis > AXIS_RIGHT_TRIGGER) return;
    const float old = axes[axis];
    axes[axis] = value;
    // Each axis drives one key per side: past the press threshold on a side
    // holds it, back under the release threshold lets go.
    auto drive = [&](int vk, float was, float now) {
        const bool on = held[vk];
        if (!on && now > kPress && was <= kPress) KeyEvent(vk, true);
        if (on && now < kRelease) KeyEvent(vk, false);
    };
    switch (axis) {
        case AXIS_STICK_X:
            drive(TIDEK_PAD_STICK_RIGHT, old, value);
            drive(TIDEK_PAD_STICK_LEFT, -old, -value);
            break;
        case AXIS_STICK_Y:  // positive is down
            drive(TIDEK_PAD_STICK_DOWN, old, value);
            drive(TIDEK_PAD_STICK_UP, -old, -value);
            break;
        case AXIS_LEFT_TRIGGER: drive(TIDEK_PAD_LT, old, value); break;
        case AXIS_RIGHT_TRIGGER: drive(TIDEK_PAD_RT, old, value); break;
    }
}

void tideInput::ReleasePad() {
    for (float& a : axes) a = 0;
    for (int vk = TIDEK_PAD_A; vk <= TIDEK_PAD_STICK_LEFT; vk++)
        if (held[vk]) KeyEvent(vk, false);
}

void tideInput::BeginFrame(float dt) {
    for (int i = 0; i < 8; i++) {
        const int vk = kPadDirections[i];
        if (!held[vk] || wentDown[vk]) {
            padHeldFor[i] = 0;
            continue;
        }
        const float before = padHeldFor[i];
        padHeldFor[i] += dt;
        // A repeat each time the held time passes the delay plus a whole
        // number of intervals; the frame's key, never a new press.
        auto repeats = [](float t) {
            return t < kPadRepeatDelay ? -1 : int((t - kPadRepeatDelay) / kPadRepeatInterval);
        };
        if (repeats(padHeldFor[i]) > repeats(before) && lastKey == 0) lastKey = vk;
    }
}

void tideInput::EndFrame() {
    wentDown.reset();
    wentUp.reset();
    lastKey = 0;
    lastChar = 0;
    wheel = 0;
    std::vector<Edge> still;
    for (const Edge& e : later) {
        bool blocked = hasEdge(e.vk);
        for (const Edge& s : still) blocked = blocked || s.vk == e.vk;
        if (blocked)
            still.push_back(e);
        else
            apply(e.vk, e.down);
    }
    later.swap(still);
}

void tideInput::ReleaseAll() {
    later.clear();
    for (float& a : axes) a = 0;
    for (int vk = 0; vk < 256; vk++)
        if (held[vk]) KeyEvent(vk, false);
}
