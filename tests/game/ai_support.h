// Battles for the AI's tests and benchmark: a level loaded by the game, as a
// battle state ready to be played out without drawing.
#pragma once

#include "game/ai_bots.h"
#include "game/ai_choose.h"
#include "tests/game/battle_world.h"

// Level n of the world's campaign as the game loads it, at Normal's numbers.
// Loaded by its file, so that it is not kept for Continue: nothing is written
// into the (shipped) data folder.
inline BattleState LevelState(BattleWorld& w, int n) {
    Difficulty setting = w.game->difficulty;
    w.game->difficulty = Difficulty::Normal;
    const cLevelInfo* level = w.game->campaign.Level(n);
    w.game->LoadLevelFile(level ? level->file : "");
    w.game->difficulty = setting;
    return cGame::battle;
}

// A loaded level ready to play at difficulty `d`, its first turn's order
// drawn from `seed`.
inline BattleState SeededState(BattleState s, Difficulty d, uint32_t seed) {
    battle::ApplyDifficulty(s, d);
    s.turn = 0;
    SeedBattle(s, seed);
    battle::NextTurn(s);
    return s;
}
