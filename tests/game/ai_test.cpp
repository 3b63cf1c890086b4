// The enemy AI and the distance measure.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/battle_world.h"
#include "units/kinds.h"
#include "units/projectile.h"

namespace {

class AITest : public ::testing::Test {
protected:
    AITest() { w.game->gamestate = -1; }  // the AI is called by hand here
    // Runs the AI for `u` as if it were the acting unit.
    void Act(cUnit* u) {
        w.MakeActing(u);
        w.game->AIMove();
    }
    BattleWorld w;
};

}  // namespace

TEST_F(AITest, WeakestInRangeWinsTiesGoToTheEarlierUnit) {
    cMedu* m = w.Place<cMedu>(8, 5);  // range 3
    cAqua* near = w.Place<cAqua>(7, 5);
    cTorp* far = w.Place<cTorp>(8, 8);
    cAqua* outside = w.Place<cAqua>(12, 5);
    near->health = 5;
    far->health = 3;
    outside->health = 1;
    EXPECT_EQ(w.game->AIFindPriorityTarget(m), far);
    far->health = 5;
    EXPECT_EQ(w.game->AIFindPriorityTarget(m), near);
    w.SwapInOrder(1, 2);
    EXPECT_EQ(w.game->AIFindPriorityTarget(m), far);

    // Range checks hold at exactly the range and fail just beyond it.
    far->health = 9;
    near->health = 4;
    w.Cell(7, 5)->RemUnit();
    near->SetParent(w.Cell(5, 5));
    EXPECT_EQ(w.game->UnitDistance(m, near), 3.0f);
    EXPECT_EQ(w.game->AIFindPriorityTarget(m), near);
    m->range = 2.99f;
    EXPECT_EQ(w.game->AIFindPriorityTarget(m), nullptr);
}

TEST_F(AITest, AttackLogsAndShoots) {
    cMedu* m = w.Place<cMedu>(8, 5);
    cAqua* a = w.Place<cAqua>(6, 5);
    Act(m);
    EXPECT_EQ(w.eng.LogCount("i can shoot!!!"), 1);
    ASSERT_NE(cGame::proj, nullptr);
    EXPECT_EQ(cGame::proj->target, a);
    EXPECT_EQ(m->actionpoint, 0);
    EXPECT_EQ(w.game->selunit, a);  // the step passed on
}

TEST_F(AITest, StepsTowardTheNearestPlayerUnit) {
    cShark* s = w.Place<cShark>(4, 4);
    w.Place<cAqua>(6, 4);
    w.Place<cAqua>(1, 9);
    EXPECT_EQ(w.game->AIFindCellToMove(s), w.Cell(5, 4));
    cMedu* m = w.Place<cMedu>(10, 8);
    w.Place<cTorp>(7, 3);
    EXPECT_EQ(w.game->AIFindCellToMove(m), w.Cell(9, 7));
    // Nobody to approach.
    for (cUnit* u : w.game->units) u->plcontrolled = false;
    EXPECT_EQ(w.game->AIFindCellToMove(m), nullptr);
    EXPECT_EQ(w.game->AIFindPriorityTarget(m), nullptr);
}

TEST_F(AITest, MeduHoldsBackForTwoTurns) {
    cMedu* m = w.Place<cMedu>(12, 5);
    w.Place<cAqua>(2, 5);
    for (int turn : {1, 2, 3}) {
        cGame::turn = turn;
        m->NextTurn();
        Act(m);
        EXPECT_EQ(m->actionpoint, 0);
        EXPECT_EQ(m->GetParent(), w.Cell(turn < 3 ? 12 : 11, 5)) << turn;
    }
}

TEST_F(AITest, RefusedStepStillEndsTheAction) {
    cMedu* m = w.Place<cMedu>(9, 5);
    cAqua* a = w.Place<cAqua>(3, 5);
    a->range = 0;
    m->range = 1;
    w.Place<cPaul>(7, 5);  // covers (8, 5), the Medu's next cell
    cGame::turn = 3;
    Act(m);
    EXPECT_EQ(m->GetParent(), w.Cell(9, 5));
    EXPECT_EQ(m->actionpoint, 0);  // its action is lost, its turn mark off
    EXPECT_NE(w.game->selunit, m);
    EXPECT_FALSE(cGame::IsControlLocked());
}

TEST_F(AITest, UnitDistance) {
    cGame& g = *w.game;
    cAqua* a = w.Place<cAqua>(1, 1);
    cAqua* b = w.Place<cAqua>(4, 5);
    cShark* s = w.Place<cShark>(6, 1);
    cAqua* right = w.Place<cAqua>(8, 2);
    cPaul* p = w.Place<cPaul>(10, 4);
    EXPECT_EQ(g.UnitDistance(a, a), 0);
    EXPECT_EQ(g.UnitDistance(a, b), 5);
    EXPECT_EQ(g.UnitDistance(s, right), 1);
    EXPECT_EQ(g.UnitDistance(right, s), 1);
    EXPECT_NEAR(g.UnitDistance(right, w.Place<cAqua>(9, 3)), 1.4142f, 1e-4);
    // (7, 2) to (10, 4): 3 columns, 2 rows.
    EXPECT_FLOAT_EQ(g.UnitDistance(s, p), std::sqrt(13.0f));
    EXPECT_EQ(g.CellDistance(nullptr, w.Cell(1, 1)), 0);
    EXPECT_EQ(g.CellDistance(w.Cell(0, 0), w.Cell(3, 4)), 5);
}
