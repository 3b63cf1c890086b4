// The asset generators themselves: the synthesizer's looping and levels, the
// font baker's layout and description, and byte-identical output on a rerun.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "assets/font/font_baker.h"
#include "assets/sound/synth.h"
#include "tests/assets/shipped_data.h"

namespace fs = std::filesystem;

namespace {

TEST(Synth, LoopingTrackWrapsTailsToTheStart) {
    synth::Track loop(1000, 1.0, 1, true), once(1000, 1.0, 1, false);
    synth::Tone tone;
    tone.freq = 50;
    tone.duration = 0.3;
    tone.attack = tone.release = 0;
    synth::play(loop, 0.9, tone);
    synth::play(once, 0.9, tone);
    // 0.2 s of the note continue at the start of the loop, none in the one-shot.
    float loopStart = 0, onceStart = 0;
    for (int i = 0; i < 150; i++) {
        loopStart = std::max(loopStart, std::fabs(loop.data()[size_t(i)]));
        onceStart = std::max(onceStart, std::fabs(once.data()[size_t(i)]));
    }
    EXPECT_GT(loopStart, 0.3f);
    EXPECT_EQ(onceStart, 0.0f);
}

TEST(Synth, StereoPanAndLevelTools) {
    synth::Track t(1000, 0.5, 2, false);
    synth::Tone tone;
    tone.freq = 40;
    tone.duration = 0.5;
    tone.pan = -1;  // hard left
    synth::play(t, 0, tone);
    float left = 0, right = 0;
    for (long i = 0; i < t.frames(); i++) {
        left = std::max(left, std::fabs(t.data()[size_t(i) * 2]));
        right = std::max(right, std::fabs(t.data()[size_t(i) * 2 + 1]));
    }
    EXPECT_GT(left, 0.3f);
    EXPECT_LT(right, 1e-6f);
    synth::normalize(t, 0.5);
    float peak = 0;
    for (float v : t.data()) peak = std::max(peak, std::fabs(v));
    EXPECT_NEAR(peak, 0.5f, 1e-6f);
    synth::fadeEdges(t, 0.01);
    EXPECT_EQ(t.data()[0], 0.0f);
    EXPECT_EQ(t.data()[1], 0.0f);
}

TEST(Synth, LoopingEchoIsContinuousAcrossTheSeam) {
    synth::Track t(2000, 1.0, 1, true);
    synth::Tone tone;
    tone.freq = 30;
    tone.duration = 0.2;
    synth::play(t, 0.85, tone);
    synth::echo(t, 0.3, 0.5, 0.5);
    synth::lowpass(t, 200);
    // The echo of the note at 0.85 s sounds at 0.15 s of the next pass.
    float echoed = 0;
    for (long i = 250; i < 400; i++) echoed = std::max(echoed, std::fabs(t.data()[size_t(i)]));
    EXPECT_GT(echoed, 0.05f);
    EXPECT_LT(std::fabs(t.data().front() - t.data().back()), 0.05f);
}

class FontBaker : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fontbake::bake(THALOMIR_TEST_FONT, opt, font)); }
    fontbake::Options opt;
    fontbake::BakedFont font;
};

TEST_F(FontBaker, GlyphsShareOneLineBoxInsideTheAtlas) {
    ASSERT_EQ(font.glyphs.size(), size_t(opt.last - opt.first + 1));
    EXPECT_GT(font.baseline, opt.outline);
    EXPECT_LT(font.baseline, font.lineHeight);
    for (size_t i = 0; i < font.glyphs.size(); i++) {
        const fontbake::Glyph& g = font.glyphs[i];
        EXPECT_EQ(g.h, font.lineHeight) << char(g.code);
        EXPECT_GT(g.w, 0) << char(g.code);
        EXPECT_LE(g.x + g.w, font.atlasW) << char(g.code);
        EXPECT_LE(g.y + g.h, font.atlasH) << char(g.code);
        // Neighbours in a row never share pixels (outlines would bleed).
        if (i > 0 && font.glyphs[i - 1].y == g.y) {
            EXPECT_GT(g.x, font.glyphs[i - 1].x + font.glyphs[i - 1].w - 1);
        }
    }
}

TEST_F(FontBaker, DescenderAndCapitalShareTheBaseline) {
    // 'g' reaches below the baseline, 'H' stops on it: find their lowest inked rows.
    auto lowest = [&](char c) {
        const fontbake::Glyph& g = font.glyphs[size_t(c - opt.first)];
        int row = -1;
        for (int y = 0; y < g.h; y++)
            for (int x = 0; x < g.w; x++)
                if (font.alpha[size_t(g.y + y) * font.atlasW + g.x + x] > 0.5f) row = y;
        return row;
    };
    EXPECT_NEAR(lowest('H'), font.baseline - 1, 1);
    EXPECT_GT(lowest('g'), font.baseline + 1);
}

TEST_F(FontBaker, DescriptionHasHeaderBitmapAndOneLinePerGlyph) {
    std::istringstream in(fontbake::describe(font, "f.png"));
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "[TIDEFONT]");
    std::getline(in, line);
    EXPECT_EQ(line, "Bitmap=f.png");
    size_t count = 0;
    while (std::getline(in, line)) {
        unsigned code;
        int x, y, w, h, pre, post;
        ASSERT_EQ(std::sscanf(line.c_str(), "Char=%X,%d,%d,%d,%d,%d,%d", &code, &x, &y, &w, &h,
                              &pre, &post),
                  7)
            << line;
        const fontbake::Glyph& g = font.glyphs[count++];
        EXPECT_EQ(int(code), g.code);
        EXPECT_EQ(x, g.x);
        EXPECT_EQ(h, font.lineHeight);
    }
    EXPECT_EQ(count, font.glyphs.size());
}

std::string Slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

TEST(Generators, RerunGivesByteIdenticalFiles) {
    fs::path dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    const std::string out = " " + dir.string();
    const std::string commands[] = {
        std::string(THALOMIR_MAKE_UNIT_ART) + out,
        std::string(THALOMIR_MAKE_BATTLE_ART) + out,
        std::string(THALOMIR_MAKE_BOARD_ART) + out,
        std::string(THALOMIR_MAKE_MENU_ART) + out + " " + THALOMIR_TEST_FONT + " " +
            THALOMIR_TEST_LABEL_FONT,
        std::string(THALOMIR_MAKE_FONT) + out + " " + THALOMIR_TEST_FONT,
        std::string(THALOMIR_MAKE_SOUNDS) + out,
        std::string(THALOMIR_MAKE_MUSIC) + out + " main_theme",
    };
    for (const std::string& c : commands) ASSERT_EQ(std::system(c.c_str()), 0) << c;
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        fs::path shipped = fs::path(ShippedDataDir()) / "res" / entry.path().filename();
        EXPECT_EQ(Slurp(entry.path()), Slurp(shipped)) << entry.path().filename() << " differs";
        compared++;
    }
    EXPECT_GE(compared, 25);
    fs::remove_all(dir);
}

}  // namespace
