// The battle's per-frame update: removal of the dead, the end of the level,
// the player's mouse and keyboard, the AI, the projectile and the units.
#include <algorithm>
#include <cmath>

#include "game/game.h"
#include "game/interface.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

// No computer unit left is a victory, no player unit a defeat; an empty
// board is both.
void CheckLevelEnd(cGame& g) {
    bool player = false, computer = false;
    for (cUnit* u : g.units) (u->IsPlayerControlled() ? player : computer) = true;
    if (!computer) {
        if (g.maxlvl <= 7) g.maxlvl += 1;
        g.gamestate = GS_CHLVL;
    }
    if (!player) g.gamestate = GS_CHLVL;
}

void RemoveDeadUnits(cGame& g) {
    for (std::size_t i = 0; i < g.units.size(); ++i) {
        cUnit* u = g.units[i];
        if (!u->IsDead()) continue;
        u->LeaveBoard();
        // The acting unit is forgotten before it is destroyed, so that the
        // next selection does not touch it.
        if (g.selunit == u) g.selunit = nullptr;
        delete u;
        g.units.erase(g.units.begin() + static_cast<std::ptrdiff_t>(i));
        if (g.step == i) g.NextStep();
    }
}

void PlayerClick(cGame& g) {
    cUnit* su = g.selunit;
    int mx = static_cast<int>(g.mx), my = static_cast<int>(g.my);
    g.overcell = g.screenToCell(mx, my);
    g.selcell = g.GetCell(g.overcell);
    if (!g.selcell) return;
    if (cUnit* t = g.selcell->GetUnit()) {
        if (!t->IsPlayerControlled() && g.UnitDistance(su, t) <= su->GetRange())
            su->Shoot(g.selcell);
        return;
    }
    // A 2x2 unit goes to the block whose centre is nearest the pointer.
    if (su->GetSize() == 2) g.overcell = g.screenToCell(mx - 32, my - 32);
    su->Move(g.GetCell(g.overcell));
}

}  // namespace

float cGame::BattleSpeedFactor() const {
    float s = static_cast<float>(std::clamp(speed, 0, 100));
    return s <= 50 ? 0.5f * std::exp2(s / 50.0f) : std::exp2((s - 50.0f) / 25.0f);
}

void cGame::update_game(float dt) {
    RemoveDeadUnits(*this);
    // Checked every frame, not only after a death, so that a level loaded
    // without one side ends on its first frame.
    CheckLevelEnd(*this);

    NotLockableControlUpdate();
    if (!IsControlLocked()) ControlUpdate();
    if (iface) iface->update(dt);

    float bdt = dt * BattleSpeedFactor();
    if (proj) {
        proj->update(bdt);
        if (proj->IsDead()) {
            delete proj;
            proj = nullptr;
        }
    }
    for (cUnit* u : units) u->update(bdt);
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
