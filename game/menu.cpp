// The main menu (logo, then the rippling picture under three buttons) and the
// level choice.
#include <cmath>

#include "game/game.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/gui.h"
#include "res/resource_manager.h"

namespace {

// Engine time during which the main menu shows the logo and ignores input.
const float kLogoSeconds = 2.0f;

// Where "Level available" is printed for each maxlvl: 37 pixels left of and
// 15 below the top-left corner of that level's button.
const tcellpos kLevelMarkers[8] = {{100, 98},  {165, 185}, {246, 251}, {368, 273},
                                   {544, 354}, {622, 464}, {687, 573}, {811, 633}};

}  // namespace

void cGame::RippleMenu(float t) {
    if (!mmdistort) return;
    // The outer ring of nodes stays at rest so the picture's edges stay flush
    // with the window; nodes on the same diagonal pair share a phase.
    for (int r = 1; r < 15; ++r) {
        for (int c = 1; c < 15; ++c) {
            float a = t * 10 + static_cast<float>((r + c) / 2);
            float dx = std::cos(a) * 0.1f * 5;
            float dy = std::sin(a) * 0.1f * 5;
            mmdistort->SetDisplacement(c, r, dx, dy, DISP_NODE);
        }
    }
}

void cGame::SwitchMusic(const char* name) {
    tide->Channel_Stop(muschan);
    music = resman->GetStream(name, 0);
    muschan = tide->Stream_Play(music, true, musicvolume);
}

void cGame::render_mmenu() {
    if (tide->Timer_GetTime() < kLogoSeconds) {
        tide->Gfx_Clear(0);
        if (tideSprite* logo = NeedSprite("orvo_logo")) logo->RenderEx(512, 384, 0, 0.5f, 0);
        return;
    }
    if (mmdistort) mmdistort->Render(0, 0);
    gui->Render();
}

void cGame::update_mmenu(float dt) {
    static float t = 0;
    if (tide->Timer_GetTime() < kLogoSeconds) return;
    if (!logoShown) {
        logoShown = true;
        if (tideSprite* logo = NeedSprite("orvo_logo")) tide->Texture_Evict(logo->GetTexture());
    }

    RippleMenu(t);
    t += dt;

    // Continue comes and goes with the saved battle, and takes the focus.
    if (continueShown != savedBattle) {
        continueShown = savedBattle;
        gui->ShowCtrl(ID_CONTINUE, savedBattle);
        gui->EnableCtrl(ID_CONTINUE, savedBattle);
        if (savedBattle)
            gui->SetFocus(ID_CONTINUE);
        else if (gui->GetFocus() == ID_CONTINUE)
            gui->SetFocus(1);  // Start: Enter must not fall on a hidden button
    }

    switch (gui->Update(dt)) {
    case ID_CONTINUE:
        if (ResumeBattle()) {
            gamestate = GS_GAME;
            SwitchMusic("game_music");
        }
        break;
    case 1:
        gamestate = GS_CHLVL;
        break;
    case 2:
        gamestate = GS_OPTIONS;
        prevgamestate = GS_MMENU;
        break;
    case 3:
        doQuit = true;
        break;
    default:
        break;
    }
}

void cGame::render_chlvl() {
    if (chlvl) chlvl->Render(512, 384);
    chlvlgui->Render();
    // A badge on every level won, at its button's lower right.
    if (tideSprite* mark = NeedSprite("lvlwon")) {
        for (int n = 1; n <= 8; ++n) {
            if (!((wonlevels >> (n - 1)) & 1u)) continue;
            const tcellpos& m = kLevelMarkers[n - 1];
            mark->Render(static_cast<float>(m.first + 37 + 34), static_cast<float>(m.second - 15 + 34));
        }
    }
    if (fnt1) {
        tcellpos at = (maxlvl >= 1 && maxlvl <= 8) ? kLevelMarkers[maxlvl - 1] : tcellpos(0, 0);
        fnt1->printf(static_cast<float>(at.first), static_cast<float>(at.second), TEXT_CENTER,
                     "Level available");
    }
}

void cGame::update_chlvl(float dt) {
    int id = chlvlgui->Update(dt);
    if (tide->Input_KeyDown(TIDEK_ESCAPE)) id = 10;  // Escape is the back button
    if (id >= 1 && id <= 8 && id <= maxlvl) {
        LoadLevel(id);
        gamestate = GS_GAME;
        SwitchMusic("game_music");
    } else if (id == 10) {
        gamestate = GS_MMENU;
        SwitchMusic("main_theme");
    }
}
