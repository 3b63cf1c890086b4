#include <string>

#include "gfx/font.h"
#include "tests/gfx/gfx_fixture.h"

// Glyph advances (width + pre + post): A 13, B 12, space 5, '?' 9.
static const char kFont[] =
    "[TIDEFONT]\r\n"
    "\r\n"
    "Bitmap = font.png\n"
    "Char=\"A\",0,0,10,20,1,2\n"
    "Char=42,10,0,12,20,0,0\n"
    "Char=\" \",0,0,5,20,0,0\n"
    "Char=3f,30,0,8,16,0,1\n";

class FontTest : public GfxTest {
protected:
    void SetUp() override {
        eng.WriteSolidPng("font.png", 128, 32, 0xFFFFFFFF);
        eng.WriteFile("test.fnt", kFont);
    }
    // Left x of every recorded glyph quad (vertex 0) and their tops.
    std::vector<float> Xs() const {
        std::vector<float> v;
        for (const tideQuad& q : Quads()) v.push_back(q.v[0].x);
        return v;
    }
    std::vector<float> Ys() const {
        std::vector<float> v;
        for (const tideQuad& q : Quads()) v.push_back(q.v[0].y);
        return v;
    }
};

TEST_F(FontTest, LoadsGlyphsFromTheDescription) {
    tideFont f("test.fnt");
    ASSERT_NE(f.hTexture, 0u);
    EXPECT_FLOAT_EQ(f.GetHeight(), 20);
    tideSprite* a = f.GetSprite('A');
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetTexture(), f.hTexture);
    float x, y, w, h;
    f.GetSprite('B')->GetTextureRect(&x, &y, &w, &h);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(w, 12);
    EXPECT_FLOAT_EQ(f.GetSprite('B')->quad.v[1].tx, 22.0f / 128.0f);
    EXPECT_EQ(f.GetPreWidth('A'), 1);
    EXPECT_EQ(f.GetPostWidth('A'), 2);
    EXPECT_NE(f.GetSprite('?'), nullptr); // lower-case hex digits
    EXPECT_NE(f.GetSprite(' '), nullptr);
    EXPECT_EQ(f.GetSprite('C'), nullptr);
    EXPECT_EQ(f.GetColor(), 0xFFFFFFFFu);
    EXPECT_EQ(f.GetBlendMode(), 2);
}

TEST_F(FontTest, BitmapIsLookedUpBesideTheFontFile) {
    eng.WriteSolidPng("fonts/font.png", 16, 16, 0xFFFFFFFF);
    eng.WriteFile("fonts/a.fnt", kFont);
    tideFont back("fonts\\a.fnt");
    EXPECT_NE(back.hTexture, 0u);
    tideFont fwd("fonts/a.fnt");
    EXPECT_NE(fwd.hTexture, 0u);
    EXPECT_EQ(tide->Texture_GetWidth(fwd.hTexture), 16);
}

TEST_F(FontTest, RejectsABadHeaderWithALogLine) {
    eng.WriteFile("bad.fnt", "[TIDEFONT] \nChar=41,0,0,1,1,0,0\n");
    tideFont f("bad.fnt");
    EXPECT_TRUE(eng.LogHas("Font bad.fnt has incorrect format."));
    EXPECT_EQ(f.GetSprite('A'), nullptr);
    f.Render(0, 0, TEXT_LEFT, "AAA");
    EXPECT_TRUE(Quads().empty());

    eng.WriteFile("empty.fnt", "");
    tideFont e("empty.fnt");
    EXPECT_TRUE(eng.LogHas("Font empty.fnt has incorrect format."));

    eng.hl->ClearLog();
    tideFont missing("nothere.fnt");
    EXPECT_EQ(eng.LogCount("incorrect format"), 0);
    EXPECT_EQ(missing.GetStringWidth("AB"), 0);
}

TEST_F(FontTest, MissingBitmapStopsReadingButKeepsEarlierGlyphs) {
    eng.WriteFile("nobmp.fnt",
                  "[TIDEFONT]\nChar=41,0,0,10,20,0,0\nBitmap=absent.png\nChar=42,0,0,10,20,0,0\n");
    tideFont f("nobmp.fnt");
    ASSERT_NE(f.GetSprite('A'), nullptr);
    EXPECT_EQ(f.GetSprite('A')->GetTexture(), 0u);
    EXPECT_EQ(f.GetSprite('B'), nullptr);
    EXPECT_EQ(f.hTexture, 0u);
}

