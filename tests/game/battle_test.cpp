// The battle update: the player's control, the end of a level, Escape and
// the pass key.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/game/battle_world.h"
#include "units/kinds.h"
#include "units/projectile.h"

namespace {

class BattleTest : public ::testing::Test {
protected:
    // An Aqua (range 4, damage 3) facing a Medu (health 3) three cells away,
    // with one more unit on each side so the battle goes on after a death.
    void SetUp() override {
        w.Start({{"Aqua", 2, 5}, {"Medu", 5, 5}, {"Aqua", 2, 8}, {"Medu", 12, 2}});
        aqua = w.UnitAt(2, 5);
        medu = w.UnitAt(5, 5);
        w.SetOrder({aqua, medu, w.UnitAt(2, 8), w.UnitAt(12, 2)});
    }
    // Runs frames until the projectile in flight has hit and gone.
    void Land() {
        for (int i = 0; i < 100 && cGame::proj; ++i) w.Frame();
    }

    BattleWorld w;
    cUnit* aqua = nullptr;
    cUnit* medu = nullptr;
};

}  // namespace

TEST_F(BattleTest, ShotAtExactlyTheRangeFlies) {
    medu->LeaveBoard();
    medu->SetParent(w.Cell(6, 5));  // 4 cells: the Aqua's range
    w.ClickCell(6, 5);
    ASSERT_NE(cGame::proj, nullptr);
    EXPECT_EQ(aqua->actionpoint, 0);
    EXPECT_NE(w.game->selunit, aqua);
    Land();
    EXPECT_FALSE(cGame::IsControlLocked());
    EXPECT_TRUE(medu->IsDead());
    w.Frame();  // the dead leave at the start of the next frame
    EXPECT_EQ(w.IndexOf(medu), -1);
    EXPECT_TRUE(w.Cell(6, 5)->NoUnit());
}

TEST_F(BattleTest, ClicksThatDoNothing) {
    medu->LeaveBoard();
    medu->SetParent(w.Cell(5, 8));  // about 4.24 cells away
    w.ClickCell(5, 8);
    w.ClickCell(2, 8);              // an own unit
    w.ClickCell(4, 5);              // two cells away
    w.Click(1030, 300);             // off the board
    EXPECT_EQ(cGame::proj, nullptr);
    EXPECT_EQ(aqua->actionpoint, 1);
    EXPECT_EQ(aqua->GetParent(), w.Cell(2, 5));
    EXPECT_EQ(w.game->selcell, nullptr);
    EXPECT_EQ(w.game->selunit, aqua);
}

TEST_F(BattleTest, ClickWhileAComputerUnitActsDoesNothing) {
    cUnit* far = w.UnitAt(12, 2);
    w.SetOrder({far, aqua, medu, w.UnitAt(2, 8)});
    cGame::turn = 3;  // past the Medu's waiting turns
    w.Frame();        // the AI steps toward the nearest player unit
    ASSERT_TRUE(cGame::IsControlLocked());
    ASSERT_EQ(w.game->selunit, aqua);
    w.ClickCell(3, 5);
    w.Settle();
    EXPECT_EQ(aqua->GetParent(), w.Cell(2, 5));
    EXPECT_EQ(aqua->actionpoint, 1);
    EXPECT_EQ(w.game->selunit, aqua);
}

TEST_F(BattleTest, BlockMovesToTheCellsNearestThePointer) {
    w.Start({{"Bati", 3, 3}, {"Medu", 12, 8}});
    cUnit* bati = w.UnitAt(3, 3);
    w.SetOrder({bati, w.UnitAt(12, 8)});
    w.Click(5 * 64 + 10, 4 * 64 + 10);  // block centred at (5, 4)'s top-left corner
    EXPECT_EQ(bati->GetParent(), w.Cell(4, 3));
    EXPECT_EQ(bati->actionpoint, 0);
}

// Winning level n unlocks level n + 1 and nothing more, under a banner that
// stays about two seconds (or until a click) before the level choice.
TEST_F(BattleTest, WinUnlocksTheNextLevelOnlyUnderAVictoryBanner) {
    struct Case {
        int level, before, after, banner;
    };
    const Case cases[] = {{1, 1, 2, BANNER_VICTORY},
                          {1, 5, 5, BANNER_VICTORY},
                          {7, 7, 8, BANNER_VICTORY},
                          {8, 8, 8, BANNER_CAMPAIGN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << ", maxlvl " << c.before);
        w.WriteLevel(c.level, {{"Aqua", 2, 5}, {"Medu", 5, 5}});
        w.Start(c.level);
        w.SetOrder({w.UnitAt(2, 5), w.UnitAt(5, 5)});
        w.game->maxlvl = c.before;
        w.ClickCell(5, 5);
        Land();
        w.Frame();
        EXPECT_EQ(w.game->banner, c.banner);
        EXPECT_EQ(w.game->maxlvl, c.after);
        EXPECT_TRUE(w.game->wonlevels & (1u << (c.level - 1)));
        for (int i = 0; i < 18; ++i) w.Frame();  // 1.8 s
        EXPECT_EQ(w.game->gamestate, GS_GAME);
        w.Frame(0.25f);
        EXPECT_EQ(w.game->gamestate, GS_CHLVL);
        EXPECT_EQ(w.game->banner, BANNER_NONE);
    }
}

