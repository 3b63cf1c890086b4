// Taps: a press and a release of the left button within one frame, as a
// touchpad or xdotool sends them, act as clicks on every control: the main
// menu's buttons, the options sliders and the board of the real game, and a
// list box. The real backend runs in real time; SDL events are pushed into
// its queue as the window system would deliver them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

#include "battle/cell.h"
#include "game/game.h"
#include "gfx/font.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "tests/engine_gl/real_game.h"
#include "tests/engine_gl/sdl_events.h"
#include "tests/support/test_support.h"
#include "units/unit.h"

namespace {

using Taps = RealGameTest;

TEST_F(Taps, MenuButtonsSlidersAndTheBoardTakeTaps) {
    game = new cGame;
    int acting = 0; // actions the acting unit had before the board tap
    cUnit* mover = nullptr;
    tcellpos from;
    Run({
        {"the main menu", [] { return engine->Timer_GetTime() > 2.5f; },
         [] { PushMouseMove(512, 571); }},
        {"options tapped", After(2), [] { PushTap(512, 571); }},
        {"on the options screen", [] { return game->gamestate == GS_OPTIONS; },
         [] { PushMouseMove(468, 519); }},
        // A quarter of the way along the music slider's 160-pixel track.
        {"music slider tapped", After(2), [] { PushTap(468, 519); }},
        {"music at a quarter", After(3),
         [] {
             EXPECT_NEAR(game->music_sld->GetValue(), 25, 1.5) << "a tap on the track moved nothing";
             // Pointer and tap in one frame, as xdotool's "mousemove click" sends them.
             PushMouseMove(298, 519);
             PushTap(298, 519);
         }},
        {"sound slider tapped", After(3),
         [] {
             EXPECT_NEAR(game->sound_sld->GetValue(), 75, 1.5);
             PushMouseMove(512, 618);
             PushTap(512, 618);
         }},
        {"back on the main menu", [] { return game->gamestate == GS_MMENU; },
         [] {
             PushMouseMove(512, 521);
             PushTap(512, 521);
         }},
        {"on the level choice", [] { return game->gamestate == GS_CHLVL; },
         [] {
             PushMouseMove(155, 101);
             PushTap(155, 101);
         }},
        {"the level's briefing", [] { return game->gamestate == GS_GAME && game->briefing; },
         [] { PushTap(155, 101); }},
        {"a player's unit to act",
         [] {
             return game->gamestate == GS_GAME && !game->briefing && game->selunit &&
                    game->selunit->IsPlayerControlled() && !cGame::IsControlLocked() &&
                    game->selunit->actionpoint > 0;
         },
         [&] {
             mover = game->selunit;
             acting = mover->actionpoint;
             const cCell* p = mover->GetParent();
             from = tcellpos(p->GetX(), p->GetY());
             // The first free neighbouring cell (a 1x1 unit: level 1 has no 2x2 player).
             for (int d = 0; d < 8; d++) {
                 static const int dx[] = {1, -1, 0, 0, 1, 1, -1, -1}, dy[] = {0, 0, 1, -1, 1, -1, 1, -1};
                 cCell* c = game->GetCell(tcellpos(from.first + dx[d], from.second + dy[d]));
                 if (c && c->NoUnit()) {
                     int x = c->GetX() * 64 + 32, y = c->GetY() * 64 + 32;
                     PushMouseMove(x, y);
                     PushTap(x, y);
                     return;
                 }
             }
             ADD_FAILURE() << "no free cell beside the acting unit";
         }},
        {"the unit moved", After(3),
         [&] {
             const cCell* p = mover->GetParent();
             EXPECT_NE(tcellpos(p->GetX(), p->GetY()), from) << "the tap on the board did nothing";
             EXPECT_LT(mover->actionpoint, acting);
         }},
    });
}

// A list box selects the row tapped, the pointer resting there as a
// touchpad's pointer does before its tap.
TEST_F(Taps, AListBoxTakesTaps) {
    tideFont* font = new tideFont("Res\\font2.fnt");
    gui = new tideGUI();
    auto* lb = new tideGUIListbox(1, 100, 100, 300, 200, font, 0xFFFFFFFF, 0xFFFFFF00, 0x800000FF);
    for (const char* item : {"one", "two", "three", "four"}) lb->AddItem(item);
    gui->AddCtrl(lb);
    const int row = int(font->GetHeight());
    ASSERT_GT(row, 0);
    Run({
        {"start", After(1), [&] { PushMouseMove(150, 100 + row * 2 + row / 2); }},
        {"row 3 tapped", After(2), [&] { PushTap(150, 100 + row * 2 + row / 2); }},
        {"row 3 selected", After(3),
         [&] {
             EXPECT_EQ(lb->GetSelectedItem(), 2);
             PushMouseMove(150, 100 + row / 2);
         }},
        {"row 1 tapped", After(2), [&] { PushTap(150, 100 + row / 2); }},
        {"row 1 selected", After(3), [&] { EXPECT_EQ(lb->GetSelectedItem(), 0); }},
    });
    delete gui;
    gui = nullptr;
    delete font;
}

}  // namespace
