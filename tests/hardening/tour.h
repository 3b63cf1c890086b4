// A tour of every screen of the game, by mouse and keyboard as a player
// would go: used on data folders with files missing or broken.
#pragma once

#include <string>

#include "tests/game/battle_world.h"

// The first shipped level with every unit kind (and so every unit picture,
// animation and sound) on the board.
const int kEveryKindLevel = 5;

// The logo, the main menu, options and back, the level choice and back, the
// battle of `level` played by the bot for a few turns, options from the
// battle with Escape, and back into it. A level without units ends at once
// and the tour stops there. Returns what went wrong, or an empty string.
std::string Tour(BattleWorld& w, int level);

// True when some log line holds `name`, in any case.
bool LogNames(const tideHeadless* hl, const std::string& name);
