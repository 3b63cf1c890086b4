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
