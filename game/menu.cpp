// The main menu (logo, then the rippling picture under three buttons) and the
// level choice.
#include <cmath>

#include "game/game.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/gui.h"
#include "gui/guiButton.h"
#include "res/resource_manager.h"
#include "units/unit.h"

namespace {

// Engine time during which the main menu shows the logo and ignores input.
const float kLogoSeconds = 2.0f;

// "Level available" is printed this far left of and below the top-left
// corner of the last open level's button; the won badge sits on its lower
// right corner.
const float kMarkerDx = -37, kMarkerDy = 15;
const float kWonDx = 34, kWonDy = 34;
// The hovered level's name, under the map's heading.
const float kTitleX = 750, kTitleY = 128;

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
            gui->SetFocus(ID_MENU_START);  // Enter must not fall on a hidden button
    }

    switch (gui->Update(dt)) {
    case ID_CONTINUE:
        if (ResumeBattle()) {
            gamestate = GS_GAME;
            SwitchMusic("game_music");
        }
        break;
    case ID_MENU_START:
        gamestate = GS_CHLVL;
        FindUserLevels();  // a level maker's new file shows without a restart
        break;
    case ID_MENU_OPTIONS:
        gamestate = GS_OPTIONS;
        prevgamestate = GS_MMENU;
        break;
    case ID_MENU_EXIT:
        doQuit = true;
        break;
    default:
        break;
    }
}

void cGame::render_chlvl() {
    if (chlvl) chlvl->Render(512, 384);
    levelmap.Render(maplook);
    chlvlgui->Render();
    RenderUserLevels();
    // A badge on every level won, at its button's lower right.
    if (tideSprite* mark = NeedSprite("lvlwon")) {
        for (int n = 1; n <= campaign.Count(); ++n) {
            if (!progress.Won(campaign.Level(n)->key)) continue;
            tideRect b = levelmap.Button(n);
            mark->Render(b.x1 + kWonDx, b.y1 + kWonDy);
        }
    }
    if (!fnt1) return;
    if (int open = MaxOpenLevel()) {
        tideRect b = levelmap.Button(open);
        fnt1->printf(b.x1 + kMarkerDx, b.y1 + kMarkerDy, TEXT_CENTER, "Level available");
    }
    // The name of the level under the pointer, or focused from the keyboard.
    const tideGUIObject* shown = chlvlgui->ctrlOver;
    if (auto* b = dynamic_cast<const guiButton*>(chlvlgui->GetCtrl(chlvlgui->GetFocus()));
        b && b->keyfocus && b->ShowsKeyFocus())
        shown = b;
    int n = shown ? shown->id - ID_LEVEL_FIRST + 1 : 0;
    if (const cLevelInfo* l = campaign.Level(n))
        fnt1->printf(kTitleX, kTitleY, TEXT_CENTER, "%d. %s", n, l->title.c_str());
    RenderLevelStars(n, kTitleX, kTitleY + fnt1->GetHeight() + 6);
}

void cGame::update_chlvl(float dt) {
    int id = chlvlgui->Update(dt);
    if (BackPressed()) id = ID_LEVELS_BACK;
    int n = id - ID_LEVEL_FIRST + 1;
    if (campaign.Level(n) && LevelOpen(n)) {
        StartLevel(n);
    } else if (id == ID_USER_LEVELS) {
        PlayUserLevel();
    } else if (id == ID_LEVELS_BACK) {
        gamestate = GS_MMENU;
        SwitchMusic("main_theme");
    }
}

void cGame::PlayLevelFile(const std::string& path) {
    LoadLevelFile(path);
    briefing = false;
    gamestate = GS_GAME;
    SwitchMusic("game_music");
}

void cGame::StartLevel(int n) {
    LoadLevel(n);
    gamestate = GS_GAME;
    SwitchMusic("game_music");
    // A level that cannot be fought ends at once, without a story first.
    bool player = false, computer = false;
    for (const cUnit* u : units) (u->IsPlayerControlled() ? player : computer) = true;
    const cLevelInfo* l = campaign.Level(n);
    briefing = l && !l->briefing.empty() && player && computer;
}
