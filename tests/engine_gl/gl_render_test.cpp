// The real renderer, checked pixel by pixel through frame snapshots.
#include <gtest/gtest.h>

#include <climits>

#include "engine/gl/quad_batch.h"
#include "tests/engine_gl/gl_engine.h"

namespace {

const DWORD kBlack = ARGB(255, 0, 0, 0);
const DWORD kWhite = ARGB(255, 255, 255, 255);
const DWORD kRed = ARGB(255, 255, 0, 0);
const DWORD kGreen = ARGB(255, 0, 255, 0);
const DWORD kBlue = ARGB(255, 0, 0, 255);

} // namespace

// --- Color and alpha blend bits ------------------------------------------------

class BlendModes : public GlEngineTest {
protected:
    // Draws one full-frame quad over a cleared background and returns the
    // centre pixel.
    DWORD Over(DWORD background, DWORD col, HTEXTURE tex, int blend) {
        Begin(background);
        Draw(0, 0, kW, kH, col, tex, blend);
        return At(Finish(), kW / 2, kH / 2);
    }
};

TEST_F(BlendModes, MultiplyByWhiteLeavesTheTexel) {
    HTEXTURE tex = Texture(4, 4, ARGB(255, 0x33, 0x66, 0x99));
    EXPECT_TRUE(ColorNear(Over(kBlack, kWhite, tex, BLEND_DEFAULT), ARGB(255, 0x33, 0x66, 0x99)));
}

TEST_F(BlendModes, ColorAddWithBlackLeavesTheTexel) {
    HTEXTURE tex = Texture(4, 4, ARGB(255, 0x33, 0x66, 0x99));
    EXPECT_TRUE(ColorNear(Over(kWhite, kBlack, tex, BLEND_COLORADD | BLEND_ALPHABLEND),
                          ARGB(255, 0x33, 0x66, 0x99)));
}

TEST_F(BlendModes, ColorAddSumsAndSaturatesWhileMultiplyScales) {
    HTEXTURE tex = Texture(4, 4, ARGB(255, 0x40, 0x80, 0xC0));
    EXPECT_TRUE(ColorNear(Over(kBlack, ARGB(255, 0x20, 0x10, 0x80), tex,
                               BLEND_COLORADD | BLEND_ALPHABLEND),
                          ARGB(255, 0x60, 0x90, 0xFF)));
    EXPECT_TRUE(ColorNear(Over(kBlack, ARGB(255, 0xFF, 0x80, 0x00), tex, BLEND_DEFAULT),
                          ARGB(255, 0x40, 0x40, 0x00)));
}

TEST_F(BlendModes, ColorAddStillMultipliesAlpha) {
    // Texel alpha 1/2 times vertex alpha 1 over black: half the summed color.
    HTEXTURE tex = Texture(4, 4, ARGB(128, 0xC0, 0x00, 0x00));
    EXPECT_TRUE(ColorNear(Over(kBlack, ARGB(255, 0x00, 0x00, 0x40), tex,
                               BLEND_COLORADD | BLEND_ALPHABLEND),
                          ARGB(255, 0x60, 0x00, 0x20), 2));
    // Vertex alpha scales it the same way.
    HTEXTURE opaque = Texture(4, 4, ARGB(255, 0xC0, 0x00, 0x00));
    EXPECT_TRUE(ColorNear(Over(kBlack, ARGB(128, 0x00, 0x00, 0x40), opaque,
                               BLEND_COLORADD | BLEND_ALPHABLEND),
                          ARGB(255, 0x60, 0x00, 0x20), 2));
}

TEST_F(BlendModes, UntexturedQuadShowsItsVertexColorInBothColorModes) {
    const DWORD col = ARGB(255, 0x12, 0x34, 0x56);
    EXPECT_TRUE(ColorNear(Over(kBlack, col, 0, BLEND_DEFAULT), col));
    EXPECT_TRUE(ColorNear(Over(kBlack, col, 0, BLEND_COLORADD | BLEND_ALPHABLEND), col));
}

