// What the end of a battle tells: the stars it earned and the lines of its
// summary. A won battle earns a star for the win, one for losing no unit and
// one for taking no more turns than its level's par; the level choice shows
// the best on each difficulty.
#pragma once

#include <string>
#include <vector>

#include "battle/battle_state.h"

struct BattleStars {
    bool win = false;    // the battle was won
    bool whole = false;  // won without losing a unit
    bool inPar = false;  // won within the par turns; never on a level without a par

    int Count() const { return int(win) + int(whole) + int(inPar); }
};

// `par` is the level's par in turns, 0 when it has none.
BattleStars StarsOf(const BattleState& s, int par);

// What star i (0: win, 1: no unit lost, 2: par) is for, in a few words.
std::string StarCaption(int i, int par);

// The summary under the end banner, a line each: the difficulty, the turns
// (and par), units lost on each side, damage dealt and taken, actions taken
// back.
std::vector<std::string> SummaryLines(const BattleState& s, int par);
