#include "game/battle_ai.h"

#include <cstdint>

namespace battle {

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

const BattleUnit* PriorityTarget(const BattleState& s, const BattleUnit& u) {
    int best = INT32_MAX;
    const BattleUnit* target = nullptr;
    for (const BattleUnit& p : s.units) {
        if (!p.player || !(UnitDistance(u, p) <= u.range)) continue;
        // Strictly weaker: among equals the earliest in the order stays.
        if (p.health < best) {
            best = p.health;
            target = &p;
        }
    }
    return target;
}

const BattleUnit* NearestEnemy(const BattleState& s, const BattleUnit& u) {
    const BattleUnit* nearest = nullptr;
    float min = 1e20f;
    for (const BattleUnit& p : s.units) {
        if (!p.player) continue;
        float d = UnitDistance(p, u);
        if (d < min) {
            nearest = &p;
            min = d;
        }
    }
    return nearest;
}

bool CellToMove(const BattleState& s, const BattleUnit& u, tcellpos& out) {
    const BattleUnit* nearest = NearestEnemy(s, u);
    if (!nearest) return false;
    int dx = Sign(nearest->x - u.x);
    int dy = Sign(nearest->y - u.y);
    if (dx == 0 && dy == 0) return false;
    out = tcellpos(u.x + dx, u.y + dy);
    return true;
}

Action EasyAction(const BattleState& s) {
    const BattleUnit* u = Acting(s);
    if (!u) return Action::StayPut();
    if (const BattleUnit* t = PriorityTarget(s, *u)) return Action::AttackUnit(t->id);
    // Units that wait hold back during the first turns of a battle.
    if (s.turn <= u->waits) return Action::StayPut();
    tcellpos c;
    // A step that may not be taken spends the action all the same.
    if (CellToMove(s, *u, c) && CanMove(s, *u, c.first, c.second)) return Action::MoveTo(c.first, c.second);
    return Action::StayPut();
}

}  // namespace battle
