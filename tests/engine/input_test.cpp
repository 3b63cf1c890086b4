// The device-free input state's gamepad, touch and device handling: sticks
// and triggers become keys with a dead band, held directions repeat on the
// frame clock, and the device used last follows the player.
#include <gtest/gtest.h>

#include "engine/input.h"
#include "engine/tide.h"

namespace {

// One frame of `dt` seconds: what the frame sees, then the frame ends.
struct Frame {
    int key;
    bool down;
};
Frame RunFrame(tideInput& in, int vk, float dt = 1.0f / 60) {
    in.BeginFrame(dt);
    Frame f{in.Key(), in.KeyDown(vk)};
    in.EndFrame();
    return f;
}

}  // namespace

TEST(Input, SticksAndTriggersHoldKeysPastADeadBand) {
    const struct {
        tideInput::PadAxis axis;
        float value;
        int vk;
    } cases[] = {
        {tideInput::AXIS_STICK_X, 0.9f, TIDEK_PAD_STICK_RIGHT},
        {tideInput::AXIS_STICK_X, -0.9f, TIDEK_PAD_STICK_LEFT},
        {tideInput::AXIS_STICK_Y, 0.9f, TIDEK_PAD_STICK_DOWN},
        {tideInput::AXIS_STICK_Y, -0.9f, TIDEK_PAD_STICK_UP},
        {tideInput::AXIS_LEFT_TRIGGER, 0.9f, TIDEK_PAD_LT},
        {tideInput::AXIS_RIGHT_TRIGGER, 0.9f, TIDEK_PAD_RT},
    };
    for (const auto& c : cases) {
        tideInput in;
        in.PadAxisEvent(c.axis, c.value * 0.4f);  // inside the dead band
        EXPECT_FALSE(in.KeyState(c.vk)) << c.vk;
        in.PadAxisEvent(c.axis, c.value);
        EXPECT_TRUE(in.KeyDown(c.vk) && in.KeyState(c.vk)) << c.vk;
        EXPECT_EQ(in.Device(), TIDE_DEVICE_GAMEPAD);
        in.EndFrame();
        // Back to the middle of the band: still held, no chatter at one edge.
        in.PadAxisEvent(c.axis, c.value * 0.45f);
        EXPECT_TRUE(in.KeyState(c.vk)) << c.vk;
        in.PadAxisEvent(c.axis, 0);
        EXPECT_TRUE(in.KeyUp(c.vk) && !in.KeyState(c.vk)) << c.vk;
    }
}

TEST(Input, HeldPadDirectionsRepeatButOtherButtonsDoNot) {
    for (int vk : {TIDEK_PAD_DOWN, TIDEK_PAD_STICK_LEFT, TIDEK_PAD_A}) {
        tideInput in;
        in.KeyEvent(vk, true);
        int keys = 0, presses = 0;
        // One second held at 60 frames a second.
        for (int f = 0; f < 60; f++) {
            Frame fr = RunFrame(in, vk);
            keys += fr.key == vk;
            presses += fr.down;
        }
        EXPECT_EQ(presses, 1) << vk;
        // The press, then repeats at 0.4, 0.52, 0.64, 0.76 and 0.88 s.
        const bool repeats = vk != TIDEK_PAD_A;
        EXPECT_EQ(keys, repeats ? 1 + 5 : 1) << vk;
        in.KeyEvent(vk, false);
        EXPECT_EQ(RunFrame(in, vk).key, 0);
    }
}

TEST(Input, TheDeviceUsedLastFollowsThePlayer) {
    tideInput in;
    in.KeyEvent('A', true);
    EXPECT_EQ(in.Device(), TIDE_DEVICE_KEYBOARD);
    in.MouseMove(10, 20);
    EXPECT_EQ(in.Device(), TIDE_DEVICE_MOUSE);
    in.KeyEvent('A', false);  // a release says nothing of who plays now
    EXPECT_EQ(in.Device(), TIDE_DEVICE_MOUSE);
    in.KeyEvent(TIDEK_PAD_B, true);
    EXPECT_EQ(in.Device(), TIDE_DEVICE_GAMEPAD);
    in.MouseMove(10, 20);  // no movement
    EXPECT_EQ(in.Device(), TIDE_DEVICE_GAMEPAD);
    in.WarpMouse(50, 60);  // the program's own move
    EXPECT_EQ(in.Device(), TIDE_DEVICE_GAMEPAD);

    // A finger points and presses the left button.
    in.EndFrame();
    in.TouchEvent(300, 400, true);
    EXPECT_EQ(in.Device(), TIDE_DEVICE_TOUCH);
    EXPECT_TRUE(in.KeyDown(TIDEK_LBUTTON));
    EXPECT_FLOAT_EQ(in.X(), 300);
    in.EndFrame();
    in.TouchMove(310, 400);
    in.TouchEvent(310, 400, false);
    EXPECT_TRUE(in.KeyUp(TIDEK_LBUTTON));
    EXPECT_EQ(in.Device(), TIDE_DEVICE_TOUCH);
    in.EndFrame();
    in.KeyEvent(TIDEK_LBUTTON, true);  // a real mouse button after it
    EXPECT_EQ(in.Device(), TIDE_DEVICE_MOUSE);
}

TEST(Input, AnUnpluggedPadLetsGoOfEverything) {
    tideInput in;
    in.KeyEvent(TIDEK_PAD_A, true);
    in.PadAxisEvent(tideInput::AXIS_STICK_X, 1);
    in.KeyEvent('Q', true);
    in.EndFrame();
    in.ReleasePad();
    EXPECT_FALSE(in.KeyState(TIDEK_PAD_A));
    EXPECT_FALSE(in.KeyState(TIDEK_PAD_STICK_RIGHT));
    EXPECT_TRUE(in.KeyState('Q'));
    // The stick starts from rest again: the next push is a press.
    in.EndFrame();
    in.PadAxisEvent(tideInput::AXIS_STICK_X, 1);
    EXPECT_TRUE(in.KeyDown(TIDEK_PAD_STICK_RIGHT));
}
