// Device events reach the engine's input state: SDL events pushed into the
// queue of a real-time engine are read by its frame loop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "engine/sdl/keymap.h"
#include "engine/gl/letterbox.h"
#include "tests/engine_gl/gl_engine.h"
#include "tests/engine_gl/sdl_events.h"
#include "tests/support/test_support.h"

// --- Letterbox -----------------------------------------------------------------

namespace {

::testing::AssertionResult BoxIs(const tideLetterbox& b, int x, int y, int w, int h) {
    if (b.x == x && b.y == y && b.w == w && b.h == h) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "box " << b.x << "," << b.y << " " << b.w << "x" << b.h;
}

} // namespace

TEST(Letterbox, FitsTheFrameWithItsAspectKept) {
    EXPECT_TRUE(BoxIs(tideLetterbox::Fit(1024, 768, 1024, 768), 0, 0, 1024, 768));
    EXPECT_TRUE(BoxIs(tideLetterbox::Fit(1920, 1080, 1024, 768), 240, 0, 1440, 1080)); // bars left and right
    EXPECT_TRUE(BoxIs(tideLetterbox::Fit(800, 800, 1024, 768), 0, 100, 800, 600));     // above and below
    EXPECT_TRUE(BoxIs(tideLetterbox::Fit(0, 0, 1024, 768), 0, 0, 0, 0));
}

TEST(Letterbox, MouseMapsBackToLogicalPixels) {
    tideLetterbox b = tideLetterbox::Fit(2048, 768 * 2 + 200, 1024, 768);
    float x = -1, y = -1;
    b.ToLogical(0, 100, 1024, 768, &x, &y); // top-left corner of the frame
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(y, 0);
    b.ToLogical(1024, 100 + 768, 1024, 768, &x, &y); // the centre
    EXPECT_FLOAT_EQ(x, 512);
    EXPECT_FLOAT_EQ(y, 384);
}

TEST(Letterbox, PointerOverABarClampsToTheFrameEdge) {
    tideLetterbox b = tideLetterbox::Fit(800, 800, 1024, 768);
    float x = -1, y = -1;
    b.ToLogical(5, 20, 1024, 768, &x, &y);
    EXPECT_FLOAT_EQ(y, 0);
    b.ToLogical(799, 790, 1024, 768, &x, &y);
    EXPECT_FLOAT_EQ(y, 767);
    EXPECT_LE(x, 1023);
}

TEST(Letterbox, EmptyWindowMapsToTheOrigin) {
    float x = -1, y = -1;
    tideLetterbox::Fit(0, 0, 1024, 768).ToLogical(10, 10, 1024, 768, &x, &y);
    EXPECT_FLOAT_EQ(x, 0);
    EXPECT_FLOAT_EQ(y, 0);
}

// --- Key codes -----------------------------------------------------------------

TEST(KeyMap, KeysTranslateToVirtualKeyCodes) {
    const struct {
        SDL_Keycode key;
        int vk;
    } cases[] = {
        {SDLK_a, 'A'}, {SDLK_z, 'Z'}, {SDLK_0, '0'}, {SDLK_9, '9'}, {SDLK_ESCAPE, 27},
        {SDLK_LEFT, 37}, {SDLK_UP, 38}, {SDLK_RIGHT, 39}, {SDLK_DOWN, 40}, {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13}, {SDLK_F1, 0x70}, {SDLK_F12, 0x7B}, {SDLK_KP_0, TIDEK_NUMPAD0},
        {SDLK_KP_9, TIDEK_NUMPAD0 + 9}, {SDLK_RSHIFT, TIDEK_SHIFT}, {SDLK_LCTRL, TIDEK_CTRL},
        {SDLK_RALT, TIDEK_ALT}, {SDLK_QUOTE, TIDEK_APOSTROPHE},
        {SDLK_F13, 0}, {SDLK_MENU, 0}, // no code of their own
    };
    for (const auto& c : cases) EXPECT_EQ(tideVkFromSdlKey(c.key), c.vk) << SDL_GetKeyName(c.key);
}

TEST(KeyMap, KeysOfOtherScriptsGoByPlaceAndPadButtonsHaveCodes) {
    SDL_Keysym cyrillicZ{};
    cyrillicZ.sym = 0x44F;  // what a Russian layout gives the Z key
    cyrillicZ.scancode = SDL_SCANCODE_Z;
    EXPECT_EQ(tideVkFromSdlKeysym(cyrillicZ), 'Z');
    SDL_Keysym azertyW{};
    azertyW.sym = SDLK_z;  // AZERTY: the key in QWERTY's W place types z
    azertyW.scancode = SDL_SCANCODE_W;
    EXPECT_EQ(tideVkFromSdlKeysym(azertyW), 'Z');
    EXPECT_EQ(tideVkFromSdlPadButton(SDL_CONTROLLER_BUTTON_A), TIDEK_PAD_A);
    EXPECT_EQ(tideVkFromSdlPadButton(SDL_CONTROLLER_BUTTON_START), TIDEK_PAD_START);
    EXPECT_EQ(tideVkFromSdlPadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), TIDEK_PAD_RIGHT);
    EXPECT_EQ(tideVkFromSdlPadButton(SDL_CONTROLLER_BUTTON_GUIDE), 0);
    EXPECT_EQ(tideVkFromSdlPadButton(SDL_CONTROLLER_BUTTON_MISC1), 0);
}