// Found by fuzzing: the first bitmap was never freed.
TEST_F(FontTest, ASecondBitmapKeepsTheFirstForItsGlyphsAndBothAreFreed) {
    eng.WriteSolidPng("other.png", 8, 8, 0xFFFFFFFF);
    eng.WriteFile("two.fnt", "[TIDEFONT]\nBitmap=font.png\nChar=41,0,0,4,4,0,0\n"
                             "Bitmap=other.png\nChar=42,0,0,4,4,0,0\nBitmap=absent.png\n");
    HTEXTURE first, second;
    {
        tideFont f("two.fnt");
        first = f.GetSprite('A')->GetTexture();
        second = f.GetSprite('B')->GetTexture();
        EXPECT_EQ(tide->Texture_GetWidth(first), 128);
        EXPECT_EQ(tide->Texture_GetWidth(second), 8);
    }
    EXPECT_EQ(tide->Texture_GetWidth(first), 0);
    EXPECT_EQ(tide->Texture_GetWidth(second), 0);
}

TEST_F(FontTest, IgnoresMalformedCharLines) {
    std::string longLine = "Char=43" + std::string(260, ' ') + ",0,0,4,4,0,0";
    std::string longTail = "Char=44,0,0,4,4,0,0" + std::string(300, 'x');
    eng.WriteFile("odd.fnt", "[TIDEFONT]\nBitmap=font.png\n"
                             "Char 41,0,0,4,4,0,0\n"      // no '='
                             "Char=100,0,0,4,4,0,0\n"     // code above 255
                             "Char=42,0,0,4\n"            // too few numbers
                             "Char=\"\n"                  // quote with nothing after it
                             "Char=zz,0,0,4,4,0,0\n"      // no hex digits
                             "Char=ffffffffff,0,0,4,4,0,0\n" +
                                 longLine + "\n" + longTail + "\nChar=6a,1,2,3,40,0,0\n");
    tideFont f("odd.fnt");
    for (int c = 0; c < 256; c++) {
        if (c == 'D' || c == 'j') continue;
        EXPECT_EQ(f.GetSprite(char(c)), nullptr) << c;
    }
    EXPECT_NE(f.GetSprite('D'), nullptr); // over-long line cut, numbers already read
    ASSERT_NE(f.GetSprite('j'), nullptr);
    EXPECT_FLOAT_EQ(f.GetHeight(), 40);
}

TEST_F(FontTest, OverlongBitmapPathIsCutSafely) {
#ifdef _WIN32
    GTEST_SKIP() << "the test's folder for the font is longer than MAX_PATH, which the test's own "
                    "file writing (std::ofstream) cannot make on Windows";
#endif
    std::string name(240, 'n');
    eng.WriteFile("long.fnt", "[TIDEFONT]\nBitmap=" + name + "\nChar=41,0,0,4,4,0,0\n");
    std::string d = std::string(120, 'd'), e = std::string(120, 'e');
    eng.WriteFile(d + "/" + e + "/long.fnt", "[TIDEFONT]\nBitmap=" + name + "\n");
    std::string deep = d + "\\" + e + "\\long.fnt";
    tideFont f(deep.c_str());
    EXPECT_EQ(f.hTexture, 0u);
    // The path tried was cut to 259 characters: 242 of folders, 17 of the name.
    std::string tried = d + "\\" + e + "\\" + std::string(17, 'n');
    EXPECT_TRUE(eng.LogHas(tried));
    EXPECT_FALSE(eng.LogHas(tried + "n"));
    tideFont g("long.fnt");
    EXPECT_EQ(g.hTexture, 0u);
    EXPECT_EQ(g.GetSprite('A'), nullptr);
}

