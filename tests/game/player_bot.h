// The player bot that plays whole battles in the tests: a greedy player
// that acts through mouse clicks and keys only, as a person would.
#pragma once

#include "tests/game/battle_world.h"
#include "units/unit.h"

namespace bot {

inline int Sign(int v) {
    return (v > 0) - (v < 0);
}

// Attack the weakest enemy in range, else step toward the nearest one.
inline void BotDecide(BattleWorld& w, cUnit* me) {
    cGame& g = *w.game;
    cUnit* weakest = nullptr;
    cUnit* nearest = nullptr;
    float best = 1e20f;
    for (cUnit* e : g.units) {
        if (e->IsPlayerControlled()) continue;
        float d = g.UnitDistance(me, e);
        if (d <= me->GetRange() && (!weakest || e->GetHealth() < weakest->GetHealth())) weakest = e;
        if (d < best) {
            best = d;
            nearest = e;
        }
    }
    if (weakest) {
        w.ClickCell(weakest->GetParent()->GetX(), weakest->GetParent()->GetY());
    } else if (nearest) {
        const cCell* p = me->GetParent();
        int x = p->GetX() + Sign(nearest->GetParent()->GetX() - p->GetX());
        int y = p->GetY() + Sign(nearest->GetParent()->GetY() - p->GetY());
        float off = me->GetSize() == 2 ? 32 : 0;  // a block's centre under the pointer
        w.Click(static_cast<float>(x * 64 + 32) + off, static_cast<float>(y * 64 + 32) + off);
    }
    if (me == g.selunit && me->actionpoint > 0) w.Press(TIDEK_SPACE);
}

}  // namespace bot
