// Level files and the turn order.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/game/battle_world.h"
#include "units/kinds.h"

namespace {

bool Is(cUnit* u, const char* kind) { return u && u->Data().kind == kind; }

int UnitsOnBoard(cGame& g) {
    std::set<cUnit*> seen;
    for (cCell& c : g.cells)
        if (c.GetUnit()) seen.insert(c.GetUnit());
    return static_cast<int>(seen.size());
}

}  // namespace

TEST(Level, WorkedExample) {
    BattleWorld w;
    w.WriteLevel(3, {{"Aqua", 2, 3}, {"Bati", 3, 5}, {"Crab", 7, 7}, {"Shark", 10, 4},
                     {"Medu", 12, -1}});
    // A unit after the first missing name is never read.
    w.eng.WriteFile("res/lvl3.txt", w.eng.ReadFile("res/lvl3.txt") + "[unit7]\nname=Paul\nx=6\ny=8\n");
    w.game->LoadLevel(3);
    cGame& g = *w.game;

    ASSERT_EQ(g.units.size(), 4u);
    EXPECT_EQ(w.eng.LogCount("unknown unit: Crab"), 1);
    EXPECT_TRUE(Is(w.UnitAt(2, 3), "Aqua"));
    for (tcellpos p : {tcellpos(3, 5), tcellpos(4, 5), tcellpos(3, 6), tcellpos(4, 6)})
        EXPECT_TRUE(Is(w.UnitAt(p.first, p.second), "Bati"));
    EXPECT_TRUE(Is(w.UnitAt(11, 5), "Shark"));
    EXPECT_TRUE(Is(w.UnitAt(12, 1), "Medu"));
    EXPECT_EQ(w.UnitAt(7, 7), nullptr);
    EXPECT_EQ(w.UnitAt(6, 8), nullptr);
    EXPECT_EQ(UnitsOnBoard(g), 4);
    EXPECT_EQ(cGame::turn, 1);
    EXPECT_EQ(g.selunit, g.units[0]);
    EXPECT_EQ(g.selcell, g.units[0]->GetParent());
}

TEST(Level, KindWordsAndTheStopRule) {
    BattleWorld w;
    w.Start({{"Sharky", 4, 4}, {"Aqua2", 1, 1}, {"emptyslot", 3, 3}, {"Torp", 2, 2}});
    EXPECT_TRUE(Is(w.UnitAt(5, 5), "Shark"));
    EXPECT_TRUE(Is(w.UnitAt(1, 1), "Aqua"));
    EXPECT_EQ(w.game->units.size(), 2u);

    // No file: the first name is "empty" and nothing is created.
    w.game->LoadLevel(7);
    EXPECT_TRUE(w.game->units.empty());
    EXPECT_EQ(w.game->selunit, nullptr);
}

TEST(Level, FortyNineUnitsAtMost) {
    BattleWorld w;
    std::vector<BattleWorld::Unit> units;
    for (int i = 0; i < 50; ++i) units.push_back({i % 2 ? "Aqua" : "Medu", i % 16, i / 16});
    w.Start(units);
    EXPECT_EQ(w.game->units.size(), 49u);
    EXPECT_EQ(w.UnitAt(1, 3), nullptr);
}

TEST(Level, OffBoardAndOverlappingUnitsAreSkipped) {
    BattleWorld w;
    w.Start({{"Aqua", 16, 2}, {"Shark", 15, 3}, {"Paul", 2, 11}, {"Medu", 5, 5}, {"Shark", 4, 4},
             {"Aqua", 6, 6}});
    EXPECT_EQ(w.game->units.size(), 2u);
    EXPECT_TRUE(w.eng.LogHas("unit Aqua at 16 2 is off the board"));
    EXPECT_TRUE(w.eng.LogHas("unit Shark at 15 3 is off the board"));
    EXPECT_TRUE(w.eng.LogHas("unit Paul at 2 11 is off the board"));
    EXPECT_TRUE(w.eng.LogHas("unit Shark at 4 4 overlaps another unit"));
    EXPECT_TRUE(Is(w.UnitAt(5, 5), "Medu"));
    EXPECT_TRUE(Is(w.UnitAt(6, 6), "Aqua"));
}

TEST(Level, ReloadLeavesNothingOfThePreviousLevel) {
    BattleWorld w;
    w.WriteLevel(2, {{"Torp", 8, 8}, {"Paul", 10, 2}});
    w.Start({{"Aqua", 2, 2}, {"Bati", 4, 4}, {"Shark", 10, 2}});
    // Leave a unit mid-move: its lock goes with it.
    w.game->GetCell(tcellpos(2, 2))->GetUnit()->Move(w.game->GetCell(tcellpos(3, 2)));
    ASSERT_TRUE(cGame::IsControlLocked());
    w.game->LoadLevel(2);
    EXPECT_FALSE(cGame::IsControlLocked());
    EXPECT_EQ(w.game->units.size(), 2u);
    EXPECT_EQ(UnitsOnBoard(*w.game), 2);
    EXPECT_TRUE(Is(w.UnitAt(8, 8), "Torp"));
    EXPECT_TRUE(Is(w.UnitAt(11, 3), "Paul"));
}

TEST(Turn, EachUnitActsOncePerTurnInAShuffledOrder) {
    BattleWorld w;
    w.Start({{"Aqua", 2, 2}, {"Torp", 3, 3}, {"Bati", 5, 5}, {"Medu", 9, 2}, {"Shark", 9, 5},
             {"Paul", 9, 8}});
    cGame& g = *w.game;
    g.gamestate = -1;  // the turn is driven by hand here, not by the battle
    const std::vector<cUnit*> first = g.units;
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(g.units[k]->actionpoint, 1);
        EXPECT_EQ(g.units[k]->position, k);
        EXPECT_EQ(g.units[k]->maxposition, 6);
    }
    for (int t = 0; t < 4; ++t) {
        std::set<cUnit*> selected;
        int startTurn = cGame::turn;
        for (int s = 0; s < 6; ++s) {
            ASSERT_EQ(cGame::turn, startTurn);
            EXPECT_TRUE(g.selunit->IsSelect());
            selected.insert(g.selunit);
            g.selunit->Stay();
            w.Frame(0.37f);
            g.NextStep();
        }
        EXPECT_EQ(selected.size(), 6u);
        EXPECT_EQ(cGame::turn, startTurn + 1);
        EXPECT_EQ(g.selunit, g.units[0]);
        EXPECT_TRUE(std::is_permutation(g.units.begin(), g.units.end(), first.begin()));
    }
}
