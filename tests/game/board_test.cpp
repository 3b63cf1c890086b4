// The board's layout and conversions, and the configuration file.
#include <gtest/gtest.h>

#include "gui/controls.h"
#include "tests/game/battle_world.h"
#include "units/kinds.h"

TEST(Board, IndexLayoutAndScreenCentres) {
    BattleWorld w;
    cGame& g = *w.game;
    ASSERT_EQ(g.cells.size(), 192u);
    EXPECT_EQ(&g.cells[35], g.GetCell(tcellpos(3, 2)));
    EXPECT_EQ(g.cells[35].GetX(), 3);
    EXPECT_EQ(g.cells[35].GetY(), 2);
    EXPECT_EQ(g.cells[16].GetScrX(), 32);
    EXPECT_EQ(g.cells[16].GetScrY(), 96);
    EXPECT_EQ(g.cells[191].GetScrX(), 992);
    EXPECT_EQ(g.cells[191].GetScrY(), 736);
    for (tcellpos off : {tcellpos(-1, 0), tcellpos(0, -1), tcellpos(16, 0), tcellpos(0, 12)})
        EXPECT_EQ(g.GetCell(off), nullptr);
}

TEST(Board, ConversionsAtTheEdges) {
    BattleWorld w;
    cGame& g = *w.game;
    EXPECT_EQ(g.screenToCell(0, 0), tcellpos(0, 0));
    EXPECT_EQ(g.screenToCell(63, 63), tcellpos(0, 0));
    EXPECT_EQ(g.screenToCell(64, 64), tcellpos(1, 1));
    EXPECT_EQ(g.screenToCell(1023, 767), tcellpos(15, 11));
    EXPECT_EQ(g.screenToCell(-31, -31), tcellpos(0, 0));
    EXPECT_EQ(g.cellToScreen(0, 0), tcellpos(32, 32));
    EXPECT_EQ(g.cellToScreen(15, 11), tcellpos(992, 736));
}

TEST(Board, OccupancyOfCellsAndBlocks) {
    BattleWorld w;
    cGame& g = *w.game;
    cCell* c = g.GetCell(tcellpos(4, 5));
    EXPECT_FALSE(c->AddUnit(nullptr));
    EXPECT_TRUE(c->NoUnit());
    EXPECT_FALSE(c->RemUnit());

    cShark shark(&g);
    cAqua aqua(&g);
    shark.SetParent(c);
    for (tcellpos p : {tcellpos(4, 5), tcellpos(5, 5), tcellpos(4, 6), tcellpos(5, 6)})
        EXPECT_EQ(g.GetCell(p)->GetUnit(), &shark);
    EXPECT_FALSE(c->AddUnit(&aqua));
    EXPECT_EQ(c->GetUnit(), &shark);
    EXPECT_FALSE(g.UnitToCell(&aqua, 5, 6));
    EXPECT_FALSE(g.UnitToCell(&aqua, 16, 0));
    shark.LeaveBoard();
    EXPECT_TRUE(g.GetCell(tcellpos(5, 6))->NoUnit());

    // A block anchored on the last column keeps its on-board half only.
    shark.SetParent(g.GetCell(tcellpos(15, 3)));
    EXPECT_EQ(g.GetCell(tcellpos(15, 4))->GetUnit(), &shark);
    shark.LeaveBoard();

    EXPECT_TRUE(g.UnitToCell(&aqua, 2, 2));
    EXPECT_FALSE(g.MoveToCell(3, 3, 4, 4));  // nothing to move
    EXPECT_FALSE(g.MoveToCell(2, 2, 16, 2)); // off the board
    g.GetCell(tcellpos(2, 2))->RemUnit();
}

TEST(Config, DefaultsWithoutAFile) {
    BattleWorld w(nullptr);
    EXPECT_EQ(w.game->musicvolume, 50);
    for (const st_unitparam* p : {&cGame::global.aqua, &cGame::global.torp, &cGame::global.bati,
                                  &cGame::global.medu, &cGame::global.shark, &cGame::global.paul}) {
        EXPECT_EQ(p->health, 20);
        EXPECT_EQ(p->dmg, 1);
        EXPECT_EQ(p->armor, 0);
        EXPECT_EQ(p->range, 100500.0f);
    }
}

TEST(Config, OneKeyLeavesTheRestAtDefaults) {
    BattleWorld w("[options]\nmusic=0\n[shark]\narmor=3\n");
    EXPECT_EQ(w.game->musicvolume, 0);
    EXPECT_EQ(cGame::global.shark.armor, 3);
    EXPECT_EQ(cGame::global.shark.health, 20);
    EXPECT_EQ(cGame::global.paul.armor, 0);
    cShark s(w.game);
    EXPECT_EQ(s.armor, 3);
    EXPECT_EQ(s.GetHealth(), 20);
}

TEST(Config, SaveAfterALevelGoesToTheConfigurationFile) {
    BattleWorld w;
    w.Start({{"Aqua", 2, 2}, {"Medu", 5, 5}});
    w.game->sound_sld->SetValue(70.9f);
    w.game->speed_sld->SetValue(20);
    w.game->SaveOptions();
    std::string cfg = w.eng.ReadFile("Res/config.txt");
    EXPECT_NE(cfg.find("music=40"), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("sound=70"), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("speed=20"), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("[bati]"), std::string::npos) << cfg;
    EXPECT_EQ(w.eng.ReadFile("res/lvl1.txt").find("sound"), std::string::npos);
}

TEST(Config, BattleSpeedFactorCurve) {
    BattleWorld w;
    const std::pair<int, float> points[] = {{0, 0.5f}, {50, 1.0f}, {100, 4.0f}, {-5, 0.5f}, {200, 4.0f}};
    for (auto [speed, factor] : points) {
        w.game->speed = speed;
        EXPECT_FLOAT_EQ(w.game->BattleSpeedFactor(), factor) << speed;
    }
    float last = 0;
    for (int s = 0; s <= 100; ++s) {
        w.game->speed = s;
        EXPECT_GT(w.game->BattleSpeedFactor(), last);
        last = w.game->BattleSpeedFactor();
    }
}
