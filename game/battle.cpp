// The battle's per-frame update: removal of the dead, the end of the level,
// the player's mouse and keyboard, the AI, the projectile and the units.
#include <algorithm>
#include <cmath>

#include "game/game.h"
#include "game/interface.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

// The battle's end as the rules decided it: only the death of the last
// computer unit is a victory and only the death of the last player unit a
// defeat, each under its banner; a level loaded without one of the sides goes
// back at once and unlocks nothing.
void CheckLevelEnd(cGame& g) {
    if (cGame::battle.outcome != BattleOutcome::None && g.battleLive) g.ForgetBattle();
    switch (cGame::battle.outcome) {
    case BattleOutcome::Won:
        g.EndBattle(true);
        break;
    case BattleOutcome::Lost:
        g.EndBattle(false);
        break;
    case BattleOutcome::NoContest:
        g.gamestate = GS_CHLVL;
        break;
    case BattleOutcome::None:
        break;
    }
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

// The dead leave the board; the turn bar closes up over the gaps at once.
void RemoveDeadUnits(cGame& g) {
    battle::Removal r = battle::RemoveDead(cGame::battle);
    if (!r.player && !r.computer) return;
    g.SyncViews();
    if (r.actingGone) g.SelectUnit(static_cast<int>(cGame::step));
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
    RemoveDeadUnits(*this);
    // Checked every frame, not only after a death, so that a level loaded
    // without one side ends on its first frame.
    CheckLevelEnd(*this);
    if (banner != BANNER_NONE) return;
    SaveSettledBattle();

    NotLockableControlUpdate();
    UpdateUndo(dt);
    bool clicked = UpdateBattleButtons();
    if (!IsControlLocked()) {
        if (undoWanted)
            UndoNow();
        else if (!clicked)
            ControlUpdate();
    }
    if (iface) iface->update(dt);
    AdvanceBoard(*this, dt);
}

void cGame::NotLockableControlUpdate() {
    if (BackPressed() || tide->Input_KeyDown(TIDEK_PAD_START)) OpenOptions();
}

void cGame::ControlUpdate() {
    cUnit* su = selunit;
    if (su && su->actionpoint > 0 && su->IsPlayerControlled()) {
        const bool touch = tide->Input_GetDevice() == TIDE_DEVICE_TOUCH;
        if (TouchConfirms() || CursorConfirms() || (!touch && tide->Input_KeyDown(TIDEK_LBUTTON)))
            PlayerClickAt(mx, my);
        else if (tide->Input_KeyDown(TIDEK_SPACE) || tide->Input_KeyDown(TIDEK_PAD_X))
            Perform(battle::Action::StayPut());  // a boxed-in unit must always be able to pass
    }
    if (selunit && !selunit->IsPlayerControlled() && !IsControlLocked()) AIMove();
}
