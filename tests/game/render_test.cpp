// The battle screen: the grid texture and what the highlight and the cursor
// show for the cell under the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "tests/game/battle_world.h"

namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        w.Start({{"Aqua", 2, 2}, {"Bati", 5, 5}, {"Medu", 9, 2}, {"Shark", 9, 6}});
        w.MakeActing(w.UnitAt(2, 2));
        w.UnitAt(2, 2)->range = 10;  // every enemy in reach
    }
    // Draws with the mouse at (x, y) and returns the top-left corner and the
    // width of the one quad drawn with `sprite`.
    void Expect(float x, float y, const char* sprite, float left, float top, float width,
                bool aim) {
        w.hl->SetMouse(x, y);
        w.Frame();  // takes the mouse position
        w.Draw();
        std::vector<tideQuad> q = w.QuadsOf(sprite);
        ASSERT_EQ(q.size(), 1u) << sprite << " at " << x << "," << y;
        EXPECT_FLOAT_EQ(q[0].v[0].x, left);
        EXPECT_FLOAT_EQ(q[0].v[0].y, top);
        EXPECT_FLOAT_EQ(q[0].v[1].x - q[0].v[0].x, width);
        EXPECT_EQ(w.game->show_aim, aim);
        const char* cursor = aim ? "cursor_attack" : "cursor";
        ASSERT_EQ(w.QuadsOf(cursor).size(), 1u);
        EXPECT_FLOAT_EQ(w.QuadsOf(cursor)[0].v[0].x, x);
        EXPECT_TRUE(w.QuadsOf(aim ? "cursor" : "cursor_attack").empty());
    }
    void ExpectNo(const char* sprite) { EXPECT_TRUE(w.QuadsOf(sprite).empty()) << sprite; }

    BattleWorld w;
};

}  // namespace

// The grid's lines cover the pixels of the old window-sized grid picture
// (columns 0 to 960 from row 64 to 639, rows 64 to 640 from column 64 to
// 959) each exactly once, every pixel sampling its own row of the ramp.
TEST(Grid, LinesCoverEachGridPixelOnceWithItsRowAlpha) {
    BattleWorld w;
    w.game->MakeGrid();
    HTEXTURE t = w.game->gridtex;
    ASSERT_NE(t, 0u);
    const DWORD* px = w.eng.tide->Texture_Lock(t, true, 0, 0, 0, 0);
    ASSERT_NE(px, nullptr);
    for (auto [y, alpha] : {std::pair{0, 0u}, {64, 21u}, {320, 106u}, {639, 212u}, {640, 213u}})
        EXPECT_EQ(px[y], alpha << 24) << y;
    w.eng.tide->Texture_Unlock(t);

    w.eng.tide->Gfx_BeginScene(0);
    w.game->RenderGrid();
    w.eng.tide->Gfx_EndScene();
    std::vector<int> count(1024 * 768, 0);
    for (const tideQuad& q : w.hl->Quads()) {
        ASSERT_EQ(q.tex, t);
        int x0 = int(q.v[0].x), y0 = int(q.v[0].y), x1 = int(q.v[2].x), y1 = int(q.v[2].y);
        EXPECT_FLOAT_EQ(q.v[0].ty * 768, float(y0));
        EXPECT_FLOAT_EQ(q.v[2].ty * 768, float(y1));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) ++count[y * 1024 + x];
    }
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            bool column = x % 64 == 0 && x <= 960 && y >= 64 && y <= 639;
            bool row = y % 64 == 0 && y >= 64 && y <= 640 && x >= 64 && x <= 959;
            ASSERT_EQ(count[y * 1024 + x], column || row ? 1 : 0) << x << ", " << y;
        }
    w.game->FreeGrid();
}

TEST_F(RenderTest, SingleUnitSelected) {
    Expect(420, 100, "white", 416, 96, 32, false);           // a free cell
    Expect(164, 170, "white", 160, 160, 32, false);          // the unit itself
    Expect(600, 150, "cellglow_rose", 608, 160, 32, true);   // the Medu at (9, 2)
    ExpectNo("white");
    // The Shark's block: the 2x glow at its own size, anchored at the block's centre.
    Expect(650, 450, "cellglow_rose_2x", 640, 448, 32, true);
}

