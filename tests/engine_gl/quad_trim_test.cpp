// The renderer trims blended quads to the texels of their texture that are
// not fully transparent: every quad must look exactly as drawn whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "engine/gl/gl_renderer.h"
#include "engine/gl/quad_batch.h"
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

// 24 x 40, a figure touching every side (its bounding box is the whole
// texture) with transparent corners round its head and feet, a hole in its
// body and a gap between its legs; translucent texels here and there.
std::vector<DWORD> Figure() {
    std::vector<DWORD> px(24 * 40, kClear);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 24; x++) {
            const bool head = y < 10 && x >= 8 && x < 16;
            const bool body = y >= 10 && y < 28 && !(y >= 16 && y < 20 && x >= 10 && x < 14);
            const bool legs = y >= 28 && ((x >= 4 && x < 10) || (x >= 14 && x < 20));
            if (head || body || legs)
                px[size_t(y * 24 + x)] = ARGB((x * y) % 5 ? 255 : 120, 60 + x * 8, 250 - y * 5, x * y % 256);
        }
    return px;
}

// Trims quads only within their bounding box, or also cuts them into bands.
enum Expect { kTrims, kDrops, kWhole, kBands };

struct TrimCase {
    const char* name;
    int texture;          // 0 sprite, 1 ring, 2 seams, 3 figure
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
    {"figure", 3, 0, 0, 24, 40, 32, 24, 1, 0, kWhite, BLEND_DEFAULT, kBands},
    // The bands chosen for the figure before, 4 pixels down and 12 across.
    {"figure moved", 3, 0, 0, 24, 40, 20, 28, 1, 0, kWhite, BLEND_DEFAULT, kBands},
    {"figure flipped across", 3, 24, 0, 0, 40, 32, 24, 1, 0, kWhite, BLEND_DEFAULT, kBands},
    {"figure upside down", 3, 0, 40, 24, 0, 32, 24, 1, 0, kWhite, BLEND_DEFAULT, kBands},
    {"figure scaled up", 3, 0, 0, 24, 40, 31.3f, 23.8f, 1.15f, 0, kWhite, BLEND_DEFAULT, kBands},
    {"figure scaled down", 3, 0, 0, 24, 40, 30.6f, 22.3f, 0.7f, 0, kWhite, BLEND_DEFAULT, kBands},
    // Its edges' pixels mix in the texels across the texture's edges.
    {"figure half a pixel off", 3, 0, 0, 24, 40, 32.5f, 24.5f, 1, 0, kWhite, BLEND_DEFAULT, kBands},
    {"figure lying", 3, 0, 0, 24, 40, 32, 24, 1, 90, kWhite, BLEND_DEFAULT, kBands},
    {"figure added", 3, 0, 0, 24, 40, 32, 24, 1, 0, ARGB(170, 30, 60, 0),
     BLEND_ALPHAADD | BLEND_COLORADD, kBands},
    {"figure tilted", 3, 0, 0, 24, 40, 32, 24, 1, 10, kWhite, BLEND_DEFAULT, kWhole},
    {"figure's lower half", 3, 0, 20, 24, 40, 32, 24, 2, 0, kWhite, BLEND_DEFAULT, kBands},
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
        textures[3] = Texture(24, 40, Figure());
        // Bands wherever they spare a pixel: the most edges to meet.
        tideGlRenderer::bandCost = 0;
    }
    void TearDown() override {
        tideGlRenderer::trimQuads = true;
        tideGlRenderer::bandCost = kBandCost;
        GlEngineTest::TearDown();
    }

    tideQuad QuadOf(const TrimCase& c) const {
        const HTEXTURE tex = textures[c.texture];
        const float tw = float(tide->Texture_GetWidth(tex)), th = float(tide->Texture_GetHeight(tex));
        const float hw = std::fabs(c.u1 - c.u0) * c.scale / 2, hh = std::fabs(c.v1 - c.v0) * c.scale / 2;
        // A right angle exactly, as a game would turn a picture.
        const float a = c.angle * 3.14159265f / 180;
        const float ca = c.angle == 90 ? 0 : std::cos(a), sa = c.angle == 90 ? 1 : std::sin(a);
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
    HTEXTURE textures[4] = {};
    const double kBandCost = tideGlRenderer::bandCost;
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
        case kBands: // the figure's bounding box is all of it: only bands spare pixels
            EXPECT_GT(trimmed, area * 0.05);
            EXPECT_GT(MaxDifference(whole, plain), 20) << "the quad shows";
            break;
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

// Bands take their quad's place among the pending quads; when they would
// overflow the batch nothing moves (the quads trimmed as one stand in).
TEST(QuadBatchSplice, BandsTakeTheirQuadsPlace) {
    tideQuadBatch batch;
    auto quad = [](float id) {
        std::vector<tideVertex> v(4, tideVertex{id, 0, 0, 0, 0, 0});
        return v;
    };
    for (float id : {0, 1, 2, 3}) batch.Add({}, quad(id).data());
    std::vector<tideVertex> bands;
    for (float id : {10, 11, 30, 31, 32}) {
        const std::vector<tideVertex> q = quad(id);
        bands.insert(bands.end(), q.begin(), q.end());
    }
    ASSERT_TRUE(batch.Splice({{1, 2}, {3, 3}}, bands.data()));
    std::vector<float> ids;
    for (int i = 0; i < batch.Count(); i++) {
        for (int k = 1; k < 4; k++) EXPECT_EQ(batch.Vertices()[i * 4 + k].x, batch.Vertices()[i * 4].x);
        ids.push_back(batch.Vertices()[i * 4].x);
    }
    EXPECT_EQ(ids, (std::vector<float>{0, 10, 11, 2, 30, 31, 32}));

    while (batch.Count() < tideQuadBatch::kCapacity) batch.Append(quad(5).data());
    EXPECT_FALSE(batch.Splice({{0, 2}}, bands.data()));
    EXPECT_EQ(batch.Count(), tideQuadBatch::kCapacity);
    EXPECT_EQ(batch.Vertices()[4].x, 10);
}
