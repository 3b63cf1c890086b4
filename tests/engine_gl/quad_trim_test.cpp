// The renderer trims blended quads to the texels of their texture that are
// not fully transparent: every quad must look exactly as drawn whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/gl/gl_renderer.h"
#include "tests/engine_gl/gl_engine.h"

namespace {

const DWORD kClear = ARGB(0, 255, 0, 255); // transparent, but a colour filtering would show

// 24 x 24, covered only in [8,16) x [6,14), with translucent texels.
std::vector<DWORD> Sprite() {
    std::vector<DWORD> px(24 * 24, kClear);
    for (int y = 6; y < 14; y++)
        for (int x = 8; x < 16; x++)
            px[size_t(y * 24 + x)] = ARGB((x + y) % 3 ? 255 : 96, x * 15, y * 17, 200 - x * 5);
    return px;
}

// 16 x 16, an opaque border round a transparent middle.
std::vector<DWORD> Ring() {
    std::vector<DWORD> px(16 * 16, kClear);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            if (x < 2 || y < 2 || x > 13 || y > 13) px[size_t(y * 16 + x)] = ARGB(255, 250, 200, 20);
    return px;
}

// 32 x 16, two frames of 16 with only the last column of each covered: the
// next frame's first pixels, and (the texture repeating) the first frame's,
// mix those texels in.
std::vector<DWORD> Seams() {
    std::vector<DWORD> px(32 * 16, kClear);
    for (int y = 4; y < 12; y++) px[size_t(y * 32 + 15)] = px[size_t(y * 32 + 31)] = ARGB(255, 0, 255, 255);
    return px;
}

enum Expect { kTrims, kDrops, kWhole };

struct TrimCase {
    const char* name;
    int texture;          // 0 sprite, 1 ring, 2 seams
    float u0, v0, u1, v1; // texture rectangle in texels; u1 < u0 flips
    float cx, cy;         // centre on screen
    float scale, angle;   // pixels per texel, degrees clockwise
    DWORD col;
    int blend;
    Expect expect;
    float skew = 0;       // moves the third corner: no longer a parallelogram
};

const DWORD kWhite = ARGB(255, 255, 255, 255);

const TrimCase kCases[] = {
    {"plain", 0, 0, 0, 24, 24, 30, 24, 1, 0, kWhite, BLEND_DEFAULT, kTrims},
    {"flipped", 0, 24, 24, 0, 0, 30, 24, 1, 0, kWhite, BLEND_DEFAULT, kTrims},
    {"rotated", 0, 0, 0, 24, 24, 31.3f, 23.6f, 1, 30, kWhite, BLEND_DEFAULT, kTrims},
    {"rotated a quarter", 0, 0, 0, 24, 24, 30, 24, 1, 90, kWhite, BLEND_DEFAULT, kTrims},
    {"scaled down", 0, 0, 0, 24, 24, 20.5f, 17, 0.5f, 0, kWhite, BLEND_DEFAULT, kTrims},
    {"scaled up", 0, 0, 0, 24, 24, 32, 24, 1.75f, 0, kWhite, BLEND_DEFAULT, kTrims},
    {"colour added", 0, 0, 0, 24, 24, 30, 24, 1, 0, ARGB(255, 40, 0, 90),
     BLEND_COLORADD | BLEND_ALPHABLEND, kTrims},
    {"translucent colour", 0, 0, 0, 24, 24, 30, 24, 1, 0, ARGB(160, 255, 128, 255),
     BLEND_COLORMUL | BLEND_ALPHABLEND, kTrims},
    {"additive", 0, 0, 0, 24, 24, 30, 24, 1, 0, kWhite, BLEND_ALPHAADD, kTrims},
    {"additive colour added", 0, 0, 0, 24, 24, 30, 24, 1, 0, ARGB(200, 90, 10, 0),
     BLEND_ALPHAADD | BLEND_COLORADD, kTrims},
    {"writing depth", 0, 0, 0, 24, 24, 30, 24, 1, 0, kWhite, BLEND_DEFAULT | BLEND_ZWRITE, kWhole},
    {"hole in the middle", 1, 0, 0, 16, 16, 30, 24, 2, 0, kWhite, BLEND_DEFAULT, kWhole},
    {"transparent part", 0, 18, 16, 24, 24, 30, 24, 3, 0, kWhite, BLEND_DEFAULT, kDrops},
    {"next to a covered frame", 2, 16, 0, 32, 16, 30, 24, 2, 0, kWhite, BLEND_DEFAULT, kTrims},
    {"across the repeat's edge", 2, 0, 0, 8, 16, 30, 24, 2, 0, kWhite, BLEND_DEFAULT, kTrims},
    {"tiled twice", 0, 0, 0, 48, 24, 30, 24, 1, 0, kWhite, BLEND_DEFAULT, kWhole},
    {"not a parallelogram", 0, 0, 0, 24, 24, 30, 24, 1, 0, kWhite, BLEND_DEFAULT, kWhole, 5},
};

} // namespace

// Both with the engine's shortcut for quads continuing a run (real time) and
// without it (scripted).
class QuadTrim : public GlEngineTest, public ::testing::WithParamInterface<bool> {
protected:
    bool ManualClock() const override { return GetParam(); }
    bool Filtered() const override { return true; }

    void SetUp() override {
        GlEngineTest::SetUp();
        if (!tide) return;
        std::vector<DWORD> pattern(size_t(kW * kH));
        for (int y = 0; y < kH; y++)
            for (int x = 0; x < kW; x++)
                pattern[size_t(y * kW + x)] = ARGB(255, x * 4, y * 5, ((x ^ y) & 7) * 32);
        background = Texture(kW, kH, pattern);
        textures[0] = Texture(24, 24, Sprite());
        textures[1] = Texture(16, 16, Ring());
        textures[2] = Texture(32, 16, Seams());
    }
    void TearDown() override {
        tideGlRenderer::trimQuads = true;
        GlEngineTest::TearDown();
    }