TEST_F(RenderTest, BlockSelectedPreviewsItsDestination) {
    w.MakeActing(w.UnitAt(5, 5));
    Expect(480, 352, "white", 448, 384, 64, false);  // right of its top row: a step right
    for (tcellpos p : {tcellpos(100, 100), tcellpos(360, 380), tcellpos(164, 170)}) {
        // Out of reach, its own block, an own unit: a click moves nothing there.
        w.hl->SetMouse(static_cast<float>(p.first), static_cast<float>(p.second));
        w.Frame();
        w.Draw();
        ExpectNo("white");
    }
}

TEST_F(RenderTest, NothingSelected) {
    w.game->SelectUnit(-1);
    Expect(100, 100, "white", 96, 96, 32, false);
    Expect(330, 330, "white", 384, 384, 64, false);  // the Bati's block, doubled
    Expect(600, 150, "white", 608, 160, 32, false);  // an enemy: no aim without a unit
}

TEST_F(RenderTest, PointerOffTheBoardHighlightsNothing) {
    w.hl->SetMouse(1030, 100);
    w.Frame();
    w.Draw();
    for (const char* s : {"white", "cellglow_rose", "cellglow_rose_2x"}) ExpectNo(s);
    EXPECT_EQ(w.QuadsOf("cursor").size(), 1u);
}

// The map and the grid are composed once per level into one picture, which
// is the frame's first quad over the whole window; the layers themselves are
// no longer drawn each frame.
TEST_F(RenderTest, StaticLayersAreOnePictureComposedPerLevel) {
    ASSERT_NE(w.eng.tide->Target_GetTexture(w.game->backdrop.Target()), 0u);
    w.Frame();
    w.Draw();
    // The backdrop reaches the frame inside the steady layer drawn over it.
    ASSERT_TRUE(w.game->layer.Fresh());
    const std::vector<tideQuad>& q = w.hl->Quads();
    ASSERT_FALSE(q.empty());
    EXPECT_EQ(q[0].tex, w.eng.tide->Target_GetTexture(w.game->layer.Target()));
    EXPECT_FLOAT_EQ(q[0].v[0].x, 0);
    EXPECT_FLOAT_EQ(q[0].v[0].y, 0);
    EXPECT_FLOAT_EQ(q[0].v[2].x, 1024);
    EXPECT_FLOAT_EQ(q[0].v[2].y, 768);
    EXPECT_TRUE(w.QuadsOf("map").empty());
    EXPECT_EQ(std::count_if(q.begin(), q.end(), [](const tideQuad& t) { return t.v[2].x - t.v[0].x >= 1024; }), 1);

    // A new level composes into the same target again.
    HTARGET target = w.game->backdrop.Target();
    w.game->LoadLevel(1);
    EXPECT_EQ(w.game->backdrop.Target(), target);
    EXPECT_EQ(w.QuadsOf("map").size(), 1u);  // drawn into the target just now
}

TEST_F(RenderTest, BoxOnlyOverThePlayableBoard) {
    // The turn-order bar, the rock columns and the surface strip.
    for (auto [x, y] : {std::pair{500.f, 700.f}, {30.f, 300.f}, {990.f, 300.f}, {500.f, 30.f}}) {
        w.hl->SetMouse(x, y);
        w.Frame();
        w.Draw();
        ExpectNo("white");
    }
}

TEST_F(RenderTest, EnemyOutOfReachGetsItsOwnPointer) {
    w.UnitAt(2, 2)->range = 4;
    w.hl->SetMouse(600, 150);  // the Medu, 7 cells away
    w.Frame();
    w.Draw();
    EXPECT_FALSE(w.game->show_aim);
    EXPECT_EQ(w.QuadsOf("cursor_far").size(), 1u);
    EXPECT_TRUE(w.QuadsOf("cursor_attack").empty());
    EXPECT_TRUE(w.QuadsOf("cursor").empty());
    EXPECT_TRUE(w.QuadsOf("damage_tag").empty());
}