TEST_F(FontTest, UnknownCharactersFallBackToQuestionMarkOrAreSkipped) {
    tideFont f("test.fnt");
    f.Render(0, 0, TEXT_LEFT, "AZ");
    ASSERT_EQ(Quads().size(), 2u);
    EXPECT_FLOAT_EQ(Quads()[1].v[0].tx, 30.0f / 128.0f); // the '?' glyph
    EXPECT_FLOAT_EQ(Quads()[1].v[0].x, 13);
    EXPECT_FLOAT_EQ(f.GetStringWidth("Z\xE9"), 18);

    eng.WriteFile("noq.fnt", "[TIDEFONT]\nBitmap=font.png\nChar=41,0,0,10,20,0,0\n");
    tideFont g("noq.fnt");
    NewScene();
    g.Render(0, 0, TEXT_LEFT, "ZAZ");
    ASSERT_EQ(Quads().size(), 1u);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].x, 0);
    EXPECT_FLOAT_EQ(g.GetStringWidth("ZAZ"), 10);
}

TEST_F(FontTest, PenAdvancesByPreWidthAndPost) {
    tideFont f("test.fnt");
    f.SetTracking(1);
    f.Render(200, 50, TEXT_LEFT, "AB A");
    // A: pre 1, width 10, post 2, tracking 1.
    EXPECT_EQ(Xs(), (std::vector<float>{201, 214, 227, 234}));
    EXPECT_POS(Quads()[0].v[2], 211, 70);
}

TEST_F(FontTest, HorizontalAlignmentPerLine) {
    tideFont f("test.fnt");
    f.Render(200, 50, TEXT_RIGHT, "AB\nB");
    // Line widths 25 and 12.
    EXPECT_EQ(Xs(), (std::vector<float>{176, 188, 188}));
    EXPECT_EQ(Ys(), (std::vector<float>{50, 50, 70}));

    NewScene();
    f.Render(200, 50, TEXT_CENTER | TEXT_BOTTOM, "AB\nB"); // vertical part ignored
    // 25 / 2 and 12 / 2 truncated: the pen starts at 188 and 194.
    EXPECT_EQ(Xs(), (std::vector<float>{189, 201, 194}));
    EXPECT_EQ(Ys(), (std::vector<float>{50, 50, 70}));
}

TEST_F(FontTest, LineFeedsUseTheTruncatedScaledHeight) {
    tideFont f("test.fnt");
    f.SetScale(1.25f);
    f.SetSpacing(1.1f); // 20 * 1.25 * 1.1 = 27.5, truncated to 27
    f.Render(0, 10, TEXT_LEFT, "A\n\nB");
    EXPECT_EQ(Ys(), (std::vector<float>{10, 64}));
    // The glyph itself is scaled: 10x20 at scale 1.25, after a scaled pre advance.
    EXPECT_POS(Quads()[0].v[0], 1.25f, 10);
    EXPECT_POS(Quads()[0].v[2], 13.75f, 35);

    NewScene();
    f.SetScale(1);
    f.SetProportion(2);
    f.Render(0, 0, TEXT_LEFT, "A");
    EXPECT_POS(Quads()[0].v[2], 22, 20); // proportion stretches x only
}

TEST_F(FontTest, StringWidthSingleAndMultiLine) {
    tideFont f("test.fnt");
    f.SetScale(2);
    f.SetProportion(1.5f);
    // Lines of 25 and 53 (B, B, space, B, B) unscaled.
    EXPECT_FLOAT_EQ(f.GetStringWidth("AB\nBB BB", true), 53 * 3);
    EXPECT_FLOAT_EQ(f.GetStringWidth("AB\nBB BB", false), 25 * 3);
    f.SetScale(1);
    f.SetProportion(1);
    EXPECT_FLOAT_EQ(f.GetStringWidth("A\r\n\r\nBB"), 24);
    // A carriage return inside a line is a character like any other ('?' here).
    EXPECT_FLOAT_EQ(f.GetStringWidth("A\rA", false), 35);
    EXPECT_FLOAT_EQ(f.GetStringWidth(""), 0);
}

