// The battle screen: background, grid overlay, the steady layer composed over
// them (with the highlight of what a click would act on), units, projectile
// and cursor; and the grid itself.
#include <algorithm>
#include <cmath>
#include <vector>

#include "game/board_info.h"
#include "game/board_overlay.h"
#include "game/game.h"
#include "game/interface.h"
#include "gfx/quad_runs.h"
#include "gfx/sprite.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

const int kGridH = 768;

// Grid lines fade in from the top of the window.
DWORD GridAlpha(int y) {
    return static_cast<DWORD>(std::lround(y * 255.0 / kGridH)) << 24;
}

// One line of the grid, [x0, x1) by [y0, y1), drawn from the ramp at 1:1 so
// that every pixel samples its own row's texel exactly.
void RenderGridLine(Tide* tide, HTEXTURE ramp, int x0, int y0, int x1, int y1) {
    tideQuad q{};
    const int xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i)
        q.v[i] = tideVertex{static_cast<float>(xs[i]), static_cast<float>(ys[i]), 0.5f, 0xFFFFFFFF,
                            0.5f, static_cast<float>(ys[i]) / kGridH};
    q.tex = ramp;
    q.blend = BLEND_DEFAULT;
    tide->Gfx_RenderQuad(&q);
}

void RenderAt(tideSprite* s, tcellpos p) {
    if (s) s->Render(static_cast<float>(p.first), static_cast<float>(p.second));
}

// A doubled sprite centred on the 2x2 block whose top-left cell is centred at p.
void RenderBlock(tideSprite* s, tcellpos p) {
    if (s) s->RenderEx(static_cast<float>(p.first + 32), static_cast<float>(p.second + 32), 0, 2, 0);
}

tcellpos ParentScreen(const cUnit* u) {
    const cCell* c = u->GetParent();
    return c ? tcellpos(c->GetScrX(), c->GetScrY()) : tcellpos(0, 0);
}

}  // namespace

void cGame::ComposeBackdrop() {
    // The menus' pictures go before the battle's are made, and the steady
    // layer, drawn over the old level's backdrop, with them.
    KeepPicturesFor(GS_GAME);
    layer.Free();
    MakeGrid();
    backdrop.Invalidate();  // the level's own, even where it looks the same
    if (!backdrop.Prepare([this] {
            if (bgd) bgd->RenderStretch(0, 0, 1024, 768);
            RenderGrid();
        }))
        return;  // the layers are drawn one by one instead
    // One window-sized layer in memory at a time: the map lives on in the
    // backdrop until the next level.
    if (bgd) tide->Texture_Evict(bgd->GetTexture());
    FreeGrid();
}

// All the battle draws under the shot, the effects and the pointer. Most of
// it changes only when the battle does or the pointer enters another cell
// (or, for a block's move, another quarter of one); the units' pictures
// change a few at a time, each at its own pace.
void cGame::RenderBoard(cUnit* hover) {
    bool live = banner == BANNER_NONE;
    if (live) boardview::RenderUnderUnits(*this, hover);
    for (cUnit* u : units) u->RenderMarker();
    if (live) boardview::RenderPanels(*this, hover);
    RenderBattleButtons();
    RenderPointerHighlight();
    if (iface) iface->render();
    if (live) RenderActingRing();
    RenderUnits();
}

// What a click on the pointed cell acts on: the cell or block a move goes
// to, or the creature attacked.
void cGame::RenderPointerHighlight() {
    overcell = screenToCell(static_cast<int>(mx), static_cast<int>(my));
    cCell* c = PointedCell();
    if (!c) return;
    tcellpos p = cellToScreen(overcell.first, overcell.second);
    cUnit* over = c->GetUnit();
    if (!selunit) {
        if (over && over->GetSize() == 2)
            RenderBlock(spr, ParentScreen(over));
        else
            RenderAt(spr, p);
    } else if (over && !over->IsPlayerControlled()) {
        // The 2x glow is drawn at its own size: it already covers a block.
        if (over->GetSize() == 2)
            RenderAt(cellglow_rose_2x, over->CentrePoint());
        else
            RenderAt(cellglow_rose, p);
    } else if (selunit->GetSize() == 2) {
        // Exactly the block a click would move to, or nothing.
        if (cCell* dest = ClickMoveTarget(selunit, mx, my)) {
            overcell = tcellpos(dest->GetX(), dest->GetY());
            RenderBlock(spr, tcellpos(dest->GetScrX(), dest->GetScrY()));
        }
    } else {
        RenderAt(spr, p);
    }
}

