// The battle update: the player's control, the end of a level, Escape and
// the pass key.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "gfx/sprite.h"
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
    // Progress with the campaign's levels 1 to n - 1 won, so level n is the
    // last one open.
    void OpenUpTo(int n) {
        w.game->progress = cProgress();
        for (int k = 1; k < n; ++k) w.game->progress.Win(w.game->campaign.Level(k)->key);
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

// Winning level n unlocks level n + 1 and nothing more, under a banner that
// stays until a fresh click or key, then the level choice.
TEST_F(BattleTest, WinUnlocksTheNextLevelOnlyUnderAVictoryBanner) {
    struct Case {
        int level, before, after, banner;
    };
    const Case cases[] = {{1, 1, 2, BANNER_VICTORY},
                          {1, 5, 5, BANNER_VICTORY},
                          {7, 7, 8, BANNER_VICTORY},
                          {8, 8, 8, BANNER_CAMPAIGN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << ", open " << c.before);
        w.WriteLevel(c.level, {{"Aqua", 2, 5}, {"Medu", 5, 5}});
        w.Start(c.level);
        w.SetOrder({w.UnitAt(2, 5), w.UnitAt(5, 5)});
        OpenUpTo(c.before);
        w.ClickCell(5, 5);
        Land();
        w.Frame();
        EXPECT_EQ(w.game->banner, c.banner);
        EXPECT_EQ(w.game->MaxOpenLevel(), c.after);
        EXPECT_TRUE(w.game->progress.Won(w.game->campaign.Level(c.level)->key));
        w.Click(10, 10);  // too soon after the battle's last click: still up
        for (int i = 0; i < 600; ++i) w.Frame();  // a minute
        EXPECT_EQ(w.game->gamestate, GS_GAME);
        w.Press(TIDEK_SPACE);
        EXPECT_EQ(w.game->gamestate, GS_CHLVL);
        EXPECT_EQ(w.game->banner, BANNER_NONE);
    }
}

// The turn passes on as a creature acts, but the ring (under it, going with
// it as it glides) and the acting panel stay on it until its action has
// played out; then they are on the unit to act.
TEST_F(BattleTest, TheRingStaysOnTheActingCreatureUntilItsActionEnds) {
    struct Case {
        const char* what;
        int x, y, turn;  // the creature, and a turn past its waiting ones
    };
    // Where the ring's hot spot is: its quad's top left corner, offset.
    auto ringAt = [&](float* x, float* y) {
        std::vector<tideQuad> ring = w.QuadsOf("sel1");
        if (ring.size() != 1u) return false;
        float hx = 0, hy = 0;
        grid_sel1->GetHotSpot(&hx, &hy);
        *x = ring[0].v[0].x + hx;
        *y = ring[0].v[0].y + hy;
        return true;
    };
    for (const Case& c : {Case{"a shot", 5, 5, 1}, Case{"a step", 12, 2, 3}}) {
        SCOPED_TRACE(c.what);
        SetUp();
        cUnit* creature = w.UnitAt(c.x, c.y);
        w.SetOrder({creature, aqua, medu == creature ? w.UnitAt(12, 2) : medu, w.UnitAt(2, 8)});
        cGame::turn = c.turn;
        tcellpos from = creature->CentrePoint();
        w.Frame();  // the creature acts
        ASSERT_TRUE(cGame::IsControlLocked());
        EXPECT_EQ(w.game->selunit, aqua);
        bool glided = false;
        while (cGame::IsControlLocked()) {
            EXPECT_EQ(w.game->ActingView(), creature);
            w.Draw();
            float x = 0, y = 0, rx = 0, ry = 0;
            creature->DrawnPoint(&x, &y);
            ASSERT_TRUE(ringAt(&rx, &ry));
            EXPECT_NEAR(rx, x, 1);
            EXPECT_NEAR(ry, y, 1);
            glided |= x != from.first && x != creature->CentrePoint().first;
            w.Frame();
        }
        EXPECT_EQ(glided, c.turn == 3);
        EXPECT_EQ(w.game->ActingView(), aqua);
        w.Draw();
        float rx = 0, ry = 0;
        ASSERT_TRUE(ringAt(&rx, &ry));
        EXPECT_NEAR(rx, aqua->CentrePoint().first, 1);
        EXPECT_NEAR(ry, aqua->CentrePoint().second, 1);
    }
}

// A win's stars are kept under the difficulty it was played at, the best of
// them: one for the win, one for losing no unit, one within the level's par.
TEST_F(BattleTest, AWinKeepsTheBestStarsOfItsDifficulty) {
    struct Case {
        Difficulty played;
        int par, earned, best;
    };
    const Case cases[] = {{Difficulty::Hard, 5, 3, 3}, {Difficulty::Hard, 0, 2, 3}, {Difficulty::Easy, 0, 2, 2}};
    const std::string key = w.game->campaign.Level(1)->key;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << DifficultyName(c.played) << ", par " << c.par);
        w.game->campaign.levels[0].par = c.par;
        w.game->difficulty = c.played;
        w.WriteLevel(1, {{"Aqua", 2, 5}, {"Medu", 5, 5}});
        w.Start(1);
        w.SetOrder({w.UnitAt(2, 5), w.UnitAt(5, 5)});
        w.ClickCell(5, 5);
        Land();
        w.Frame();
        ASSERT_EQ(w.game->banner, BANNER_VICTORY);
        EXPECT_EQ(w.game->endstars.Count(), c.earned);
        EXPECT_EQ(w.game->progress.BestStars(key, c.played), c.best);
        for (int i = 0; i < 5; ++i) w.Frame();
        w.Press(TIDEK_SPACE);
    }
    EXPECT_EQ(w.game->progress.BestStars(key, Difficulty::Normal), 0);
}

