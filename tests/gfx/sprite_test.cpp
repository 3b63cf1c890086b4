#include <cmath>

#include "gfx/sprite.h"
#include "tests/gfx/gfx_fixture.h"

class SpriteTest : public GfxTest {
protected:
    HTEXTURE tex = tide->Texture_Create(256, 128);
};

TEST_F(SpriteTest, ConstructionNormalisesTheTextureRect) {
    tideSprite s(tex, 64, 32, 32, 16);
    EXPECT_UV(s.quad.v[0], 0.25f, 0.25f);
    EXPECT_UV(s.quad.v[1], 0.375f, 0.25f);
    EXPECT_UV(s.quad.v[2], 0.375f, 0.375f);
    EXPECT_UV(s.quad.v[3], 0.25f, 0.375f);
    for (const tideVertex& v : s.quad.v) {
        EXPECT_EQ(v.col, 0xFFFFFFFFu);
        EXPECT_FLOAT_EQ(v.z, 0.5f);
    }
    EXPECT_EQ(s.GetBlendMode(), 2);
    EXPECT_EQ(s.GetTexture(), tex);

    // Without a texture the rectangle is taken as already normalised.
    tideSprite u(0, 0, 0, 2, 3);
    EXPECT_FLOAT_EQ(u.tex_width, 1.0f);
    EXPECT_UV(u.quad.v[2], 2.0f, 3.0f);
}

TEST_F(SpriteTest, RenderPlacesTheHotSpot) {
    tideSprite s(tex, 64, 32, 32, 16);
    s.SetHotSpot(16, 8);
    s.Render(100, 100);
    ASSERT_EQ(Quads().size(), 1u);
    const tideQuad& q = Quads()[0];
    EXPECT_POS(q.v[0], 84, 92);
    EXPECT_POS(q.v[1], 116, 92);
    EXPECT_POS(q.v[2], 116, 108);
    EXPECT_POS(q.v[3], 84, 108);
    EXPECT_EQ(q.tex, tex);
    EXPECT_UV(q.v[0], 0.25f, 0.25f);

    // Drawn twice: each call submits its own corners.
    s.Render(0, 0);
    ASSERT_EQ(Quads().size(), 2u);
    EXPECT_POS(Quads()[1].v[0], -16, -8);
    EXPECT_POS(Quads()[0].v[0], 84, 92);
}

TEST_F(SpriteTest, RenderExScalesAroundTheHotSpotAndZeroVscaleFollowsHscale) {
    tideSprite s(tex, 64, 32, 32, 16);
    s.SetHotSpot(16, 8);
    s.RenderEx(100, 100, 0, 2, 0);
    const tideQuad& q = Quads().at(0);
    EXPECT_POS(q.v[0], 68, 84);
    EXPECT_POS(q.v[2], 132, 116);

    tideRect r;
    s.GetBoundingBoxEx(100, 100, 0, 2, 0, &r);
    EXPECT_FLOAT_EQ(r.x1, 68);
    EXPECT_FLOAT_EQ(r.x2, 132);
    EXPECT_FLOAT_EQ(r.y1, 100); // vscale 0 taken literally: zero height
    EXPECT_FLOAT_EQ(r.y2, 100);
}

TEST_F(SpriteTest, RenderExRotatesEachCornerAboutTheHotSpot) {
    const float half_pi = 1.5707963f;
    tideSprite s(tex, 0, 0, 32, 16);
    s.SetHotSpot(16, 8);
    s.RenderEx(200, 100, half_pi, 1, 3);
    // Offsets before rotation: (-16,-24) (16,-24) (16,24) (-16,24); a quarter
    // turn maps (a, b) to (-b, a).
    const tideQuad& q = Quads().at(0);
    const float ex[4][2] = {{224, 84}, {224, 116}, {176, 116}, {176, 84}};
    for (int i = 0; i < 4; i++) {
        EXPECT_NEAR(q.v[i].x, ex[i][0], 1e-3f) << i;
        EXPECT_NEAR(q.v[i].y, ex[i][1], 1e-3f) << i;
    }
    tideRect r;
    s.GetBoundingBoxEx(200, 100, half_pi, 1, 3, &r);
    EXPECT_NEAR(r.x1, 176, 1e-3f);
    EXPECT_NEAR(r.x2, 224, 1e-3f);
    EXPECT_NEAR(r.y1, 84, 1e-3f);
    EXPECT_NEAR(r.y2, 116, 1e-3f);
}

