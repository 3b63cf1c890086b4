#include "game/board_overlay.h"

#include "game/ai_reach.h"
#include "game/board_info.h"
#include "game/font_style.h"
#include "game/game.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "units/unit.h"

namespace boardview {

namespace {

// Unit panels in the surface strip above the board: the acting unit's on
// the left, the hovered unit's on the right.
const float kPanelY = 4, kPanelW = 400, kPanelH = 56;
const float kActingPanelX = 72, kHoverPanelX = 1024 - 72 - kPanelW;
// The turn counter, right-aligned inside the turn-order shelf, and the
// difficulty being played at the shelf's left end.
const float kTurnX = 896, kTurnY = 700, kDifficultyX = 128;

void RenderOn(tideSprite* s, const cUnit* u) {
    if (!s || !u) return;
    tcellpos c = u->CentrePoint();
    s->RenderEx(static_cast<float>(c.first), static_cast<float>(c.second), 0,
                static_cast<float>(u->GetSize()), 0);
}

void RenderPanel(const cUnit* u, float x, const char* caption) {
    if (tideSprite* bg = cGame::NeedSprite("info_panel"))
        bg->RenderStretch(x, kPanelY, x + kPanelW, kPanelY + kPanelH);
    tideFont* f = cGame::GetFont1();
    if (!f) return;
    {
        FontStyle style(f, 0.9f, u->IsPlayerControlled() ? 0xFF9FF3FF : 0xFFFFB3B8);
        f->printf(x + 14, kPanelY + 5, TEXT_LEFT, "%s", u->title);
    }
    {
        FontStyle style(f, 0.75f, 0xFFFFF3B0);
        f->printf(x + kPanelW - 14, kPanelY + 7, TEXT_RIGHT, "%s", caption);
    }
    FontStyle style(f, 0.8f, 0xFFFFFFFF);
    f->printf(x + 14, kPanelY + 30, TEXT_LEFT, "Health %i   Damage %i   Armor %i   Range %g",
              u->GetHealth(), static_cast<int>(u->damage), static_cast<int>(u->armor),
              static_cast<double>(u->GetRange()));
}

// The damage the acting unit's attack would deal, on a tag above the
// enemy's top edge: "defeats" when the hit would leave it without health.
void RenderDamagePreview(cGame& g, cUnit* target) {
    int dmg = boardinfo::AttackDamage(g.selunit, target);
    const cCell* p = target->GetParent();
    if (!p) return;
    float cx = static_cast<float>(p->GetScrX() + (target->GetSize() - 1) * 32);
    // Mostly in the cell above, over the grid line: the unit stays clear.
    float cy = static_cast<float>(p->GetScrY() - 32 - 6);
    bool kills = dmg >= target->GetHealth();
    if (tideSprite* tag = cGame::NeedSprite(kills ? "damage_tag_kill" : "damage_tag"))
        tag->Render(cx, cy);
    if (tideFont* f = cGame::GetFont1()) {
        FontStyle style(f, 0.75f, 0xFFFFFFFF);
        float top = cy - f->GetHeight() * 0.75f / 2;
        if (kills)
            f->printf(cx, top, TEXT_CENTER, "defeats");
        else
            f->printf(cx, top, TEXT_CENTER, "-%i", dmg);
    }
}

void RenderTurnBar(cGame& g, const cUnit* hover) {
    tideSprite* now = cGame::NeedSprite("bar_now");
    tideSprite* done = cGame::NeedSprite("bar_done");
    tideSprite* over = cGame::NeedSprite("bar_hover");
    const cUnit* acting = g.ActingView();
    for (std::size_t i = 0; i < g.units.size(); ++i) {
        const cUnit* u = g.units[i];
        tcellpos m = u->MarkerPoint();
        // The badge is 44 pixels wide, 28 pixels right of its marker point.
        float cx = static_cast<float>(m.first + 50), cy = static_cast<float>(m.second);
        if (u == hover && over) over->Render(cx, cy);
        if (u == acting && now) now->Render(cx, cy);
        // Units before the acting one in the order have had their step, even
        // one whose step was refused and kept its action point.
        else if (i < g.step && done) done->Render(cx + 16, cy + 16);
    }
    if (tideFont* f = cGame::GetFont1()) {
        FontStyle style(f, 0.85f, 0xFFFFF3B0);
        f->printf(kTurnX, kTurnY - 10, TEXT_RIGHT, "Turn %i", cGame::turn);
        f->printf(kDifficultyX, kTurnY - 10, TEXT_LEFT, "%s", DifficultyTitle(cGame::battle.difficulty));
    }
}

}  // namespace

bool PlayerMayAct(const cGame& g) {
    return g.selunit && g.selunit->IsPlayerControlled() && g.selunit->actionpoint > 0 &&
           !cGame::IsControlLocked();
}

std::vector<tcellpos> ThreatenedCells(cGame& g, const cUnit* hover) {
    std::vector<const cUnit*> from;
    if (g.tide->Input_GetKeyState(TIDEK_A + 'T' - 'A') || g.tide->Input_GetKeyState(TIDEK_PAD_LT)) {
        for (const cUnit* u : g.units)
            if (!u->IsPlayerControlled()) from.push_back(u);
    } else if (hover && !hover->IsPlayerControlled()) {
        from.push_back(hover);
    }
    std::vector<tcellpos> cells;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 14; ++x)
            for (const cUnit* e : from) {
                const cCell* p = e->GetParent();
                if (p && reach::StrikesAfterStep(p->GetX(), p->GetY(), e->GetSize(), e->GetRange(), x, y, 1)) {
                    cells.emplace_back(x, y);
                    break;
                }
            }
    return cells;
}

void RenderUnderUnits(cGame& g, cUnit* hover) {
    // The danger shows whoever acts, so it can be read while the creatures move.
    if (tideSprite* hatch = cGame::NeedSprite("threat_hatch"))
        for (tcellpos c : ThreatenedCells(g, hover)) {
            tcellpos p = g.cellToScreen(c.first, c.second);
            hatch->Render(static_cast<float>(p.first), static_cast<float>(p.second));
        }
    if (!PlayerMayAct(g)) return;
    if (tideSprite* tint = cGame::NeedSprite("move_tint"))
        for (const cCell* c : boardinfo::StepCells(g, g.selunit))
            tint->Render(static_cast<float>(c->GetScrX()), static_cast<float>(c->GetScrY()));
    if (tideSprite* mark = cGame::NeedSprite("range_mark"))
        for (cUnit* u : g.units)
            if (boardinfo::InReach(g, g.selunit, u)) RenderOn(mark, u);
}

void RenderOverUnits(cGame& g, cUnit* hover) {
    if (hover && PlayerMayAct(g) && boardinfo::InReach(g, g.selunit, hover))
        RenderDamagePreview(g, hover);
}

void RenderPanels(cGame& g, cUnit* hover) {
    const cUnit* acting = g.ActingView();
    if (acting) RenderPanel(acting, kActingPanelX, "acting");
    if (hover && hover != acting) RenderPanel(hover, kHoverPanelX, "");
    RenderTurnBar(g, hover);
}

tideSprite* OutOfRangeCursor() { return cGame::NeedSprite("cursor_far"); }

}  // namespace boardview
