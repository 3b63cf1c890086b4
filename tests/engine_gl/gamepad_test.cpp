// A gamepad on the real backend: SDL's virtual joystick, plugged in while the
// game runs, drives the real game by its buttons alone.
#include <SDL.h>
#include <gtest/gtest.h>

#include "game/game.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "tests/engine_gl/real_game.h"

namespace {

class Gamepad : public RealGameTest {
protected:
    void SetUp() override {
        RealGameTest::SetUp();
        if (IsSkipped()) return;
        // SDL drops pad events for a window without the keyboard focus, which
        // the offscreen window never has.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0) GTEST_SKIP() << "no virtual joystick: " << SDL_GetError();
        pad = SDL_JoystickOpen(index);
        ASSERT_NE(pad, nullptr) << SDL_GetError();
        instance = SDL_JoystickInstanceID(pad);
    }
    void TearDown() override {
        if (pad) {
            SDL_JoystickClose(pad);
            SDL_JoystickDetachVirtual(instance);
        }
        pad = nullptr;
        RealGameTest::TearDown();
    }

    static void Set(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(pad, b, down ? 1 : 0);
        SDL_JoystickUpdate();
    }
    static void Stick(SDL_GameControllerAxis axis, Sint16 v) {
        SDL_JoystickSetVirtualAxis(pad, axis, v);
        SDL_JoystickUpdate();
    }
    // A button pressed now and let go a few frames later.
    static std::vector<Step> Press(const char* what, SDL_GameControllerButton b,
                                   std::function<bool()> ready) {
        return {{what, std::move(ready), [b] { Set(b, true); }},
                {"let go", After(3), [b] { Set(b, false); }}};
    }

    static inline SDL_Joystick* pad = nullptr;
    SDL_JoystickID instance = -1;
};

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Gamepad, ButtonsAloneLeadThroughTheMenusIntoABattle) {
    game = new cGame;
    std::vector<Step> steps =
        // Down on the stick, back as soon as the focus is on Options (held
        // longer, under load, it would repeat); A presses it.
        std::vector<Step>{{"the main menu", [] { return engine->Timer_GetTime() > 2.5f; },
                           [] { Stick(SDL_CONTROLLER_AXIS_LEFTY, 32000); }},
                          {"on Options", [] { return game->gui->GetFocus() == ID_MENU_OPTIONS; },
                           [] { Stick(SDL_CONTROLLER_AXIS_LEFTY, 0); }}} +
        Press("Options pressed", SDL_CONTROLLER_BUTTON_A, [] { return true; }) +
        Press("D-pad right on the first slider", SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
              [] {
                  return game->gamestate == GS_OPTIONS &&
                         game->guioptions->GetFocus() == ID_SOUND_SLIDER;
              }) +
        Press("B goes back", SDL_CONTROLLER_BUTTON_B,
              [] { return game->sound_sld->GetValue() == 55; }) +
        Press("A on Start", SDL_CONTROLLER_BUTTON_A, [] {
            return game->gamestate == GS_MMENU && game->gui->GetFocus() == ID_MENU_START;
        }) +
        Press("A on level 1", SDL_CONTROLLER_BUTTON_A, [] {
            return game->gamestate == GS_CHLVL && game->chlvlgui->GetFocus() == ID_LEVEL_FIRST;
        }) +
        std::vector<Step>{{"in the battle", [] { return game->gamestate == GS_GAME; }, [] {}}};
    game->sound_sld->SetValue(50);
    Run(steps);
    EXPECT_EQ(engine->Input_GetDevice(), TIDE_DEVICE_GAMEPAD);
}

}  // namespace
