// Many battles of a simple player bot against the AI: every battle must end,
// and one action at a time must hold the control lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "tests/game/battle_world.h"
#include "tests/game/player_bot.h"

namespace {

const int kBattles = 200;
const int kTurnLimit = 300;
const char* const kPlayerKinds[] = {"Aqua", "Torp", "Bati"};
const char* const kComputerKinds[] = {"Medu", "Shark", "Paul"};

// Two to four units a side, players on the left half, the computer on the
// right; every footprint inside the cells a unit may move in. Overlaps are
// left in: the loader skips them.
std::vector<BattleWorld::Unit> RandomLevel(uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<BattleWorld::Unit> units;
    for (int side = 0; side < 2; ++side) {
        int n = 2 + static_cast<int>(rng() % 3);
        for (int i = 0; i < n; ++i) {
            const char* kind = (side ? kComputerKinds : kPlayerKinds)[rng() % 3];
            int x = 1 + static_cast<int>(rng() % 6) + side * 7;
            int y = 1 + static_cast<int>(rng() % 8);
            units.push_back({kind, x, y});
        }
    }
    return units;
}

}  // namespace

TEST(Soak, BotAgainstTheAI) {
    BattleWorld w;
    cGame& g = *w.game;
    g.speed = 100;
    int victories = 0;
    for (int b = 0; b < kBattles; ++b) {
        w.Start(RandomLevel(static_cast<uint32_t>(b)));
        ASSERT_EQ(cGame::locklvl, 0) << "battle " << b;
        bool won = bot::PlayBattle(w, kTurnLimit, [&] { ASSERT_LE(cGame::locklvl, 1) << "battle " << b; });
        ASSERT_EQ(g.gamestate, GS_CHLVL) << "battle " << b << " still running in turn "
                                         << cGame::turn;
        victories += won;
    }
    w.Start({});  // drops the last battle's units and any lock a strike still holds
    EXPECT_EQ(cGame::locklvl, 0);
    EXPECT_GT(victories, 0);
    EXPECT_LT(victories, kBattles);
}