// The pointer box and the unit information belong to the playable board
// only: not the turn-order bar, the rocks or the surface.
cCell* cGame::PointedCell() {
    tcellpos oc = screenToCell(static_cast<int>(mx), static_cast<int>(my));
    return boardinfo::OnPlayfield(oc) ? GetCell(oc) : nullptr;
}

void cGame::MakeGrid() {
    if (!gridtex) gridtex = drawgrid();
}

void cGame::FreeGrid() {
    if (gridtex) tide->Texture_Free(gridtex);
    gridtex = 0;
}

// Lines every 64 pixels: columns 0 to 960 from row 64 to 639, rows 64 to 640
// from column 64 to 959. Each pixel is drawn once, as in one picture: rows
// leave out the columns' pixels, but for row 640, below the columns' end.
void cGame::RenderGrid() {
    if (!gridtex) return;
    for (int i = 0; i <= 15; ++i) RenderGridLine(tide, gridtex, 64 * i, 64, 64 * i + 1, 640);
    for (int j = 1; j <= 9; ++j)
        for (int i = 1; i <= 14; ++i) RenderGridLine(tide, gridtex, 64 * i + 1, 64 * j, 64 * i + 64, 64 * j + 1);
    RenderGridLine(tide, gridtex, 64, 640, 960, 641);
}

void cGame::RenderBackdrop() {
    if (backdrop.Fresh()) {
        backdrop.Render();
        return;
    }
    if (bgd) bgd->RenderStretch(0, 0, 1024, 768);
    RenderGrid();
}

void cGame::render_game() {
    // The battle is over under the end-of-battle banner: nothing to act on.
    bool live = banner == BANNER_NONE;
    cCell* c = PointedCell();
    cUnit* over = c ? c->GetUnit() : nullptr;
    if (layer.Fresh()) {
        layer.Render();
    } else {
        RenderBackdrop();
        RenderBoard(over);
    }
    // The crosshair promises that a click attacks.
    show_aim = false;
    bool outOfRange = false;
    if (selunit && over && !over->IsPlayerControlled() && boardview::PlayerMayAct(*this)) {
        show_aim = boardinfo::InReach(*this, selunit, over);
        outOfRange = !show_aim;
    }

    if (proj) proj->render();
    if (live) boardview::RenderOverUnits(*this, over);
    fx.Render();

    // A crosshair goes under the health numbers, so it never hides one.
    tideSprite* far = outOfRange ? boardview::OutOfRangeCursor() : nullptr;
    // No pointer while a finger plays, and the cursor's frame instead while keys do.
    tideSprite* cross = show_aim ? aim : far;
    const bool pointer = PointerShown() && !(live && RenderBoardCursor());
    if (cross && pointer) cross->Render(mx, my);
    for (cUnit* u : units) u->RenderHealth();
    RenderNotice();
    RenderBanner();
    if (!cross && cur && pointer) cur->Render(mx, my);
}

// Units at rest share no pixel, so those of a kind can be drawn in one run
// (a draw each on a software renderer); where pictures do meet (a glide),
// they keep their order.
void cGame::RenderUnits() {
    std::vector<tideQuad> quads;
    tide->Gfx_Record(&quads);
    for (cUnit* u : units) u->render();
    tide->Gfx_Record(nullptr);
    tideGroupRuns(quads);
    for (const tideQuad& q : quads) tide->Gfx_RenderQuad(&q);
}

// Under every unit, so a neighbour never hides it; it goes with its unit
// as it glides.
void cGame::RenderActingRing() {
    const cUnit* u = ActingView();
    if (!u || !grid_sel1) return;
    float x = 0, y = 0;
    u->DrawnPoint(&x, &y);
    grid_sel1->RenderEx(x, y, 0, static_cast<float>(u->GetSize()), 0);
}

// The grid's alpha ramp, one pixel wide: its lines are drawn from it, for a
// few kilobytes where a window-sized picture of the grid took megabytes.
HTEXTURE cGame::drawgrid() {
    HTEXTURE tex = tide->Texture_Create(1, kGridH);
    if (!tex) {
        tide->System_Log("grid texture could not be created");
        return 0;
    }
    DWORD* px = tide->Texture_Lock(tex, false, 0, 0, 0, 0);
    if (!px) {
        tide->System_Log("grid texture could not be locked");
        return tex;
    }
    const int pitch = std::max(tide->Texture_GetWidth(tex, false), 1);
    for (int y = 0; y < kGridH; ++y) px[y * pitch] = GridAlpha(y);
    tide->Texture_Unlock(tex);
    return tex;
}
