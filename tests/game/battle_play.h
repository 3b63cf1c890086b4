// Playing battles in tests: a simple player that decides from the battle
// state alone, so the same battle always takes the same course.
#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>

#include "game/battle_ai.h"
#include "tests/game/battle_world.h"

// Failures show the battle as text.
inline void PrintTo(const BattleState& s, std::ostream* os) { *os << "\n" << WriteBattle(s); }

// A simple player for tests: the weakest enemy in reach, else the step that
// brings the unit nearest to any enemy, else stay.
inline battle::Action PlayerChoice(const BattleState& s) {
    battle::Action best = battle::Action::StayPut();
    const BattleUnit* me = battle::Acting(s);
    if (!me) return best;
    int weakest = INT32_MAX;
    float nearest = 1e20f;
    for (const battle::Action& a : battle::LegalActions(s)) {
        if (a.kind == battle::Action::Attack) {
            const BattleUnit* t = battle::Find(s, a.target);
            if (t->health < weakest) {
                weakest = t->health;
                best = a;
            }
        } else if (a.kind == battle::Action::Move && weakest == INT32_MAX) {
            BattleUnit moved = *me;
            moved.x = a.x;
            moved.y = a.y;
            for (const BattleUnit& e : s.units) {
                float d = e.player ? 1e20f : battle::UnitDistance(moved, e);
                if (d < nearest) {
                    nearest = d;
                    best = a;
                }
            }
        }
    }
    return best;
}

// True when the game would take the player's input now: a player unit acts,
// nothing plays out, and the dead have left the board (as they have by the
// time the game looks at input).
inline bool PlayersDecision() {
    const BattleState& s = cGame::battle;
    const BattleUnit* u = battle::Acting(s);
    bool settled = std::none_of(s.units.begin(), s.units.end(), [](const BattleUnit& b) { return b.health <= 0; });
    return u && u->player && settled && !cGame::IsControlLocked() && s.outcome == BattleOutcome::None;
}

// Runs the battle until the player may act again (or it ends).
inline void UntilPlayersDecision(BattleWorld& w) {
    const BattleState& s = cGame::battle;
    for (int i = 0; i < 4000 && s.outcome == BattleOutcome::None; ++i) {
        if (PlayersDecision()) return;
        w.Frame(0.25f);
    }
}