TEST_F(BlendModes, AlphaBlendMixesWhileAdditiveAdds) {
    const DWORD background = ARGB(255, 0, 0, 200);
    const DWORD halfRed = ARGB(128, 200, 0, 0);
    // src * a + dst * (1 - a)
    EXPECT_TRUE(ColorNear(Over(background, halfRed, 0, BLEND_ALPHABLEND), ARGB(255, 100, 0, 100), 2));
    // src * a + dst
    EXPECT_TRUE(ColorNear(Over(background, halfRed, 0, BLEND_ALPHAADD), ARGB(255, 100, 0, 200), 2));
    // Additive light saturates instead of wrapping.
    EXPECT_TRUE(ColorNear(Over(ARGB(255, 200, 0, 0), ARGB(255, 200, 0, 0), 0, BLEND_ALPHAADD),
                          ARGB(255, 255, 0, 0)));
}

// Opaque quads are drawn unblended, as blending them changes nothing; one
// translucent vertex or texel anywhere in a run, or pixels changed since,
// must still blend.
TEST_F(BlendModes, TranslucencyAnywhereInARunStillBlends) {
    const DWORD background = ARGB(255, 0, 0, 200);
    HTEXTURE tex = Texture(2, 2, ARGB(255, 200, 0, 0));
    Begin(background);
    Draw(0, 0, 8, 8, kWhite, tex, BLEND_DEFAULT);
    Draw(8, 0, 16, 8, ARGB(128, 255, 255, 255), tex, BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), ARGB(255, 200, 0, 0)));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), ARGB(255, 100, 0, 100), 2));

    Fill(tex, {ARGB(255, 200, 0, 0), ARGB(0, 0, 0, 0), ARGB(255, 200, 0, 0), ARGB(255, 200, 0, 0)});
    Begin(background);
    Draw(0, 0, 2, 2, kWhite, tex, BLEND_DEFAULT);  // texel for pixel
    shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 0, 0), ARGB(255, 200, 0, 0), 2));
    EXPECT_TRUE(ColorNear(At(shot, 1, 0), background, 2)) << "the clear texel hides what lies below";
}

// --- Depth ---------------------------------------------------------------------

class Depth : public GlEngineTest {
protected:
    // A near quad then a farther one over the same pixels; the visible color.
    DWORD NearThenFar(int nearBlend, float farZ = 0.8f) {
        Begin(kBlack);
        Draw(0, 0, kW, kH, kRed, 0, nearBlend, 0.2f);
        Draw(0, 0, kW, kH, kGreen, 0, BLEND_DEFAULT, farZ);
        return At(Finish(), 5, 5);
    }
};

TEST_F(Depth, WrittenDepthHidesLaterFartherQuads) {
    EXPECT_TRUE(ColorNear(NearThenFar(BLEND_DEFAULT | BLEND_ZWRITE), kRed));
}

TEST_F(Depth, WithoutDepthWriteLaterQuadsPaintOver) {
    EXPECT_TRUE(ColorNear(NearThenFar(BLEND_DEFAULT), kGreen));
}

TEST_F(Depth, EqualOrNearerQuadsPassTheTest) {
    EXPECT_TRUE(ColorNear(NearThenFar(BLEND_DEFAULT | BLEND_ZWRITE, 0.2f), kGreen));
    EXPECT_TRUE(ColorNear(NearThenFar(BLEND_DEFAULT | BLEND_ZWRITE, 0.1f), kGreen));
}

TEST_F(Depth, EachSceneStartsWithAClearDepthBuffer) {
    tide->Gfx_BeginScene(0);
    Draw(0, 0, kW, kH, kRed, 0, BLEND_DEFAULT | BLEND_ZWRITE, 0.0f);
    tide->Gfx_EndScene();
    // No Gfx_Clear: only the scene start may reset the depth.
    tide->Gfx_BeginScene(0);
    Draw(0, 0, kW, kH, kGreen, 0, BLEND_DEFAULT, 0.9f);
    EXPECT_TRUE(ColorNear(At(Finish(), 5, 5), kGreen));
}

