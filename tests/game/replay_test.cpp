// A golden replay: a fixed level, a fixed list of clicks and a fixed frame
// time give the same battle, turn by turn. A change to the game's rules
// changes the recorded hashes.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/game/battle_world.h"
#include "tests/game/player_bot.h"

namespace {

struct Hasher {
    uint64_t h = 14695981039346656037ull;
    void Add(int64_t v) {
        for (int i = 0; i < 8; ++i) {
            h ^= static_cast<uint64_t>(v >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    }
};

uint64_t BattleHash(const cGame& g) {
    Hasher h;
    h.Add(cGame::turn);
    h.Add(g.gamestate);
    for (const cUnit* u : g.units) {
        h.Add(u->IsPlayerControlled());
        h.Add(u->GetSize());
        h.Add(u->GetParent()->GetX());
        h.Add(u->GetParent()->GetY());
        h.Add(u->GetHealth());
        h.Add(u->actionpoint);
        h.Add(u->position);
    }
    return h.h;
}

// Clicks in screen pixels, taken in turn for every player decision: the
// enemies' starting cells and cells on the way there.
const tcellpos kClicks[] = {{224, 224}, {736, 160}, {288, 416}, {672, 352}, {160, 544},
                            {736, 544}, {352, 224}, {608, 352}, {416, 416}, {480, 288}};

std::vector<uint64_t> Replay() {
    BattleWorld w;
    w.Start({{"Aqua", 2, 3}, {"Torp", 3, 6}, {"Bati", 2, 8}, {"Medu", 11, 2}, {"Shark", 10, 5},
             {"Paul", 11, 8}});
    cGame& g = *w.game;
    std::vector<uint64_t> hashes;
    std::size_t next = 0;
    int turn = cGame::turn;
    for (int frame = 0; frame < 20000 && g.gamestate == GS_GAME && g.banner == BANNER_NONE && cGame::turn <= 40;
         ++frame) {
        if (cGame::turn != turn) {
            hashes.push_back(BattleHash(g));
            turn = cGame::turn;
        }
        cUnit* su = g.selunit;
        if (su && su->IsPlayerControlled() && !cGame::IsControlLocked()) {
            tcellpos c = kClicks[next++ % std::size(kClicks)];
            w.Click(static_cast<float>(c.first), static_cast<float>(c.second));
            if (su == g.selunit && su->actionpoint > 0) w.Press(TIDEK_SPACE);
        } else {
            w.Frame();
        }
    }
    bot::LeaveBanner(w);
    hashes.push_back(BattleHash(g));
    return hashes;
}

}  // namespace

TEST(Replay, MatchesTheRecordedBattle) {
    // One hash per turn boundary, the last after the battle ended.
    // The battle's dice are seeded once, from the clock when the level loads.
    const std::vector<uint64_t> golden = {
        0x6b1e76ee700296c8ull, 0xe5c16f42a1164989ull, 0x13400a081fc0e8e0ull, 0x86dc2bdf8023ce4full,
        0x98ed6466e700226full, 0x328b7cd5ad3e5b21ull, 0x782960a1e2bb8e03ull, 0x1317e7a62b91b9eaull,
        0x316569e92206604cull, 0x1cba4bd4262b67a2ull, 0x51a1cd855d848a66ull, 0xe55ade68f9328dacull};
    EXPECT_EQ(Replay(), golden);
}

TEST(Replay, SecondRunInTheSameProcessIsIdentical) {
    std::vector<uint64_t> a = Replay();
    EXPECT_GT(a.size(), 3u);
    EXPECT_EQ(a, Replay());
}