TEST_F(SpriteTest, StretchAndFourCornersIgnoreTheHotSpot) {
    tideSprite s(tex, 0, 0, 32, 16);
    s.SetHotSpot(16, 8);
    s.RenderStretch(10, 20, 50, 60);
    s.Render4V(1, 2, 3, 4, 5, 6, 7, 8);
    ASSERT_EQ(Quads().size(), 2u);
    EXPECT_POS(Quads()[0].v[0], 10, 20);
    EXPECT_POS(Quads()[0].v[1], 50, 20);
    EXPECT_POS(Quads()[0].v[2], 50, 60);
    EXPECT_POS(Quads()[0].v[3], 10, 60);
    for (int i = 0; i < 4; i++) EXPECT_POS(Quads()[1].v[i], 1 + 2 * i, 2 + 2 * i);
}

TEST_F(SpriteTest, FlipsSwapTextureCoordinatesOnceAndRestore) {
    tideSprite s(tex, 64, 32, 32, 16);
    tideQuad start = s.quad;
    s.SetFlip(true, false, false);
    s.SetFlip(true, false, false);
    EXPECT_UV(s.quad.v[0], 0.375f, 0.25f);
    EXPECT_UV(s.quad.v[1], 0.25f, 0.25f);
    EXPECT_UV(s.quad.v[2], 0.25f, 0.375f);
    EXPECT_UV(s.quad.v[3], 0.375f, 0.375f);

    s.SetFlip(true, true, false);
    EXPECT_UV(s.quad.v[0], 0.375f, 0.375f);
    EXPECT_UV(s.quad.v[2], 0.25f, 0.25f);
    bool fx, fy;
    s.GetFlip(&fx, &fy);
    EXPECT_TRUE(fx);
    EXPECT_TRUE(fy);

    s.SetFlip(false, false, false);
    for (int i = 0; i < 4; i++) EXPECT_UV(s.quad.v[i], start.v[i].tx, start.v[i].ty);
}

TEST_F(SpriteTest, HotSpotMirrorsOnlyWhenItsFlagChangesOnAFlippedSprite) {
    tideSprite s(tex, 0, 0, 32, 16);
    s.SetHotSpot(4, 2);
    s.SetFlip(true, true, false);
    float hx, hy;
    s.GetHotSpot(&hx, &hy);
    EXPECT_EQ(hx, 4);
    EXPECT_EQ(hy, 2);

    s.SetFlip(true, true, true); // flag turned on: mirrored
    s.GetHotSpot(&hx, &hy);
    EXPECT_EQ(hx, 28);
    EXPECT_EQ(hy, 14);

    s.SetFlip(true, true, true); // unchanged flag: stays
    s.GetHotSpot(&hx, &hy);
    EXPECT_EQ(hx, 28);

    s.SetFlip(true, false, false); // flag off again: restored on both axes
    s.GetHotSpot(&hx, &hy);
    EXPECT_EQ(hx, 4);
    EXPECT_EQ(hy, 2);
}

