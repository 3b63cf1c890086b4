// Balance of the shipped levels and configuration, measured headless with
// the tests' player bot: the first levels are winnable most of the time,
// every level can be won, and no battle drags on.
#include <fstream>
#include <sstream>
#include <string>

#include "tests/assets/shipped_data.h"
#include "tests/game/battle_world.h"
#include "tests/game/player_bot.h"

namespace {

const int kSeeds = 20;
const int kTurnLimit = 60;

std::string Shipped(const std::string& name) {
    std::ifstream f(ShippedDataDir() + "/res/" + name);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// True when the bot wins.
bool Play(BattleWorld& w, int level, int seed) {
    cGame& g = *w.game;
    // The turn order is shuffled from the engine clock; a different amount of
    // time before the battle gives a different sequence of orders.
    for (int k = 0; k <= seed * 7; k++) w.Frame(0.013f * float(seed + 1));
    w.eng.WriteFile("res/lvl1.txt", Shipped("lvl" + std::to_string(level) + ".txt"));
    w.Start(1);
    bool playerLeft = bot::PlayBattle(w, kTurnLimit);
    return g.gamestate == GS_CHLVL && playerLeft;
}

TEST(Balance, LevelsRampUpAndEveryOneCanBeWon) {
    std::string config = Shipped("config.txt");
    BattleWorld w(config.c_str());
    w.game->speed = 100;
    for (int level = 1; level <= 8; level++) {
        int wins = 0;
        for (int seed = 0; seed < kSeeds; seed++) {
            bool won = Play(w, level, seed);
            EXPECT_EQ(w.game->gamestate, GS_CHLVL)
                << "level " << level << " seed " << seed << " still running after " << kTurnLimit
                << " turns";
            wins += won;
        }
        if (level <= 4) {
            EXPECT_GE(wins * 2, kSeeds) << "level " << level << " won " << wins << " times";
        }
        EXPECT_GE(wins, 1) << "level " << level << " never won";
    }
}

}  // namespace
