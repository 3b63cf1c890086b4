// Balance of the shipped levels and configuration, measured headless with
// the tests' naive player bot (walk to the nearest enemy, shoot when in
// range): the difficulty ramps up smoothly, every level can be won and lost,
// and no battle drags on.
#include <cstdio>
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

// Bot wins out of kSeeds each level must reach, inclusive: levels 1 to 3
// easy (90% or more), 4 to 6 harder (50% to 90%), 7 and 8 hard (5% to 50%).
struct Band {
    int min, max;
};
const Band kRamp[8] = {{18, 20}, {18, 20}, {18, 20}, {10, 18},
                       {10, 18}, {8, 18},  {1, 10},  {1, 10}};

TEST(Balance, DifficultyRampsUpSmoothly) {
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
        std::printf("level %d: bot won %d of %d\n", level, wins, kSeeds);
        const Band& b = kRamp[level - 1];
        EXPECT_GE(wins, b.min) << "level " << level;
        EXPECT_LE(wins, b.max) << "level " << level;
    }
}

}  // namespace