TEST(KeyMap, MouseButtonsAndControlCharacters) {
    EXPECT_EQ(tideVkFromSdlButton(SDL_BUTTON_LEFT), 1);
    EXPECT_EQ(tideVkFromSdlButton(SDL_BUTTON_RIGHT), 2);
    EXPECT_EQ(tideVkFromSdlButton(SDL_BUTTON_MIDDLE), 4);
    EXPECT_EQ(tideVkFromSdlButton(SDL_BUTTON_X1), 0);
    EXPECT_EQ(tideControlCharFromVk(TIDEK_BACKSPACE), 8);
    EXPECT_EQ(tideControlCharFromVk(TIDEK_ENTER), 13);
    EXPECT_EQ(tideControlCharFromVk('A'), 0);
}

// --- Events through the frame loop ---------------------------------------------

namespace {

// The frame callback runs one step per frame and quits after the last.
std::vector<std::function<void()>> steps;
size_t step = 0;
Tide* engine = nullptr;

bool runStep() {
    if (step < steps.size()) steps[step++]();
    return step >= steps.size();
}

void push(SDL_Event e) { PushSdlEvent(e); }

void pushKey(SDL_Keycode key, bool down, bool repeat = false, Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    push(e);
}

void pushWindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    push(e);
}

class DeviceInput : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir();
        std::string why;
        engine = StartTestEngine(dir, false, false, &why);
        if (!engine) GTEST_SKIP() << "no SDL window on this machine: " << why;
        engine->System_SetState(TIDE_FRAMEFUNC, runStep);
        steps.clear();
        step = 0;
    }
    void TearDown() override {
        if (engine) {
            engine->System_Shutdown();
            engine->Release();
            engine = nullptr;
        }
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string dir;
};

} // namespace

TEST_F(DeviceInput, KeysTextMouseAndWheelReachTheInputState) {
    steps = {
        [] {
            pushKey(SDLK_a, true);
            SDL_Event t{};
            t.type = SDL_TEXTINPUT;
            SDL_strlcpy(t.text.text, "\xC3\xA9!", sizeof(t.text.text)); // non-ASCII is dropped
            push(t);
            SDL_Event m{};
            m.type = SDL_MOUSEMOTION;
            m.motion.x = 10;
            m.motion.y = 20;
            push(m);
            SDL_Event w{};
            w.type = SDL_MOUSEWHEEL;
            w.wheel.y = -2;
            push(w);
        },
        [] {
            EXPECT_TRUE(engine->Input_KeyDown('A'));
            EXPECT_EQ(engine->Input_GetKey(), 'A');
            EXPECT_EQ(engine->Input_GetChar(), '!');
            float x = 0, y = 0;
            engine->Input_GetMousePos(&x, &y);
            EXPECT_FLOAT_EQ(x, 10);
            EXPECT_FLOAT_EQ(y, 20);
            EXPECT_EQ(engine->Input_GetMouseWheel(), -2);
            pushKey(SDLK_a, true, true); // a key repeat is no new press
            SDL_Event b{};
            b.type = SDL_MOUSEBUTTONDOWN;
            b.button.button = SDL_BUTTON_RIGHT;
            b.button.x = 30;
            b.button.y = 40;
            push(b);
            pushKey(SDLK_BACKSPACE, true);
        },
        [] {
            EXPECT_FALSE(engine->Input_KeyDown('A'));
            EXPECT_TRUE(engine->Input_GetKeyState('A'));
            EXPECT_TRUE(engine->Input_KeyDown(TIDEK_RBUTTON));
            EXPECT_EQ(engine->Input_GetChar(), 8);
            float x = 0, y = 0;
            engine->Input_GetMousePos(&x, &y);
            EXPECT_FLOAT_EQ(x, 30);
            EXPECT_FLOAT_EQ(y, 40);
            pushWindowEvent(SDL_WINDOWEVENT_LEAVE);
            pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
        },
        [] {
            EXPECT_FALSE(engine->Input_IsMouseOver());
            // Focus lost lets go of everything held.
            EXPECT_FALSE(engine->Input_GetKeyState('A'));
            EXPECT_TRUE(engine->Input_KeyUp('A'));
            EXPECT_FALSE(engine->Input_GetKeyState(TIDEK_RBUTTON));
            pushWindowEvent(SDL_WINDOWEVENT_ENTER);
            pushKey(SDLK_RETURN, true, false, KMOD_LALT);
        },
        [] {
            EXPECT_TRUE(engine->Input_IsMouseOver());
            EXPECT_FALSE(engine->Input_KeyDown(TIDEK_ENTER)) << "Alt+Enter is the window's";
        },
    };
    ASSERT_TRUE(engine->System_Start());
    EXPECT_EQ(step, steps.size());
}