TEST_F(BattleTest, DefeatShowsItsBannerUntilAClickAndUnlocksNothing) {
    w.Start({{"Aqua", 2, 5}, {"Medu", 4, 5}});
    w.UnitAt(2, 5)->health = 1;
    OpenUpTo(2);
    w.SetOrder({w.UnitAt(4, 5), w.UnitAt(2, 5)});
    w.Frame();  // the Medu shoots
    Land();
    w.Frame();
    EXPECT_EQ(w.game->banner, BANNER_DEFEAT);
    EXPECT_EQ(w.game->gamestate, GS_GAME);
    for (int i = 0; i < 5; ++i) w.Frame();
    w.Click(10, 10);
    EXPECT_EQ(w.game->gamestate, GS_CHLVL);
    EXPECT_EQ(w.game->MaxOpenLevel(), 2);
    EXPECT_FALSE(w.game->progress.Won("lvl2.txt"));
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
        OpenUpTo(2);
        w.hl->ClearLog();
        w.Start(c.units);
        w.Frame();
        EXPECT_EQ(w.game->gamestate, GS_CHLVL) << c.line;
        EXPECT_EQ(w.game->MaxOpenLevel(), 2) << c.line;
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
        // The turn bar closes up at once: markers 50 apart, in order, centred.
        const int n = static_cast<int>(alive.size());
        for (int k = 0; k < n; ++k)
            EXPECT_EQ(alive[k]->MarkerPoint().first, 487 - n * 25 + 50 * k) << c.name << ", marker " << k;
        while (cGame::turn <= 2) step();

        for (int t : {1, 2}) {
            for (cUnit* u : alive)
                EXPECT_EQ(std::count(steps[t].begin(), steps[t].end(), u), 1)
                    << c.name << ": turn " << t << ", unit " << w.IndexOf(u);
        }
        EXPECT_EQ(steps[2].size(), alive.size()) << c.name;
    }
}

