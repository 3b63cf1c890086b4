// The computer's side: which action its acting unit takes, by the battle's
// difficulty. Easy is the plain greedy rule (battle::EasyAction). Normal
// tries each action the unit may take and keeps the one that leaves the
// board best for the creatures: every unit's health and worth, and where
// each stands (game/ai_tactics.h: damage it could deal against damage it
// could take, steps still to go). Hard also plays the rest of the turn's
// known order out after each choice, the player's units answering as the
// strongest player bot would.
#pragma once

#include "game/ai_tactics.h"

namespace battle {

// Sets the battle's difficulty as a level starts: on Hard the sea creatures
// also come a little tougher (more health).
void ApplyDifficulty(BattleState& s, Difficulty d);

// The weights of the computer's Normal and Hard play.
Tactics CreatureTactics(Difficulty d);

// The acting computer unit's action; always Legal (Stay when nobody acts or
// the battle is over).
Action AIChoose(const BattleState& s);

// How good the board is for `player`'s side (true: the player's): units,
// health and where they stand, with a decided battle worth more than any.
float Evaluate(const BattleState& s, bool player, const Tactics& mine, const Tactics& theirs);

// The acting unit's action by looking ahead: each candidate is resolved on a
// copy, then at most `depth` further actions of this turn's known order are
// played (each side by its weights), and the best board for the acting
// unit's side wins. Candidates that score equal keep the TacticalAction's.
Action LookaheadAction(const BattleState& s, const Tactics& mine, const Tactics& theirs, int depth);

}  // namespace battle
