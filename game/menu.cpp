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

// The won badge sits on a level button's lower right corner.
const float kWonDx = 34, kWonDy = 34;
// The hovered level's name, under the map's heading; why a locked level
// cannot be played shows there for a moment after a click on it.
const float kTitleX = 750, kTitleY = 128;
const float kLockedSeconds = 2.5f;
// Room kept between the newest level's label and the pictures around it.
const float kLabelGap = 6;
// Beyond its button a level's picture takes its number disc (up and right),
// its won badge (right) and its row of stars (down).
const float kAreaSide = 12, kAreaBelow = 22;

void FillRect(Tide* tide, float x1, float y1, float x2, float y2, DWORD col) {
    tideQuad q{};
    const float xs[4] = {x1, x2, x2, x1}, ys[4] = {y1, y1, y2, y2};
    for (int i = 0; i < 4; ++i) q.v[i] = tideVertex{xs[i], ys[i], 0.5f, col, 0, 0};
    q.blend = BLEND_DEFAULT;
    tide->Gfx_RenderQuad(&q);
}

// A padlock of plain quads, centred on (cx, cy).
void RenderPadlock(Tide* tide, float cx, float cy) {
    const DWORD col = 0xFFD0D4DC;
    FillRect(tide, cx - 8, cy - 2, cx + 8, cy + 10, col);      // body
    FillRect(tide, cx - 6, cy - 10, cx - 3, cy - 2, col);      // shackle
    FillRect(tide, cx + 3, cy - 10, cx + 6, cy - 2, col);
    FillRect(tide, cx - 6, cy - 12, cx + 6, cy - 9, col);
    FillRect(tide, cx - 1, cy + 2, cx + 1, cy + 6, 0xFF303840);  // keyhole
}

}  // namespace

tideRect cGame::LevelArea(int n) const {
    tideRect b = levelmap.Button(n);
    return tideRect(b.x1 - kAreaSide, b.y1 - kAreaSide, b.x2 + kAreaSide, b.y2 + kAreaBelow);
}

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

void cGame::OpenOptions() {
    prevgamestate = gamestate;
    gamestate = GS_OPTIONS;
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
        OpenOptions();
        break;
    case ID_MENU_EXIT:
        doQuit = true;
        break;
    default:
        break;
    }
}

// Nothing on the level choice moves but the pointer: the steady layer holds
// the rest, redrawn when the progress, the pointed or focused level or the
// player's own levels change.
void cGame::render_chlvl() {
    if (layer.Fresh())
        layer.Render();
    else
        RenderLevelChoice();
}

void cGame::RenderLevelChoice() {
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
    // Locked levels: dimmed under a padlock; their buttons take no pointer.
    for (int n = 1; n <= campaign.Count(); ++n) {
        if (LevelOpen(n)) continue;
        if (maplook.spot) {
            maplook.spot->SetColor(0xB0000000);
            maplook.spot->Render(levelmap.SpotX(n), levelmap.SpotY(n));
            maplook.spot->SetColor(0xFFFFFFFF);
        }
        RenderPadlock(tide, levelmap.SpotX(n), levelmap.SpotY(n));
    }
    if (!fnt1) return;
    RenderNewestLabel();
    if (lockedLevel && lockedTime < kLockedSeconds) {
        RenderLockedNotice();
        return;
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

// "Level available" beside the newest open level, on the first side where it
// covers no control and no level's picture; "Every level won" once the last
// one is.
void cGame::RenderNewestLabel() {
    const int open = MaxOpenLevel();
    if (!open) return;
    const bool all = open == campaign.Count() && progress.Won(campaign.Level(open)->key);
    const char* text = all ? "Every level won" : "Level available";
    const float w = fnt1->GetStringWidth(text, false), h = fnt1->GetHeight();
    const tideRect a = LevelArea(open);
    const float cx = (a.x1 + a.x2) / 2, cy = (a.y1 + a.y2) / 2;
    // Text centres, each with the top of its line: below, above, left, right.
    const float at[4][2] = {{cx, a.y2 + kLabelGap},
                            {cx, a.y1 - kLabelGap - h},
                            {a.x1 - kLabelGap - w / 2, cy - h / 2},
                            {a.x2 + kLabelGap + w / 2, cy - h / 2}};
    auto clear = [&](const float* p) {
        tideRect r(p[0] - w / 2, p[1], p[0] + w / 2, p[1] + h);
        if (r.x1 < 0 || r.y1 < 0 || r.x2 > 1024 || r.y2 > 768) return false;
        for (tideGUIObject* c = chlvlgui->ctrls; c; c = c->next)
            if (c->bVisible && r.Intersect(&c->rect)) return false;
        for (int n = 1; n <= campaign.Count(); ++n) {
            tideRect area = LevelArea(n);
            if (r.Intersect(&area)) return false;
        }
        return true;
    };
    int side = 0;
    while (side < 3 && !clear(at[side])) ++side;
    if (!clear(at[side])) side = 0;
    fnt1->Render(at[side][0], at[side][1], TEXT_CENTER, text);
}

// Why the locked level last clicked cannot be played yet.
void cGame::RenderLockedNotice() {
    const int before = lockedLevel - 1;
    if (LevelOpen(before)) {
        fnt1->printf(kTitleX, kTitleY, TEXT_CENTER, "Win level %d to open this one", before);
        return;
    }
    int reached = before;
    while (reached > 1 && !LevelOpen(reached)) --reached;
    fnt1->printf(kTitleX, kTitleY, TEXT_CENTER, "Locked: win level %d and the ones after it first", reached);
}

void cGame::update_chlvl(float dt) {
    lockedTime += dt;
    // Locked levels take neither the pointer nor the focus; a click on one
    // says what opens it.
    for (int n = 1; n <= campaign.Count(); ++n) {
        const bool open = LevelOpen(n);
        chlvlgui->EnableCtrl(ID_LEVEL_FIRST + n - 1, open);
        if (!open && tide->Input_KeyDown(TIDEK_LBUTTON) && levelmap.Button(n).TestPoint(mx, my)) {
            lockedLevel = n;
            lockedTime = 0;
        }
    }
    // On the player's own levels Up and Down choose a level, so only Left,
    // Right and Tab move the focus off the list.
    const bool onList = chlvlgui->GetFocus() == ID_USER_LEVELS;
    chlvlgui->SetNavMode((onList ? 0 : GUINAV_UPDOWN) | GUINAV_LEFTRIGHT | GUINAV_CYCLED);
    const int key = tideNavKey(tide->Input_GetKey());
    const bool confirm = (key == TIDEK_ENTER || key == TIDEK_SPACE) && tide->Input_KeyDown(tide->Input_GetKey());
    int id = chlvlgui->Update(dt);
    if (BackPressed()) id = ID_LEVELS_BACK;
    int n = id - ID_LEVEL_FIRST + 1;
    if (campaign.Level(n) && LevelOpen(n)) {
        StartLevel(n);
    } else if (id == ID_USER_LEVELS || (onList && confirm)) {
        // A click on a row or Enter plays it; the arrows and the wheel only
        // choose and scroll.
        if (confirm || tide->Input_KeyDown(TIDEK_LBUTTON)) PlayUserLevel();
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