namespace {

// Puts a Bati on `anchor` (with `extra` beside it), points at (x, y), and
// checks that the preview drawn there and the click both pick `want`, or
// that neither shows nor makes a move.
void ExpectBlockClick(BattleWorld& w, tcellpos anchor, float x, float y,
                      std::optional<tcellpos> want, std::vector<BattleWorld::Unit> extra = {}) {
    extra.push_back({"Bati", anchor.first, anchor.second});
    extra.push_back({"Medu", 13, 9});
    w.Start(extra);
    cUnit* bati = w.UnitAt(anchor.first, anchor.second);
    std::vector<cUnit*> order = w.game->units;
    std::rotate(order.begin(), std::find(order.begin(), order.end(), bati), order.end());
    w.SetOrder(order);
    std::string where = "Bati on " + std::to_string(anchor.first) + "," +
                        std::to_string(anchor.second) + ", pointer at " + std::to_string(x) +
                        "," + std::to_string(y);

    w.hl->SetMouse(x, y);
    w.Frame();
    w.Draw();
    std::vector<tideQuad> preview = w.QuadsOf("white");
    if (want) {
        ASSERT_EQ(preview.size(), 1u) << where;
        // The doubled 32-pixel sprite, its hot spot at the block's centre.
        EXPECT_FLOAT_EQ(preview[0].v[0].x, static_cast<float>(want->first * 64 + 64)) << where;
        EXPECT_FLOAT_EQ(preview[0].v[0].y, static_cast<float>(want->second * 64 + 64)) << where;
    } else {
        EXPECT_TRUE(preview.empty()) << where;
    }

    w.Click(x, y);
    tcellpos at = want.value_or(anchor);
    EXPECT_EQ(bati->GetParent(), w.Cell(at.first, at.second)) << where;
    EXPECT_EQ(bati->actionpoint, want ? 0 : 1) << where;
}

}  // namespace

// A click on the middle of any cell around a 2x2 unit steps it that way: a
// side cell straight, a corner cell diagonally; a click on its own cells,
// or toward a wall it stands against, moves nothing.
TEST(BlockClick, EveryStepFromMidBoardAndBesideEachWall) {
    BattleWorld w;
    const tcellpos anchors[] = {{6, 5}, {1, 5}, {13, 5}, {6, 1}, {6, 8}};
    for (tcellpos a : anchors) {
        for (int cy = a.second - 1; cy <= a.second + 2; ++cy) {
            for (int cx = a.first - 1; cx <= a.first + 2; ++cx) {
                int dx = cx < a.first ? -1 : cx > a.first + 1 ? 1 : 0;
                int dy = cy < a.second ? -1 : cy > a.second + 1 ? 1 : 0;
                tcellpos to(a.first + dx, a.second + dy);
                // The block stays in columns 1 to 14 and rows 1 to 9.
                bool legal = (dx || dy) && to.first >= 1 && to.first <= 13 && to.second >= 1 &&
                             to.second <= 8;
                ExpectBlockClick(w, a, static_cast<float>(cx * 64 + 32),
                                 static_cast<float>(cy * 64 + 32),
                                 legal ? std::optional<tcellpos>(to) : std::nullopt);
            }
        }
    }
}

TEST(BlockClick, NearestLegalBlockOffTheCellCentres) {
    BattleWorld w;
    // The upper half of the cell right of the top row lies nearer the
    // up-right block, its lower half nearer the block one step right.
    ExpectBlockClick(w, {6, 5}, 8 * 64 + 32, 5 * 64 + 10, tcellpos(7, 4));
    ExpectBlockClick(w, {6, 5}, 8 * 64 + 32, 5 * 64 + 50, tcellpos(7, 5));
    ExpectBlockClick(w, {3, 3}, 5 * 64 + 10, 4 * 64 + 10, tcellpos(4, 3));
    // A unit in the way of the straight step leaves the diagonal one.
    ExpectBlockClick(w, {6, 5}, 8 * 64 + 32, 5 * 64 + 32, tcellpos(7, 4), {{"Aqua", 8, 6}});
    // A unit beside the wall cannot leave the drawn board, whatever the pointer.
    ExpectBlockClick(w, {1, 5}, 40, 5 * 64 + 32, std::nullopt);
}