// A held arrow key repeats for Input_GetKey at the rate the desktop sends
// repeats, while Input_KeyDown stays the one press.
TEST_F(DeviceInput, HeldKeysRepeatForGetKeyButNotForKeyDown) {
    auto repeatSeen = [] {
        EXPECT_FALSE(engine->Input_KeyDown(TIDEK_DOWN));
        EXPECT_TRUE(engine->Input_GetKeyState(TIDEK_DOWN));
        EXPECT_EQ(engine->Input_GetKey(), TIDEK_DOWN);
    };
    steps = {
        [] { pushKey(SDLK_DOWN, true); },
        [] {
            EXPECT_TRUE(engine->Input_KeyDown(TIDEK_DOWN));
            EXPECT_EQ(engine->Input_GetKey(), TIDEK_DOWN);
            pushKey(SDLK_DOWN, true, true);
        },
        [&] {
            repeatSeen();
            pushKey(SDLK_DOWN, true, true);
        },
        [&] { repeatSeen(); },
        [] { // no repeat came this frame
            EXPECT_EQ(engine->Input_GetKey(), 0);
            EXPECT_TRUE(engine->Input_GetKeyState(TIDEK_DOWN));
            pushKey(SDLK_DOWN, false);
        },
        [] {
            EXPECT_TRUE(engine->Input_KeyUp(TIDEK_DOWN));
            EXPECT_EQ(engine->Input_GetKey(), 0);
        },
    };
    ASSERT_TRUE(engine->System_Start());
    EXPECT_EQ(step, steps.size());
}

// A tap (both button events in one frame, as a touchpad or xdotool sends
// them) is the press in one frame and the release in the next.
TEST_F(DeviceInput, ATapIsAPressThenAReleaseInTheNextFrame) {
    steps = {
        [] {
            PushTap(12, 34);
        },
        [] {
            EXPECT_TRUE(engine->Input_KeyDown(TIDEK_LBUTTON));
            EXPECT_TRUE(engine->Input_GetKeyState(TIDEK_LBUTTON));
            EXPECT_FALSE(engine->Input_KeyUp(TIDEK_LBUTTON));
            float x = 0, y = 0;
            engine->Input_GetMousePos(&x, &y);
            EXPECT_FLOAT_EQ(x, 12);
            EXPECT_FLOAT_EQ(y, 34);
        },
        [] {
            EXPECT_FALSE(engine->Input_KeyDown(TIDEK_LBUTTON));
            EXPECT_FALSE(engine->Input_GetKeyState(TIDEK_LBUTTON));
            EXPECT_TRUE(engine->Input_KeyUp(TIDEK_LBUTTON));
        },
        [] { EXPECT_FALSE(engine->Input_KeyUp(TIDEK_LBUTTON)); },
    };
    ASSERT_TRUE(engine->System_Start());
    EXPECT_EQ(step, steps.size());
}

namespace {
int renders = 0, rendersWhenHidden = 0;
bool countRender() {
    renders++;
    return false;
}
} // namespace

// Nobody sees a hidden (or minimised) window: frames go on without drawing
// until it is shown again.
TEST_F(DeviceInput, AHiddenWindowIsNotDrawn) {
    renders = 0;
    engine->System_SetState(TIDE_RENDERFUNC, countRender);
    steps = {
        [] { SDL_HideWindow(SDL_GL_GetCurrentWindow()); },
        [] { rendersWhenHidden = renders; },
        [] {},
        [] {},
        [] {
            EXPECT_EQ(renders, rendersWhenHidden);
            SDL_ShowWindow(SDL_GL_GetCurrentWindow());
        },
        [] {},
        [] { EXPECT_GT(renders, rendersWhenHidden); },
    };
    ASSERT_TRUE(engine->System_Start());
    EXPECT_EQ(step, steps.size());
}

TEST_F(DeviceInput, ClosingTheWindowEndsTheLoop) {
    steps = {[] {
                 SDL_Event q{};
                 q.type = SDL_QUIT;
                 push(q);
             },
             [] { ADD_FAILURE() << "a frame ran after the quit event"; }};
    ASSERT_TRUE(engine->System_Start());
    EXPECT_EQ(step, 1u);
}