// The board is drawn into the steady layer up to the units: the pointer's
// highlight, then the acting unit's ring, then the units, so an idle pointer
// or a glide only patches it where quads change. The layer's quads followed
// by the frame's own are, quad for quad, what the frame draws without it.
TEST_F(RenderTest, HighlightRingAndUnitsAreInTheSteadyLayer) {
    cUnit* aqua = w.UnitAt(2, 2);
    const tideCachedLayer& layer = w.game->layer;
    auto count = [&](const std::vector<tideQuad>& qs, const char* sprite) {
        HTEXTURE t = w.Texture(sprite);
        return std::count_if(qs.begin(), qs.end(), [t](const tideQuad& q) { return q.tex == t; });
    };
    auto same = [](const std::vector<tideQuad>& a, const std::vector<tideQuad>& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](const tideQuad& p, const tideQuad& q) {
                   return std::memcmp(&p, &q, sizeof p) == 0;
               });
    };
    // One frame drawn from the layer prepared for it, then without the layer.
    auto check = [&](const char* highlight) {
        w.Draw();
        ASSERT_TRUE(layer.Fresh());
        std::vector<tideQuad> layered = layer.Quads();
        const std::vector<tideQuad>& own = w.hl->Quads();
        ASSERT_FALSE(own.empty());
        EXPECT_EQ(count(layered, highlight), 1);
        EXPECT_EQ(count(own, highlight), 0);
        EXPECT_EQ(count(layered, "sel1"), 1);
        EXPECT_EQ(count(own, "sel1"), 0);
        // The highlight, then the ring, then every unit's picture last.
        const auto at = [&](const char* sprite) {
            HTEXTURE t = w.Texture(sprite);
            return std::find_if(layered.begin(), layered.end(),
                                [t](const tideQuad& q) { return q.tex == t; }) -
                   layered.begin();
        };
        const auto ring = at("sel1");
        EXPECT_EQ(at(highlight) + 1, ring);
        EXPECT_EQ(layered.end() - layered.begin() - ring - 1, std::ptrdiff_t(w.game->units.size()));
        layered.insert(layered.end(), own.begin() + 1, own.end());
        w.game->layer.Free();
        w.Draw();
        EXPECT_TRUE(same(w.hl->Quads(), layered));
        w.Frame(0);  // the layer again
    };

    for (auto [x, y, highlight] : {std::tuple{600.f, 150.f, "cellglow_rose"}, {420.f, 100.f, "white"}}) {
        SCOPED_TRACE(highlight);
        w.hl->SetMouse(x, y);
        w.Frame(0);
        check(highlight);
        const int redraws = layer.Redraws();
        for (int i = 1; i <= 8; ++i) {  // about the cell, time passing
            w.hl->SetMouse(x + i * 3, y + i * 2);
            w.Frame();
        }
        EXPECT_EQ(layer.Redraws(), redraws);
    }

    // A step right, then the pointer on the Medu: the glide only patches
    // the layer, ring and all.
    w.hl->SetMouse(3 * 64 + 32, 2 * 64 + 32);
    w.hl->Key(TIDEK_LBUTTON, true);
    w.Frame(0.01f);
    w.hl->Key(TIDEK_LBUTTON, false);
    w.hl->SetMouse(600, 150);
    w.Frame(0.01f);
    ASSERT_TRUE(aqua->Gliding());
    const int redraws = layer.Redraws(), patches = layer.Patches();
    for (int i = 0; i < 5; ++i) w.Frame(0.02f);
    ASSERT_TRUE(aqua->Gliding());
    EXPECT_EQ(layer.Redraws(), redraws);
    EXPECT_EQ(layer.Patches(), patches + 5);
    int frames = 0;
    for (; aqua->Gliding(); ++frames) {
        SCOPED_TRACE(frames);
        check("cellglow_rose");
        w.Frame(0.02f);
    }
    EXPECT_GT(frames, 0);
    check("cellglow_rose");
}
