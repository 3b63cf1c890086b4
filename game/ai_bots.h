// Player bots: players a real one resembles, for the balance test and the
// benchmark. Each is deterministic: the same battle state gives the same
// action.
#pragma once

#include "game/ai_tactics.h"

namespace battle {

enum class Bot {
    Defender,  // attacks the weakest enemy in reach, otherwise passes
    Charger,   // attacks the weakest enemy in reach, otherwise steps toward the nearest
    Cautious,  // attacks, otherwise steps toward the nearest only where no enemy can strike
    Best,      // focus fire, out of reach when it can, the submarine's range used
};
const int kBots = 4;
const char* BotName(Bot b);  // "defender", "charger", "cautious", "best"

// The weights the best bot plays the player's side with.
Tactics BestBotTactics();

// The acting player unit's action; always Legal.
Action BotAction(Bot b, const BattleState& s);

// One battle played to its end without drawing: the bot for the player, the
// difficulty's AI for the computer, every action resolved at once. Stops
// after `turnLimit` turns; the state is left as it ended.
struct PlayResult {
    // None: the turn limit came first, or no one could act.
    BattleOutcome outcome = BattleOutcome::None;
    int turns = 0;
};
PlayResult PlayOut(BattleState& s, Bot b, int turnLimit);

}  // namespace battle
