// What the battle screen shows beyond the units: the threat view and the
// health numbers that nothing may cover.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "gfx/font.h"
#include "tests/game/battle_world.h"

namespace {

const int kKeyT = TIDEK_A + 'T' - 'A';

class BoardViewTest : public ::testing::Test {
protected:
    // The cells hatched in the frame drawn with the pointer at cell (cx, cy).
    std::set<tcellpos> HatchedPointingAt(int cx, int cy) {
        w.hl->SetMouse(static_cast<float>(cx * 64 + 32), static_cast<float>(cy * 64 + 32));
        w.Frame();
        w.Draw();
        std::set<tcellpos> cells;
        for (const tideQuad& q : w.QuadsOf("threat_hatch"))
            cells.emplace(static_cast<int>(q.v[0].x) / 64, static_cast<int>(q.v[0].y) / 64);
        return cells;
    }
    BattleWorld w;
};

// Index of the first (or last) quad drawn with texture `tex`.
int QuadIndex(BattleWorld& w, HTEXTURE tex, bool last) {
    const std::vector<tideQuad>& q = w.hl->Quads();
    int found = -1;
    for (std::size_t i = 0; i < q.size(); ++i)
        if (q[i].tex == tex) {
            found = static_cast<int>(i);
            if (!last) break;
        }
    return found;
}

}  // namespace

TEST_F(BoardViewTest, PointingAtAnEnemyHatchesWhereItCouldStrikeAfterAStep) {
    w.Start({{"Aqua", 2, 2}, {"Medu", 8, 5}, {"Shark", 8, 1}});
    w.MakeActing(w.UnitAt(2, 2));  // the player's turn: the creatures stay put
    // The Medu reaches 3 cells: from one step away, 4 cells along a row.
    std::set<tcellpos> medu = HatchedPointingAt(8, 5);
    for (tcellpos c : {tcellpos(4, 5), tcellpos(12, 5), tcellpos(8, 9), tcellpos(5, 3), tcellpos(8, 5)})
        EXPECT_TRUE(medu.count(c)) << c.first << "," << c.second;
    for (tcellpos c : {tcellpos(3, 5), tcellpos(13, 5), tcellpos(4, 2), tcellpos(2, 2)})
        EXPECT_FALSE(medu.count(c)) << c.first << "," << c.second;

    // The 2x2 Shark at (8, 1) strikes its neighbours: after a step, the
    // block two cells wider on every side, within the playable board.
    std::set<tcellpos> shark = HatchedPointingAt(9, 2);
    std::set<tcellpos> block;
    for (int y = 1; y <= 4; ++y)
        for (int x = 6; x <= 11; ++x) block.emplace(x, y);
    EXPECT_EQ(shark, block);

    // Own units and empty water show nothing; T shows every enemy's at once.
    EXPECT_TRUE(HatchedPointingAt(2, 2).empty());
    EXPECT_TRUE(HatchedPointingAt(12, 8).empty());
    // So does a gamepad's left trigger held.
    std::set<tcellpos> both = medu;
    both.insert(block.begin(), block.end());
    for (int key : {kKeyT, static_cast<int>(TIDEK_PAD_LT)}) {
        w.hl->Key(key, true);
        std::set<tcellpos> all = HatchedPointingAt(12, 8);
        w.hl->Key(key, false);
        EXPECT_EQ(all, both) << key;
        EXPECT_TRUE(HatchedPointingAt(12, 8).empty());
    }
}

TEST_F(BoardViewTest, HealthNumbersAreDrawnOverTheCrosshairAndTheDamagePreview) {
    w.Start({{"Aqua", 2, 5}, {"Medu", 5, 5}, {"Medu", 5, 4}});
    w.MakeActing(w.UnitAt(2, 5));
    HatchedPointingAt(5, 5);  // over the enemy in reach: crosshair and preview
    HTEXTURE font = cGame::GetFont1()->hTexture;
    int cross = QuadIndex(w, w.Texture("cursor_attack"), true);
    int tag = QuadIndex(w, w.Texture("damage_tag_kill"), true);
    ASSERT_GE(cross, 0);
    ASSERT_GE(tag, 0);
    ASSERT_LT(tag, cross);
    // After the crosshair: the three health numbers, one digit each.
    const std::vector<tideQuad>& q = w.hl->Quads();
    int digits = 0;
    for (std::size_t i = static_cast<std::size_t>(cross) + 1; i < q.size(); ++i) digits += q[i].tex == font;
    EXPECT_EQ(digits, 3);
}
