// The player bot that plays whole battles in the tests: a greedy player
// that acts through mouse clicks and keys only, as a person would.
#pragma once

#include <algorithm>
#include <functional>

#include "tests/game/battle_world.h"
#include "tools/bot_targets.h"
#include "units/unit.h"

namespace bot {

// Attack the weakest enemy in range, else step toward the nearest one.
inline void BotDecide(BattleWorld& w, cUnit* me) {
    cGame& g = *w.game;
    auto [weakest, nearest] = FindBotTargets(g, me);
    if (weakest) {
        w.ClickCell(weakest->GetParent()->GetX(), weakest->GetParent()->GetY());
    } else if (nearest) {
        tcellpos c = BotStepCell(me, nearest);
        w.ClickCell(c.first, c.second);
    }
    if (me == g.selunit && me->actionpoint > 0) w.Press(TIDEK_SPACE);
}

// Once a battle has ended under its banner, a key goes on to the level
// choice, as a player who has read it would.
inline void LeaveBanner(BattleWorld& w) {
    if (w.game->banner == BANNER_NONE) return;
    w.Frame(0.5f);
    w.Press(TIDEK_SPACE);
}

// Plays the loaded battle until it ends or `turnLimit` turns have passed:
// the bot for the player, the game's AI for the computer, and leaves the
// end banner. `check` runs before every step. True when the player's side is
// left standing.
inline bool PlayBattle(BattleWorld& w, int turnLimit, const std::function<void()>& check = {}) {
    cGame& g = *w.game;
    for (int frames = 0; g.gamestate == GS_GAME && g.banner == BANNER_NONE && cGame::turn <= turnLimit &&
                         frames < 200000;) {
        if (check) check();
        cUnit* su = g.selunit;
        if (su && su->IsPlayerControlled() && !cGame::IsControlLocked()) {
            BotDecide(w, su);
            frames += 4;
        } else {
            w.Frame(0.25f);
            ++frames;
        }
    }
    LeaveBanner(w);
    return std::any_of(g.units.begin(), g.units.end(),
                       [](cUnit* u) { return u->IsPlayerControlled(); });
}

}  // namespace bot
