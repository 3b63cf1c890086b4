// What a simple greedy player aims at: the weakest enemy in the acting unit's
// range, else the nearest enemy to step toward. Shared by the tests' player
// bot and thalomir-longplay.
#pragma once

#include "game/game.h"
#include "units/unit.h"

struct BotTargets {
    cUnit* weakest = nullptr; // in range, lowest health
    cUnit* nearest = nullptr;
};

inline BotTargets FindBotTargets(cGame& g, cUnit* me) {
    BotTargets t;
    float best = 1e20f;
    for (cUnit* e : g.units) {
        if (e->IsPlayerControlled()) continue;
        float d = g.UnitDistance(me, e);
        if (d <= me->GetRange() && (!t.weakest || e->GetHealth() < t.weakest->GetHealth()))
            t.weakest = e;
        if (d < best) {
            best = d;
            t.nearest = e;
        }
    }
    return t;
}

// The cell to click to step `me` one cell toward `target`: the middle of the
// neighbouring cell that way. Beside a 2x2 unit's block, that steps it
// straight or diagonally as the cell lies.
inline tcellpos BotStepCell(cUnit* me, cUnit* target) {
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    const cCell* p = me->GetParent();
    int dx = sign(target->GetParent()->GetX() - p->GetX());
    int dy = sign(target->GetParent()->GetY() - p->GetY());
    return tcellpos(p->GetX() + (dx > 0 ? me->GetSize() : dx), p->GetY() + (dy > 0 ? me->GetSize() : dy));
}
