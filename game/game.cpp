// The frame dispatch: every frame runs the current screen's update, then its
// drawing, and the menu cursor on every screen but the battle.
#include "game/game.h"

#include "gfx/sprite.h"

bool cGame::update() {
    dt = tide->Timer_GetDelta();
    tide->Input_GetMousePos(&mx, &my);
    if (UpdateHelp()) return doQuit;
    switch (gamestate) {
        case GS_MMENU: update_mmenu(dt); break;
        case GS_OPTIONS: update_options(dt); break;
        case GS_CHLVL: update_chlvl(dt); break;
        case GS_GAME: update_game(dt); break;
        default: break;
    }
    return doQuit;
}

void cGame::KeepPicturesFor(int state) {
    struct Use {
        tideSprite* cGame::*sprite;
        unsigned screens;  // bit per game state that draws it
    };
    const Use uses[] = {{&cGame::mmenubg, 1u << GS_MMENU | 1u << GS_OPTIONS},
                        {&cGame::chlvl, 1u << GS_CHLVL}};
    for (const Use& u : uses) {
        tideSprite* s = this->*u.sprite;
        bool shown = state >= 0 && state < 32 && (u.screens >> state & 1u);
        if (s && !shown) tide->Texture_Evict(s->GetTexture());
    }
}

void cGame::render() {
    if (gamestate != shownstate) KeepPicturesFor(shownstate = gamestate);
    tide->Gfx_BeginScene(0);
    switch (gamestate) {
        case GS_MMENU: render_mmenu(); break;
        case GS_OPTIONS: render_options(); break;
        case GS_CHLVL: render_chlvl(); break;
        case GS_GAME: render_game(); break;
        default: break;
    }
    // The battle draws its own cursor.
    if (gamestate != GS_GAME && cur) cur->Render(mx, my);
    if (showhelp) RenderHelp();
    tide->Gfx_EndScene();
}
