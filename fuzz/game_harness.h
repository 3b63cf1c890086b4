// The real game on the fuzz engine, for targets whose input reaches a battle:
// the shipped resource script and configuration, with every picture, sound
// and the font the script names served from memory.
#pragma once

#include "fuzz/fuzz_engine.h"

class cGame;

// The process's game, made on first use. Resources are made on first use
// during the battles, so the game's files are served again on every call.
cGame* FuzzGame(FuzzEngine& fe);

// Plays the battle on the board for a few seconds: a step beside the acting
// unit, then a strike at the first enemy, with the sea creatures' turns
// between.
void FuzzPlayBattle(FuzzEngine& fe, cGame* game);

// Ends the input's battle (an empty level has no units, so they go with it)
// and forgets what the input left in the engine.
void FuzzEndBattle(FuzzEngine& fe, cGame* game);
