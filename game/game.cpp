// The frame dispatch: every frame runs the current screen's update, then its
// drawing, and the menu cursor on every screen but the battle.
#include "game/game.h"

#include "gfx/sprite.h"

bool cGame::update() {
    dt = tide->Timer_GetDelta();
    tide->Input_GetMousePos(&mx, &my);
    if (UpdateHelp() || UpdateBriefing()) return doQuit;
    FocusOnOpen();
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
    // By game state, one bit each: where a picture is drawn, and where it is
    // one click away and is read ahead on a worker (the way forward only:
    // one more picture in memory on every screen costs too much). The map
    // is drawn only into the backdrop, which gives it back itself; it is
    // not read ahead on the level choice, which holds its steady layer.
    struct Use {
        tideSprite* cGame::*sprite;
        unsigned shown, soon;
    };
    const auto bit = [](int s) { return 1u << s; };
    const Use uses[] = {{&cGame::mmenubg, bit(GS_MMENU) | bit(GS_OPTIONS), 0},
                        {&cGame::chlvl, bit(GS_CHLVL), bit(GS_MMENU)},
                        {&cGame::bgd, bit(GS_GAME), 0}};
    const unsigned now = state >= 0 && state < 32 ? bit(state) : 0;
    // Every way from these screens into a battle composes its backdrop anew.
    if (now & (bit(GS_MMENU) | bit(GS_CHLVL))) backdrop.Free();
    for (const Use& u : uses) {
        tideSprite* s = this->*u.sprite;
        if (!s || (u.shown & now)) continue;
        if (u.soon & now)
            tide->Texture_Prefetch(s->GetTexture());
        else
            tide->Texture_Evict(s->GetTexture());
    }
}

void cGame::PrepareLayer() {
    if (gamestate == GS_GAME && backdrop.Fresh()) {
        layer.Prepare([this] {
            backdrop.Render();
            cCell* c = PointedCell();
            RenderBoard(c ? c->GetUnit() : nullptr);
        });
    } else if (gamestate == GS_CHLVL) {
        layer.Prepare([this] { RenderLevelChoice(); });
    } else {
        layer.Free();
    }
}

void cGame::render() {
    if (gamestate != shownstate) KeepPicturesFor(shownstate = gamestate);
    PrepareLayer();
    tide->Gfx_BeginScene(0);
    switch (gamestate) {
        case GS_MMENU: render_mmenu(); break;
        case GS_OPTIONS: render_options(); break;
        case GS_CHLVL: render_chlvl(); break;
        case GS_GAME: render_game(); break;
        default: break;
    }
    // The battle draws its own cursor; a finger needs none.
    if (gamestate != GS_GAME && cur && PointerShown()) cur->Render(mx, my);
    RenderBriefing();
    if (showhelp) RenderHelp();
    tide->Gfx_EndScene();
}