TEST_F(BattleTest, DefeatShowsItsBannerUntilAClickAndUnlocksNothing) {
    w.Start({{"Aqua", 2, 5}, {"Medu", 4, 5}});
    w.UnitAt(2, 5)->health = 1;
    w.game->maxlvl = 2;
    w.SetOrder({w.UnitAt(4, 5), w.UnitAt(2, 5)});
    w.Frame();  // the Medu shoots
    Land();
    w.Frame();
    EXPECT_EQ(w.game->banner, BANNER_DEFEAT);
    EXPECT_EQ(w.game->gamestate, GS_GAME);
    w.Click(10, 10);
    EXPECT_EQ(w.game->gamestate, GS_CHLVL);
    EXPECT_EQ(w.game->maxlvl, 2);
    EXPECT_EQ(w.game->wonlevels, 0u);
}

TEST_F(BattleTest, OneSidedOrEmptyLevelReturnsToTheChoiceUnlockingNothing) {
    struct Case {
        std::vector<BattleWorld::Unit> units;
        const char* line;
    };
    const Case cases[] = {
        {{{"Aqua", 2, 5}, {"Torp", 4, 4}}, "res\\lvl1.txt: no computer unit"},
        {{{"Shark", 8, 8}}, "res\\lvl1.txt: no player unit"},
        {{}, "res\\lvl1.txt: no units"},
    };
    for (const Case& c : cases) {
        w.game->maxlvl = 2;
        w.hl->ClearLog();
        w.Start(c.units);
        w.Frame();
        EXPECT_EQ(w.game->gamestate, GS_CHLVL) << c.line;
        EXPECT_EQ(w.game->maxlvl, 2) << c.line;
        EXPECT_EQ(w.hl->Log(), std::vector<std::string>{c.line});
    }
}

TEST_F(BattleTest, DeadActingUnitIsForgottenBeforeTheNextStep) {
    // The Medu acts next, and the Aqua's shot kills it during its step.
    w.ClickCell(5, 5);
    ASSERT_EQ(w.game->selunit, medu);
    Land();
    w.Frame();
    EXPECT_EQ(w.IndexOf(medu), -1);
    ASSERT_NE(w.game->selunit, nullptr);
    EXPECT_NE(w.IndexOf(w.game->selunit), -1);
    EXPECT_TRUE(w.game->selunit->IsSelect());
    EXPECT_EQ(w.game->gamestate, GS_GAME);
}

TEST_F(BattleTest, EscapeOpensTheOptionsWhileAShotFlies) {
    w.ClickCell(5, 5);
    ASSERT_NE(cGame::proj, nullptr);
    w.Press(TIDEK_ESCAPE);
    EXPECT_EQ(w.game->gamestate, GS_OPTIONS);
    EXPECT_EQ(w.game->prevgamestate, GS_GAME);
    float flown = cGame::proj->time;
    w.Frame();
    EXPECT_EQ(cGame::proj->time, flown);  // the battle waits
}

TEST_F(BattleTest, SpacePassesTheStep) {
    w.Press(TIDEK_SPACE);
    EXPECT_EQ(aqua->actionpoint, 0);
    EXPECT_EQ(aqua->GetParent(), w.Cell(2, 5));
    EXPECT_NE(w.game->selunit, aqua);
    EXPECT_FALSE(aqua->IsSelect());
}

TEST_F(BattleTest, SpeedScalesTheBattleClock) {
    w.game->speed = 100;
    w.ClickCell(3, 5);
    // Two frames (press and release) at four times the pace.
    EXPECT_FLOAT_EQ(aqua->time, move_time - 2 * 4 * BattleWorld::kFrame);
}

// Units killed before, at and after the acting unit in the order: every unit
// still alive steps exactly once in the rest of the turn and in the next.
TEST(Removal, EveryLivingUnitStepsOncePerTurn) {
    struct Case {
        const char* name;
        int acted;               // steps taken in the turn before the deaths
        std::vector<int> kills;  // indices in the order at that point
    };
    const Case cases[] = {
        {"before", 2, {0}},     {"at", 2, {2}},          {"after", 2, {4}},
        {"around", 2, {1, 2, 3}}, {"at and next", 2, {2, 3}}, {"first", 0, {0}},
        {"last", 7, {7}},       {"first and last", 7, {0, 7}},
    };
    BattleWorld w;
    cGame& g = *w.game;
    for (const Case& c : cases) {
        w.Start({{"Aqua", 1, 1}, {"Aqua", 1, 3}, {"Torp", 1, 5}, {"Torp", 1, 7},
                 {"Medu", 13, 1}, {"Medu", 13, 3}, {"Medu", 13, 5}, {"Medu", 13, 7}});
        // The steps are taken by hand: the lock keeps the player's control and
        // the AI out, while each frame still removes the dead.
        struct HeldLock {
            HeldLock() { cGame::LockControl(); }
            ~HeldLock() { cGame::UnlockControl(); }
        } lock;
        std::map<int, std::vector<cUnit*>> steps;
        auto step = [&] {
            steps[cGame::turn].push_back(g.selunit);
            g.selunit->Stay();
            g.NextStep();
        };
        for (int k = 0; k < c.acted; ++k) step();
        for (int i : c.kills) g.units[i]->health = 0;
        w.Frame();
        ASSERT_EQ(g.gamestate, GS_GAME) << c.name;
        std::vector<cUnit*> alive = g.units;
        ASSERT_EQ(alive.size(), 8 - c.kills.size()) << c.name;
        while (cGame::turn <= 2) step();

        for (int t : {1, 2}) {
            for (cUnit* u : alive)
                EXPECT_EQ(std::count(steps[t].begin(), steps[t].end(), u), 1)
                    << c.name << ": turn " << t << ", unit " << w.IndexOf(u);
        }
        EXPECT_EQ(steps[2].size(), alive.size()) << c.name;
    }
}
