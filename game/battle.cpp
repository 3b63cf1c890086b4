// The battle's per-frame update: removal of the dead, the end of the level,
// the player's mouse and keyboard, the AI, the projectile and the units.
#include <algorithm>
#include <cmath>

#include "game/board_info.h"
#include "game/game.h"
#include "game/interface.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

// Which sides lost units in this frame's removal.
struct Deaths {
    bool player = false, computer = false;
};

// No computer unit left ends the level, as does no player unit; an empty
// board is both. Only the death of the last computer unit is a victory and
// only the death of the last player unit a defeat, each under its banner; a
// level loaded without one of the sides goes back at once and unlocks nothing.
void CheckLevelEnd(cGame& g, Deaths died) {
    bool player = false, computer = false;
    for (cUnit* u : g.units) (u->IsPlayerControlled() ? player : computer) = true;
    if (!computer && died.computer)
        g.EndBattle(true);
    else if (!player && died.player)
        g.EndBattle(false);
    else if (!computer || !player)
        g.gamestate = GS_CHLVL;
}

// The projectile and the units play on at the battle's pace, also under the
// end-of-battle banner.
void AdvanceBoard(cGame& g, float dt) {
    float bdt = dt * g.BattleSpeedFactor();
    if (cGame::proj) {
        cGame::proj->update(bdt);
        if (cGame::proj->IsDead()) {
            delete cGame::proj;
            cGame::proj = nullptr;
        }
    }
    for (cUnit* u : g.units) u->update(bdt);
}

// Every living unit keeps its one step per turn: a removal before the acting
// unit moves `step` back with the list, and when the acting unit itself goes,
// the unit that slides into its place acts next.
Deaths RemoveDeadUnits(cGame& g) {
    bool actingGone = false;
    Deaths died;
    for (std::size_t i = 0; i < g.units.size();) {
        cUnit* u = g.units[i];
        if (!u->IsDead()) {
            ++i;
            continue;
        }
        (u->IsPlayerControlled() ? died.player : died.computer) = true;
        u->LeaveBoard();
        // The acting unit is forgotten before it is destroyed, so that the
        // next selection does not touch it.
        if (g.selunit == u) g.selunit = nullptr;
        delete u;
        g.units.erase(g.units.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < g.step)
            --g.step;
        else if (i == g.step)
            actingGone = true;
    }
    // The turn bar closes up over the gaps at once.
    if (died.player || died.computer) g.PlaceTurnMarkers();
    if (actingGone) {
        if (g.step < g.units.size())
            g.SelectUnit(static_cast<int>(g.step));
        else
            g.NextTurn();
    }
    return died;
}

void PlayerClick(cGame& g) {
    cUnit* su = g.selunit;
    g.overcell = g.screenToCell(static_cast<int>(g.mx), static_cast<int>(g.my));
    g.selcell = g.GetCell(g.overcell);
    if (!g.selcell) return;
    if (cUnit* t = g.selcell->GetUnit()) {
        if (boardinfo::InReach(g, su, t)) su->Shoot(g.selcell);
        return;
    }
    if (cCell* dest = g.ClickMoveTarget(su, g.mx, g.my)) {
        g.overcell = tcellpos(dest->GetX(), dest->GetY());
        su->Move(dest);
    }
}

}  // namespace

cCell* cGame::ClickMoveTarget(const cUnit* u, float sx, float sy) {
    tcellpos at = screenToCell(static_cast<int>(sx), static_cast<int>(sy));
    cCell* clicked = GetCell(at);
    if (!u || !clicked || !clicked->NoUnit()) return nullptr;
    if (u->GetSize() == 1) return u->CanMove(clicked) ? clicked : nullptr;

    // A 2x2 unit: the four blocks that hold the clicked cell.
    const cCell* from = u->GetParent();
    cCell* best = nullptr;
    float bestDist = 0;
    bool bestStraight = false;
    for (int dy = -1; dy <= 0; ++dy) {
        for (int dx = -1; dx <= 0; ++dx) {
            cCell* anchor = GetCell(tcellpos(at.first + dx, at.second + dy));
            if (!u->CanMove(anchor)) continue;
            float cx = static_cast<float>(anchor->GetScrX() + 32) - sx;
            float cy = static_cast<float>(anchor->GetScrY() + 32) - sy;
            float dist = cx * cx + cy * cy;
            bool straight = anchor->GetX() == from->GetX() || anchor->GetY() == from->GetY();
            if (!best || dist < bestDist || (dist == bestDist && straight && !bestStraight)) {
                best = anchor;
                bestDist = dist;
                bestStraight = straight;
            }
        }
    }
    return best;
}

float cGame::BattleSpeedFactor() const {
    float s = static_cast<float>(std::clamp(speed, 0, 100));
    return s <= 50 ? 0.5f * std::exp2(s / 50.0f) : std::exp2((s - 50.0f) / 25.0f);
}

void cGame::update_game(float dt) {
    fx.Update(dt);
    if (UpdateBanner(dt)) {
        AdvanceBoard(*this, dt);
        return;
    }
    Deaths died = RemoveDeadUnits(*this);
    // Checked every frame, not only after a death, so that a level loaded
    // without one side ends on its first frame.
    CheckLevelEnd(*this, died);
    if (banner != BANNER_NONE) return;

    NotLockableControlUpdate();
    if (!IsControlLocked()) ControlUpdate();
    if (iface) iface->update(dt);
    AdvanceBoard(*this, dt);
}

void cGame::NotLockableControlUpdate() {
    if (tide->Input_KeyDown(TIDEK_ESCAPE)) {
        prevgamestate = gamestate;
        gamestate = GS_OPTIONS;
    }
}

void cGame::ControlUpdate() {
    cUnit* su = selunit;
    if (su && su->actionpoint > 0 && su->IsPlayerControlled()) {
        bool acted = false;
        if (tide->Input_KeyDown(TIDEK_LBUTTON)) {
            PlayerClick(*this);
            acted = true;
        } else if (tide->Input_KeyDown(TIDEK_SPACE)) {
            // A boxed-in unit must always be able to pass.
            su->Stay();
            acted = true;
        }
        if (acted && su->actionpoint == 0) NextStep();
    }
    if (selunit && !selunit->IsPlayerControlled() && !IsControlLocked()) AIMove();
}