    tideQuad QuadOf(const TrimCase& c) const {
        const HTEXTURE tex = textures[c.texture];
        const float tw = float(tide->Texture_GetWidth(tex)), th = float(tide->Texture_GetHeight(tex));
        const float hw = std::fabs(c.u1 - c.u0) * c.scale / 2, hh = std::fabs(c.v1 - c.v0) * c.scale / 2;
        const float a = c.angle * 3.14159265f / 180, ca = std::cos(a), sa = std::sin(a);
        const float xs[4] = {-hw, hw, hw + c.skew, -hw}, ys[4] = {-hh, -hh, hh, hh};
        const float us[4] = {c.u0, c.u1, c.u1, c.u0}, vs[4] = {c.v0, c.v0, c.v1, c.v1};
        tideQuad q;
        for (int i = 0; i < 4; i++)
            q.v[i] = tideVertex{c.cx + xs[i] * ca - ys[i] * sa, c.cy + xs[i] * sa + ys[i] * ca, 0.5f,
                                c.col, us[i] / tw, vs[i] / th};
        q.tex = tex;
        q.blend = c.blend;
        return q;
    }

    // The frame with `cases` drawn in order over the pattern, trimmed or not;
    // `trimmed` gets the area trimming spared.
    std::vector<DWORD> Frame(const std::vector<TrimCase>& cases, bool trim, double* trimmed = nullptr) {
        tideGlRenderer::trimQuads = trim;
        const double before = tideGlRenderer::trimmedArea;
        Begin(ARGB(255, 0, 0, 0));
        Draw(0, 0, kW, kH, kWhite, background, BLEND_DEFAULT);
        for (const TrimCase& c : cases) {
            tideQuad q = QuadOf(c);
            tide->Gfx_RenderQuad(&q);
        }
        std::vector<DWORD> shot = Finish();
        if (trimmed) *trimmed = tideGlRenderer::trimmedArea - before;
        return shot;
    }

    // The largest difference of any channel of any pixel.
    static int MaxDifference(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
        if (a.size() != b.size() || a.empty()) return 256;
        int most = 0;
        for (size_t i = 0; i < a.size(); i++)
            for (int shift = 0; shift < 32; shift += 8)
                most = std::max(most, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
        return most;
    }

    HTEXTURE background = 0;
    HTEXTURE textures[3] = {};
};
INSTANTIATE_TEST_SUITE_P(Clock, QuadTrim, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Scripted" : "RealTime"; });

TEST_P(QuadTrim, EachQuadLooksAsDrawnWhole) {
    const std::vector<DWORD> plain = Frame({}, true);
    for (const TrimCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const tideQuad q = QuadOf(c);
        const double area = std::fabs((q.v[1].x - q.v[0].x) * (q.v[3].y - q.v[0].y) -
                                      (q.v[1].y - q.v[0].y) * (q.v[3].x - q.v[0].x));
        double trimmed = 0;
        const std::vector<DWORD> whole = Frame({c}, false), shot = Frame({c}, true, &trimmed);
        EXPECT_LE(MaxDifference(shot, whole), 1);
        switch (c.expect) {
        case kTrims:
            EXPECT_GT(trimmed, area * 0.1);
            EXPECT_LT(trimmed, area);
            EXPECT_GT(MaxDifference(whole, plain), 20) << "the quad shows";
            break;
        case kDrops: EXPECT_NEAR(trimmed, area, 0.5); break;
        case kWhole: EXPECT_EQ(trimmed, 0); break;
        }
    }
}

// One after another, so that runs hold trimmed, dropped and whole quads.
TEST_P(QuadTrim, AllInOneFrameLookAsDrawnWhole) {
    const std::vector<TrimCase> all(std::begin(kCases), std::end(kCases));
    double trimmed = 0;
    const std::vector<DWORD> whole = Frame(all, false), shot = Frame(all, true, &trimmed);
    EXPECT_LE(MaxDifference(shot, whole), 1);
    EXPECT_GT(trimmed, 0);
}

// The map follows the pixels: changed within a frame, a texture's covered
// part lies elsewhere for the quads drawn after the change only.
TEST_P(QuadTrim, ChangedPixelsAreMappedAgain) {
    std::vector<DWORD> moved(24 * 24, kClear);
    for (int y = 16; y < 22; y++)
        for (int x = 1; x < 7; x++) moved[size_t(y * 24 + x)] = ARGB(255, 20, 240, 90);
    TrimCase left = kCases[0], right = kCases[0];
    left.cx = 18;
    right.cx = 46;
    std::vector<DWORD> shots[2];
    double trimmed = 0;
    for (bool trim : {false, true}) {
        tideGlRenderer::trimQuads = trim;
        Fill(textures[0], Sprite());
        const double before = tideGlRenderer::trimmedArea;
        Begin(ARGB(255, 0, 0, 0));
        Draw(0, 0, kW, kH, kWhite, background, BLEND_DEFAULT);
        for (const TrimCase* c : {&left, &right}) {
            tideQuad q = QuadOf(*c);
            tide->Gfx_RenderQuad(&q);
            if (c == &left) Fill(textures[0], moved);
        }
        shots[trim] = Finish();
        trimmed = tideGlRenderer::trimmedArea - before;
    }
    EXPECT_LE(MaxDifference(shots[1], shots[0]), 1);
    EXPECT_GT(trimmed, 24 * 24 * 0.5) << "both quads trimmed";
}