TEST_F(Depth, ClearResetsDepthWithinAScene) {
    tide->Gfx_BeginScene(0);
    Draw(0, 0, kW, kH, kRed, 0, BLEND_DEFAULT | BLEND_ZWRITE, 0.0f);
    tide->Gfx_Clear(kBlack);
    Draw(0, 0, kW, kH, kGreen, 0, BLEND_DEFAULT, 0.9f);
    EXPECT_TRUE(ColorNear(At(Finish(), 5, 5), kGreen));
}

// Every quad is tested, with or without the bit, in the screen and in targets
// with a depth buffer; a target without one hides nothing.
TEST_F(Depth, TargetsTestDepthOnlyWhenMadeWithADepthBuffer) {
    for (bool zbuffer : {true, false}) {
        HTARGET target = tide->Target_Create(16, 16, zbuffer);
        ASSERT_NE(target, 0u);
        ASSERT_TRUE(tide->Gfx_BeginScene(target));
        tide->Gfx_Clear(kBlack);
        Draw(0, 0, 16, 16, kRed, 0, BLEND_DEFAULT | BLEND_ZWRITE, 0.5f);
        Draw(0, 0, 16, 16, kGreen, 0, BLEND_DEFAULT, 0.7f);
        tide->Gfx_EndScene();
        Begin(kBlack);
        Draw(0, 0, 16, 16, kWhite, tide->Target_GetTexture(target), BLEND_DEFAULT);
        EXPECT_TRUE(ColorNear(At(Finish(), 8, 8), zbuffer ? kRed : kGreen)) << zbuffer;
        tide->Target_Free(target);
    }
}

// --- Batching ------------------------------------------------------------------

// Both with the engine's shortcut for quads continuing a run (real time) and
// without it (scripted).
class Batching : public GlEngineTest, public ::testing::WithParamInterface<bool> {
protected:
    bool ManualClock() const override { return GetParam(); }
    // One 1x1 quad per pixel, `passes` times over the frame; in the last pass
    // each pixel gets a color of its own. Quad i uses state `style(i)`.
    template <class Style>
    void PaintPasses(int passes, Style style) {
        Begin(kBlack);
        int i = 0;
        for (int pass = 0; pass < passes; pass++)
            for (int p = 0; p < kW * kH; p++, i++) {
                DWORD col = pass + 1 < passes ? kRed : Expected(p);
                auto [tex, blend] = style(i);
                Draw(float(p % kW), float(p / kW), float(p % kW + 1), float(p / kW + 1), col, tex,
                     blend);
            }
        tide->Gfx_EndScene();
    }
    static DWORD Expected(int p) { return ARGB(255, p & 0xFF, (p >> 8) * 16, 0x77); }
    void CheckEveryPixel() {
        std::vector<DWORD> shot = Shot();
        int wrong = 0;
        for (int p = 0; p < kW * kH; p++)
            if (!ColorNear(At(shot, p % kW, p / kW), Expected(p), 0) && wrong++ < 5)
                ADD_FAILURE() << "pixel " << p << ": " << ColorNear(At(shot, p % kW, p / kW),
                                                                  Expected(p), 0).message();
        EXPECT_EQ(wrong, 0);
    }
};

TEST_P(Batching, OneStatePastTheBufferCapacityLosesNoQuad) {
    ASSERT_GT(2 * kW * kH, tideQuadBatch::kCapacity);
    PaintPasses(2, [](int) { return std::pair<HTEXTURE, int>(0, BLEND_DEFAULT); });
    CheckEveryPixel();
}