TEST_F(FontTest, PrintfFormatsAndCutsAt1023Characters) {
    tideFont f("test.fnt");
    f.printf(10, 20, TEXT_LEFT, "%i%s", 42, "AB");
    ASSERT_EQ(Quads().size(), 4u); // '4' and '2' drawn as '?'
    EXPECT_FLOAT_EQ(Quads()[2].v[0].x, 10 + 9 + 9 + 1);

    NewScene();
    std::string many(3000, 'B');
    f.printf(0, 0, TEXT_LEFT, "%s", many.c_str());
    EXPECT_EQ(Quads().size(), 1023u);

    NewScene();
    f.printfb(0, 0, 1e9f, 100, TEXT_LEFT, "%s", many.c_str());
    EXPECT_EQ(Quads().size(), 1023u);
}

TEST_F(FontTest, PrintfbWrapsAtSpaces) {
    tideFont f("test.fnt");
    // "A A" is 31 wide, "A A A" 49: the third word starts a new line.
    f.printfb(0, 0, 40, 100, TEXT_LEFT, "A A A A");
    EXPECT_EQ(Xs(), (std::vector<float>{1, 13, 19, 1, 13, 19}));
    EXPECT_EQ(Ys(), (std::vector<float>{0, 0, 0, 20, 20, 20}));
}

TEST_F(FontTest, PrintfbKeepsAnOverwideWordAloneOnItsLine) {
    tideFont f("test.fnt");
    f.printfb(0, 0, 30, 100, TEXT_LEFT | TEXT_BOTTOM, "AAAAA B");
    // Two lines of 20: the block ends at the box bottom.
    ASSERT_EQ(Quads().size(), 6u);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].y, 60);
    EXPECT_FLOAT_EQ(Quads()[5].v[0].y, 80);
    EXPECT_FLOAT_EQ(Quads()[5].v[0].x, 0);

    // An overwide last word: nothing after it to break, still one line.
    NewScene();
    f.printfb(0, 0, 30, 100, TEXT_LEFT | TEXT_BOTTOM, "AAAAA");
    EXPECT_FLOAT_EQ(Quads()[0].v[0].y, 80);
}

TEST_F(FontTest, PrintfbPlacesTheBlock) {
    tideFont f("test.fnt");
    f.printfb(10, 100, 60, 100, TEXT_CENTER | TEXT_MIDDLE, "B\nBB");
    // Two lines of 20 in a box of 100: top at 100 + 30. Centre x = 10 + 30.
    EXPECT_EQ(Ys(), (std::vector<float>{130, 150, 150}));
    EXPECT_EQ(Xs(), (std::vector<float>{34, 28, 40}));

    NewScene();
    f.printfb(10, 100, 61, 100, TEXT_RIGHT | TEXT_TOP, "B");
    EXPECT_EQ(Xs(), (std::vector<float>{59}));
    EXPECT_EQ(Ys(), (std::vector<float>{100}));
}

TEST_F(FontTest, SettersApplyToGlyphsOrToTheNextRender) {
    tideFont f("test.fnt");
    f.SetColor(0x80102030);
    f.SetZ(0.1f);
    f.SetBlendMode(3);
    for (char c : {'A', 'B', ' ', '?'}) {
        EXPECT_EQ(f.GetSprite(c)->GetColor(3), 0x80102030u);
        EXPECT_FLOAT_EQ(f.GetSprite(c)->GetZ(1), 0.1f);
    }
    f.SetScale(3);
    EXPECT_EQ(f.GetSprite('A')->GetWidth(), 10); // glyphs untouched
    f.Render(0, 0, TEXT_LEFT, "A");
    const tideQuad& q = Quads().at(0);
    EXPECT_EQ(q.v[0].col, 0x80102030u);
    EXPECT_FLOAT_EQ(q.v[2].z, 0.1f);
    EXPECT_EQ(q.blend, 3);
    EXPECT_EQ(q.tex, f.hTexture);
    EXPECT_POS(q.v[2], 33, 60);
}

TEST_F(FontTest, RotationTurnsEachGlyphAboutItsOwnCorner) {
    tideFont f("test.fnt");
    f.SetRotation(1.5707963f);
    f.Render(100, 0, TEXT_LEFT, "BB");
    // The pen still moves along x; each glyph's top-left stays on the pen.
    EXPECT_NEAR(Quads().at(0).v[0].x, 100, 1e-4f);
    EXPECT_NEAR(Quads().at(1).v[0].x, 112, 1e-4f);
    EXPECT_NEAR(Quads().at(1).v[1].y, 12, 1e-4f);
}