TEST_F(SpriteTest, SetTextureRenormalisesOnlyOnASizeChange) {
    tideSprite s(tex, 64, 32, 32, 16);
    HTEXTURE same = tide->Texture_Create(256, 128);
    s.SetTexture(same);
    EXPECT_EQ(s.GetTexture(), same);
    EXPECT_UV(s.quad.v[0], 0.25f, 0.25f);

    s.SetFlip(true, false, false);
    HTEXTURE wide = tide->Texture_Create(512, 128);
    s.SetTexture(wide);
    EXPECT_FLOAT_EQ(s.tex_width, 512);
    // u halves; the flip survives because the corners are read as they stand.
    EXPECT_UV(s.quad.v[0], 0.1875f, 0.25f);
    EXPECT_UV(s.quad.v[1], 0.125f, 0.25f);
    EXPECT_UV(s.quad.v[2], 0.125f, 0.375f);

    s.SetTexture(0);
    EXPECT_FLOAT_EQ(s.tex_width, 1);
    EXPECT_UV(s.quad.v[0], 96.0f, 32.0f);
}

TEST_F(SpriteTest, SetTextureRectKeepsFlipsAndOptionallyTheSize) {
    tideSprite s(tex, 0, 0, 32, 16);
    s.SetFlip(true, false, false);
    s.SetTextureRect(128, 64, 64, 32, false);
    EXPECT_EQ(s.GetWidth(), 32); // drawn size kept
    EXPECT_EQ(s.GetHeight(), 16);
    EXPECT_UV(s.quad.v[0], 0.75f, 0.5f); // still flipped
    EXPECT_UV(s.quad.v[1], 0.5f, 0.5f);
    EXPECT_UV(s.quad.v[2], 0.5f, 0.75f);
    bool fx, fy;
    s.GetFlip(&fx, &fy);
    EXPECT_TRUE(fx);
    EXPECT_FALSE(fy);

    s.SetTextureRect(0, 0, 64, 64, true);
    float x, y, w, h;
    s.GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 64);
    s.Render(0, 0);
    EXPECT_POS(Quads().at(0).v[2], 64, 64);
}

TEST_F(SpriteTest, ColorAndDepthPerVertexOrAll) {
    tideSprite s(tex, 0, 0, 8, 8);
    s.SetColor(0x80FF0000);
    for (int i = 0; i < 4; i++) EXPECT_EQ(s.GetColor(i), 0x80FF0000u);
    s.SetColor(0xFF00FF00, 2);
    EXPECT_EQ(s.GetColor(2), 0xFF00FF00u);
    EXPECT_EQ(s.GetColor(1), 0x80FF0000u);
    s.SetZ(0.25f, 3);
    s.SetBlendMode(5);
    s.Render(0, 0);
    const tideQuad& q = Quads().at(0);
    EXPECT_EQ(q.v[2].col, 0xFF00FF00u);
    EXPECT_EQ(q.v[0].col, 0x80FF0000u);
    EXPECT_FLOAT_EQ(q.v[3].z, 0.25f);
    EXPECT_FLOAT_EQ(q.v[0].z, 0.5f);
    EXPECT_EQ(q.blend, 5);

    // Indices outside the quad are ignored, getters give 0.
    s.SetColor(0x12345678, 4);
    s.SetZ(0.9f, -2);
    EXPECT_EQ(s.GetColor(4), 0u);
    EXPECT_EQ(s.GetZ(-2), 0.0f);
    for (int i = 0; i < 4; i++) EXPECT_NE(s.GetColor(i), 0x12345678u);
}

TEST_F(SpriteTest, CopiesAreIndependent) {
    tideSprite src(tex, 64, 32, 32, 16);
    src.SetHotSpot(1, 1);
    tideSprite* copy = new tideSprite(src);
    copy->SetColor(0xFF0000FF);
    copy->SetHotSpot(10, 10);
    copy->SetFlip(true, false);
    EXPECT_EQ(src.GetColor(0), 0xFFFFFFFFu);
    float hx, hy;
    src.GetHotSpot(&hx, &hy);
    EXPECT_EQ(hx, 1);
    EXPECT_FALSE(src.bXFlip);
    EXPECT_UV(copy->quad.v[1], 0.25f, 0.25f);
    delete copy;
    src.Render(5, 5); // the source still works after the copy is gone
    EXPECT_EQ(Quads().size(), 1u);
}