TEST_P(Batching, AlternatingTexturesAndBlendModesKeepSubmissionOrder) {
    // Every style shows the plain vertex color on an opaque quad, so only the
    // order of drawing decides which pass a pixel shows.
    HTEXTURE white1 = Texture(2, 2, kWhite), white2 = Texture(2, 2, kWhite);
    HTEXTURE black = Texture(2, 2, kBlack);
    const std::pair<HTEXTURE, int> styles[] = {
        {white1, BLEND_DEFAULT},
        {0, BLEND_DEFAULT | BLEND_ZWRITE},
        {black, BLEND_COLORADD | BLEND_ALPHABLEND},
        {white2, BLEND_DEFAULT | BLEND_ZWRITE},
        {0, BLEND_COLORADD | BLEND_ALPHABLEND},
    };
    // Changing every quad, and in runs that end inside a full buffer.
    PaintPasses(3, [&](int i) { return styles[i % 5]; });
    CheckEveryPixel();
    PaintPasses(3, [&](int i) { return styles[(i / 1500) % 5]; });
    CheckEveryPixel();
}

INSTANTIATE_TEST_SUITE_P(Clock, Batching, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Scripted" : "RealTime"; });

// --- Textures ------------------------------------------------------------------

class Textures : public GlEngineTest, public ::testing::WithParamInterface<bool> {
protected:
    bool ManualClock() const override { return GetParam(); }
};
INSTANTIATE_TEST_SUITE_P(Clock, Textures, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Scripted" : "RealTime"; });

TEST_F(GlEngineTest, TextureRowZeroIsTheTopOfTheQuad) {
    HTEXTURE tex = Texture(2, 2, {kRed, kGreen, kBlue, kWhite});
    Begin(kBlack);
    Draw(0, 0, 16, 16, kWhite, tex, BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 2, 2), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 13, 2), kGreen));
    EXPECT_TRUE(ColorNear(At(shot, 2, 13), kBlue));
    EXPECT_TRUE(ColorNear(At(shot, 13, 13), kWhite));
    EXPECT_TRUE(ColorNear(At(shot, 20, 20), kBlack));
}

TEST_P(Textures, ChangedPixelsShowFromTheNextQuadOn) {
    HTEXTURE tex = Texture(2, 2, kRed);
    Begin(kBlack);
    Draw(0, 0, 8, 8, kWhite, tex, BLEND_DEFAULT);
    // Quads drawn before the change keep the old pixels.
    Fill(tex, std::vector<DWORD>(4, kGreen));
    Draw(8, 0, 16, 8, kWhite, tex, BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), kGreen));
}

TEST_P(Textures, FreedOrUnknownTextureDrawsAsUntextured) {
    HTEXTURE tex = Texture(2, 2, kRed);
    Begin(kBlack);
    Draw(0, 0, 8, 8, kWhite, tex, BLEND_DEFAULT);
    tide->Texture_Free(tex);
    Draw(8, 0, 16, 8, kBlue, tex, BLEND_DEFAULT);
    Draw(16, 0, 24, 8, kGreen, 12345, BLEND_COLORADD | BLEND_ALPHABLEND);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), kBlue));
    EXPECT_TRUE(ColorNear(At(shot, 20, 4), kGreen));
}

TEST_P(Textures, RecordedQuadsAreKeptInsteadOfDrawnEvenMidRun) {
    HTEXTURE tex = Texture(2, 2, kWhite);
    Begin(kBlack);
    Draw(0, 0, 8, 8, kRed, tex, BLEND_DEFAULT);
    std::vector<tideQuad> kept;
    tide->Gfx_Record(&kept);
    // The same texture and blend: in real time this continues the run.
    Draw(8, 0, 16, 8, kGreen, tex, BLEND_DEFAULT);
    // A recording inside gives the outer one back when it ends.
    std::vector<tideQuad> inner;
    tide->Gfx_Record(&inner);
    Draw(40, 0, 48, 8, kRed, tex, BLEND_DEFAULT);
    tide->Gfx_Record(nullptr);
    EXPECT_EQ(inner.size(), 1u);
    Draw(16, 0, 24, 8, kBlue, 0, BLEND_DEFAULT);
    tide->Gfx_Record(nullptr);
    Draw(24, 0, 32, 8, kRed, tex, BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), kBlack));
    EXPECT_TRUE(ColorNear(At(shot, 20, 4), kBlack));
    EXPECT_TRUE(ColorNear(At(shot, 28, 4), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 44, 4), kBlack));
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].tex, tex);
    EXPECT_EQ(kept[1].v[0].col, kBlue);

    // Played back, they draw as they would have.
    Begin(kBlack);
    for (const tideQuad& q : kept) tide->Gfx_RenderQuad(&q);
    shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), kGreen));
    EXPECT_TRUE(ColorNear(At(shot, 20, 4), kBlue));
}

// --- Render targets ------------------------------------------------------------

TEST_F(GlEngineTest, TargetTextureShowsWhatWasRenderedIntoIt) {
    HTARGET target = tide->Target_Create(16, 16, true);
    ASSERT_NE(target, 0u);
    ASSERT_TRUE(tide->Gfx_BeginScene(target));
    tide->Gfx_Clear(kRed);
    Draw(0, 0, 8, 8, kGreen, 0, BLEND_DEFAULT | BLEND_ZWRITE, 0.1f);
    Draw(0, 0, 16, 16, kBlue, 0, BLEND_DEFAULT, 0.5f); // hidden where the depth was written
    tide->Gfx_EndScene();

    Begin(kBlack);
    Draw(0, 0, 16, 16, kWhite, tide->Target_GetTexture(target), BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 2, 2), kGreen));
    EXPECT_TRUE(ColorNear(At(shot, 12, 12), kBlue));
    EXPECT_TRUE(ColorNear(At(shot, 30, 30), kBlack));
    tide->Target_Free(target);
}

// A target whose alpha was filled over all of it draws as an opaque picture;
// translucent quads drawn into it afterwards leave partial alpha there again,
// which must show what lies below when the target is drawn.
TEST_F(GlEngineTest, TargetAlphaFollowsWhatWasLastDrawnIntoIt) {
    HTARGET target = tide->Target_Create(16, 16, false);
    ASSERT_NE(target, 0u);
    HTEXTURE tex = tide->Target_GetTexture(target);
    ASSERT_TRUE(tide->Gfx_BeginScene(target));
    tide->Gfx_Clear(0);
    Draw(0, 0, 16, 16, ARGB(128, 255, 0, 0), 0, BLEND_DEFAULT);
    Draw(0, 0, 16, 16, ARGB(255, 0, 0, 0), 0, BLEND_ALPHAADD);  // alpha filled
    tide->Gfx_EndScene();
    Begin(kBlue);
    Draw(0, 0, 16, 16, kWhite, tex, BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), ARGB(255, 128, 0, 0), 2));

    ASSERT_TRUE(tide->Gfx_BeginScene(target));
    Draw(8, 0, 16, 16, ARGB(128, 0, 255, 0), 0, BLEND_DEFAULT);
    tide->Gfx_EndScene();
    Begin(kBlue);
    Draw(0, 0, 16, 16, kWhite, tex, BLEND_DEFAULT);
    shot = Finish();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), ARGB(255, 128, 0, 0), 2));
    // Colour (64, 128, 0) at alpha 3/4 over blue.
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), ARGB(255, 48, 96, 64), 3));
    tide->Target_Free(target);
}

// Clipping keeps quads and clears inside its rectangle until the scene ends.
// Inside a target, a clipped clear takes the target's full alpha away only
// there, and a fill of alpha over the rectangle gives it back.
TEST_F(GlEngineTest, ClippingKeepsQuadsAndClearsInsideItsRectangle) {
    Begin(kBlack);
    tide->Gfx_SetClipping(8, 4, 16, 8);
    Draw(0, 0, kW, kH, kWhite, 0, BLEND_DEFAULT);
    tide->Gfx_Clear(kRed);  // over the white, inside only
    tide->Gfx_SetClipping(0, 0, 4, 4);
    Draw(0, 0, kW, kH, kGreen, 0, BLEND_DEFAULT);
    tide->Gfx_SetClipping(INT_MAX - 8, INT_MAX - 8, 64, 64);
    tide->Gfx_Clear(kRed);  // far off the frame: clears nothing
    tide->Gfx_SetClipping();
    Draw(40, 30, 48, 38, kBlue, 0, BLEND_DEFAULT);
    std::vector<DWORD> shot = Finish();
    const struct {
        int x, y;
        DWORD want;
    } pixels[] = {{8, 4, kRed},   {23, 11, kRed}, {24, 11, kBlack}, {23, 12, kBlack},
                  {7, 6, kBlack}, {2, 2, kGreen}, {4, 2, kBlack},   {44, 34, kBlue}};
    for (const auto& p : pixels)
        EXPECT_TRUE(ColorNear(At(shot, p.x, p.y), p.want)) << p.x << "," << p.y;
    Begin(kBlack);  // a new scene starts whole
    Draw(0, 0, kW, kH, kWhite, 0, BLEND_DEFAULT);
    EXPECT_TRUE(ColorNear(At(Finish(), 40, 30), kWhite));

    HTARGET target = tide->Target_Create(16, 16, false);
    ASSERT_NE(target, 0u);
    HTEXTURE tex = tide->Target_GetTexture(target);
    const auto fillAlpha = [&] { Draw(0, 0, 16, 16, ARGB(255, 0, 0, 0), 0, BLEND_ALPHAADD); };
    const auto overBlue = [&] {
        Begin(kBlue);
        Draw(0, 0, 16, 16, kWhite, tex, BLEND_DEFAULT);
        return Finish();
    };
    const auto rightHalf = [&](DWORD clear, DWORD col) {
        ASSERT_TRUE(tide->Gfx_BeginScene(target));
        tide->Gfx_SetClipping(8, 0, 8, 16);
        tide->Gfx_Clear(clear);
        Draw(0, 0, 16, 16, col, 0, BLEND_DEFAULT);
        if (GETA(col)) fillAlpha();
        tide->Gfx_EndScene();
    };
    ASSERT_TRUE(tide->Gfx_BeginScene(target));
    tide->Gfx_Clear(0);
    Draw(0, 0, 16, 16, kRed, 0, BLEND_DEFAULT);
    fillAlpha();
    tide->Gfx_EndScene();
    rightHalf(0, 0);
    shot = overBlue();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), kBlue));  // cleared to nothing
    rightHalf(0, ARGB(128, 0, 255, 0));
    shot = overBlue();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), kRed));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), ARGB(255, 0, 128, 0), 2));  // opaque again
    // Filled inside, the target is still translucent outside.
    ASSERT_TRUE(tide->Gfx_BeginScene(target));
    tide->Gfx_Clear(0);
    Draw(0, 0, 8, 16, ARGB(128, 0, 255, 0), 0, BLEND_DEFAULT);
    tide->Gfx_EndScene();
    rightHalf(kRed, kRed);
    shot = overBlue();
    EXPECT_TRUE(ColorNear(At(shot, 4, 4), ARGB(255, 0, 32, 191), 3));
    EXPECT_TRUE(ColorNear(At(shot, 12, 4), kRed));
    tide->Target_Free(target);
}

// --- Snapshots -----------------------------------------------------------------

TEST_F(GlEngineTest, SnapshotIsTheLastFinishedFrameAtTheLogicalSize) {
    Begin(kBlue);
    tide->Gfx_EndScene();
    Begin(kRed);
    std::vector<DWORD> shot = Finish();
    ASSERT_EQ(shot.size(), size_t(kW * kH));
    EXPECT_TRUE(ColorNear(At(shot, 0, 0), kRed));
    EXPECT_TRUE(ColorNear(At(shot, kW - 1, kH - 1), kRed));
}

TEST_F(GlEngineTest, SnapshotIntoAMissingFolderFailsSafely) {
    tide->Gfx_BeginScene(0);
    tide->Gfx_EndScene();
    std::string path = dir + "/no/such/folder/shot.png";
    EXPECT_FALSE(tide->Gfx_Snapshot(path.c_str()));
}
