#include <string>

#include "tests/res/res_fixture.h"

namespace {

class ScriptTest : public ResTest {};

TEST_F(ScriptTest, BlocksTakeDefaultsAndParameters) {
    auto rm = Load(
        "Texture units { filename = units.png mipmap = true resgroup = 3 }\n"
        "Sprite bare {}\n"
        "Animation anim {}\n"
        "Font fnt { filename = \"fonts\\big.fnt\" scale = 2 tracking = -1 color = 80FF0000 }\n"
        "Music mus { filename = a.mod }\n"
        "Target rt { size = 512, 128 zbuffer = true }\n"
        "Target rt2 {}\n"
        "Distortion water { texture = bg rect = 0, 0, 1024, 768 mesh = 16, 12 zorder = 0.25 }\n"
        "Particle fx { filename = fx.psi sprite = cursor }\n"
        "StringTable texts { filename = texts.txt }\n");
    EXPECT_EQ(LogSize(), 0u);

    RTexture* tex = Desc<RTexture>(rm.get(), RES_TEXTURE, "units");
    ASSERT_TRUE(tex);
    EXPECT_STREQ(tex->filename, "units.png");
    EXPECT_TRUE(tex->mipmap);
    EXPECT_EQ(tex->resgroup, 3);
    EXPECT_EQ(tex->handle, 0u);  // nothing is made while parsing

    RSprite* bare = Desc<RSprite>(rm.get(), RES_SPRITE, "bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->blend, 2);
    EXPECT_EQ(bare->color, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(bare->z, 0.5f);
    EXPECT_FALSE(bare->bXFlip || bare->bYFlip);

    RAnimation* anim = Desc<RAnimation>(rm.get(), RES_ANIMATION, "anim");
    EXPECT_EQ(anim->frames, 1);
    EXPECT_FLOAT_EQ(anim->fps, 12.0f);
    EXPECT_EQ(anim->blend, 2);

    RFont* fnt = Desc<RFont>(rm.get(), RES_FONT, "fnt");
    EXPECT_STREQ(fnt->filename, "fonts\\big.fnt");
    EXPECT_EQ(fnt->scale, 2.0f);
    EXPECT_EQ(fnt->tracking, -1.0f);
    EXPECT_EQ(fnt->color, 0x80FF0000u);
    EXPECT_EQ(fnt->proportion, 1.0f);
    EXPECT_EQ(fnt->spacing, 1.0f);

    EXPECT_EQ(Desc<RMusic>(rm.get(), RES_MUSIC, "mus")->amplify, 50);
    RTarget* rt = Desc<RTarget>(rm.get(), RES_TARGET, "rt");
    EXPECT_EQ(rt->width, 512);
    EXPECT_EQ(rt->height, 128);
    EXPECT_TRUE(rt->zbuffer);
    EXPECT_EQ(Desc<RTarget>(rm.get(), RES_TARGET, "rt2")->width, 256);

    RDistort* water = Desc<RDistort>(rm.get(), RES_DISTORT, "water");
    EXPECT_EQ(water->cols, 16);
    EXPECT_EQ(water->rows, 12);
    EXPECT_EQ(water->h, 768.0f);
    EXPECT_FLOAT_EQ(water->z, 0.25f);
    EXPECT_EQ(water->color, 0xFFFFFFFFu);

    RParticle* fx = Desc<RParticle>(rm.get(), RES_PARTICLE, "fx");
    EXPECT_STREQ(fx->filename, "fx.psi");
    EXPECT_STREQ(fx->spritename, "cursor");
    EXPECT_STREQ(Desc<RStringTable>(rm.get(), RES_STRTABLE, "texts")->filename, "texts.txt");

    EXPECT_EQ(rm->res[RES_SCRIPT], nullptr);  // only kept during the pass
}

TEST_F(ScriptTest, BaseCopiesEveryFieldOfTheSameKind) {
    auto rm = Load(
        "Sprite s1 { texture = t rect = 1, 2, 3, 4 hotspot = 5, 6 blendmode = COLORADD\n"
        "  color = 11223344 flip = true, false resgroup = 7 zorder = 0.9 }\n"
        "Sprite s2 : s1 { zorder = 0.1 }\n"
        "Sound a { filename = a.wav resgroup = 2 }\n"
        "Sound b : a {}\n"
        "Animation a2 : s1 {}\n");
    RSprite* s1 = Desc<RSprite>(rm.get(), RES_SPRITE, "s1");
    RSprite* s2 = Desc<RSprite>(rm.get(), RES_SPRITE, "s2");
    ASSERT_TRUE(s2);
    EXPECT_STREQ(s2->texname, "t");
    EXPECT_EQ(s2->ty, 2.0f);
    EXPECT_EQ(s2->h, 4.0f);
    EXPECT_EQ(s2->hoty, 6.0f);
    EXPECT_EQ(s2->blend, 3);
    EXPECT_EQ(s2->color, 0x11223344u);
    EXPECT_TRUE(s2->bXFlip);
    EXPECT_FALSE(s2->bYFlip);
    EXPECT_EQ(s2->resgroup, 7);
    EXPECT_FLOAT_EQ(s2->z, 0.1f);
    EXPECT_FLOAT_EQ(s1->z, 0.9f);
    EXPECT_EQ(s2->next, s1);

    REffect* b = Desc<REffect>(rm.get(), RES_EFFECT, "b");
    EXPECT_STREQ(b->filename, "a.wav");
    EXPECT_EQ(b->resgroup, 2);

    // A base must be of the same kind.
    EXPECT_TRUE(Logged("s.txt, line 6: Base resource 's1' is not defined."));
    RAnimation* a2 = Desc<RAnimation>(rm.get(), RES_ANIMATION, "a2");
    ASSERT_TRUE(a2);
    EXPECT_STREQ(a2->texname, "");
    EXPECT_EQ(a2->blend, 2);
    EXPECT_EQ(a2->frames, 1);
    EXPECT_EQ(LogSize(), 1u);
}

TEST_F(ScriptTest, BlendAndModeListsEditBitByBit) {
    auto rm = Load(
        "Sprite add { blendmode = COLORADD, ZWRITE }\n"
        "Sprite aadd { blendmode = ALPHAADD }\n"
        "Sprite bad { blendmode = COLORADD, CIRCLE, FOO, ZWRITE zorder = 0.2 }\n"
        "Animation rev { mode = REVERSE, NOLOOP }\n"
        "Animation pp { mode = PINGPONG }\n"
        "Animation pp2 : pp { mode = NOLOOP, REVERSE }\n"
        "Font f { blendmode = ALPHAADD, COLORADD }\n"
        "Distortion d { blendmode = ZWRITE }\n");
    EXPECT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "add")->blend, 7);
    EXPECT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "aadd")->blend, 0);
    RSprite* bad = Desc<RSprite>(rm.get(), RES_SPRITE, "bad");
    EXPECT_EQ(bad->blend, 7);
    EXPECT_FLOAT_EQ(bad->z, 0.2f);
    EXPECT_TRUE(Logged("s.txt, line 3: Unsupported value 'CIRCLE'."));
    EXPECT_TRUE(Logged("s.txt, line 3: Unsupported value 'FOO'."));
    EXPECT_EQ(Desc<RAnimation>(rm.get(), RES_ANIMATION, "rev")->mode, 1);
    EXPECT_EQ(Desc<RAnimation>(rm.get(), RES_ANIMATION, "pp")->mode, 6);
    EXPECT_EQ(Desc<RAnimation>(rm.get(), RES_ANIMATION, "pp2")->mode, 3);
    EXPECT_EQ(Desc<RFont>(rm.get(), RES_FONT, "f")->blend, 1);
    EXPECT_EQ(Desc<RDistort>(rm.get(), RES_DISTORT, "d")->blend, 6);
    EXPECT_EQ(LogSize(), 2u);
}

TEST_F(ScriptTest, UnrecognizedItemSkipsToNextKindKeyword) {
    auto rm = Load("foo bar = 1, { }\nSprite s {}\n");
    EXPECT_TRUE(Logged("s.txt, line 1: Unrecognized resource specificator 'foo'."));
    EXPECT_EQ(LogSize(), 1u);
    EXPECT_TRUE(Desc<RSprite>(rm.get(), RES_SPRITE, "s"));
}

TEST_F(ScriptTest, DuplicateNameSkipsTheWholeBlock) {
    auto rm = Load(
        "Sprite s { zorder = 0.1 }\n"
        "Sprite s { zorder = 0.2 texture = x }\n"
        "Texture s { filename = a.png }\n");
    EXPECT_TRUE(Logged("s.txt, line 2: Resource 's' of the same type already has been defined."));
    EXPECT_EQ(LogSize(), 1u);
    EXPECT_EQ(Count(rm.get(), RES_SPRITE), 1);
    EXPECT_FLOAT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "s")->z, 0.1f);
    EXPECT_TRUE(Desc<RTexture>(rm.get(), RES_TEXTURE, "s"));  // other kinds may share a name
}

TEST_F(ScriptTest, MissingOpeningBraceRegistersNothing) {
    auto rm = Load(
        "Sprite a zorder = 0.1 }\n"
        "Sprite b : missing Sprite c {}\n");
    EXPECT_TRUE(Logged("s.txt, line 1: Illegal resource syntax, 'zorder' found; '{' expected."));
    EXPECT_TRUE(Logged("s.txt, line 2: Base resource 'missing' is not defined."));
    // The kind keyword in place of the brace starts the next item.
    EXPECT_TRUE(Logged("s.txt, line 2: Illegal resource syntax, 'Sprite' found; '{' expected."));
    EXPECT_EQ(LogSize(), 3u);
    EXPECT_FALSE(Desc<RSprite>(rm.get(), RES_SPRITE, "a"));
    EXPECT_FALSE(Desc<RSprite>(rm.get(), RES_SPRITE, "b"));
    EXPECT_TRUE(Desc<RSprite>(rm.get(), RES_SPRITE, "c"));
}

TEST_F(ScriptTest, UnsupportedParametersAreReportedOnceAndSkipped) {
    auto rm = Load(
        "Sprite s { frames = 4 zorder = 0.2 }\n"
        "Texture t { 12 13 \"x y\" mipmap = true }\n"
        "Font f { fps = 3, 4 } Sound e { }\n");
    EXPECT_TRUE(Logged("s.txt, line 1: Unsupported resource parameter 'frames'."));
    EXPECT_TRUE(Logged("s.txt, line 2: Unsupported resource parameter '12'."));
    EXPECT_TRUE(Logged("s.txt, line 3: Unsupported resource parameter 'fps'."));
    EXPECT_EQ(LogSize(), 3u);
    EXPECT_FLOAT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "s")->z, 0.2f);
    EXPECT_TRUE(Desc<RTexture>(rm.get(), RES_TEXTURE, "t")->mipmap);
    EXPECT_TRUE(Desc<REffect>(rm.get(), RES_EFFECT, "e"));
}

TEST_F(ScriptTest, MissingClosingBraceEndsTheBlockThere) {
    auto rm = Load(
        "Sprite a { zorder = 0.3\n"
        "Sprite b { zorder = 0.4 }\n"
        "Sprite c { zorder = 0.6");
    EXPECT_TRUE(Logged("s.txt, line 2: '}' missed, 'Sprite' encountered."));
    EXPECT_TRUE(Logged("s.txt, line 3: '}' missed, '<EOF>' encountered."));
    EXPECT_EQ(LogSize(), 2u);
    EXPECT_FLOAT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "a")->z, 0.3f);
    EXPECT_FLOAT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "b")->z, 0.4f);
    EXPECT_FLOAT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "c")->z, 0.6f);
}

TEST_F(ScriptTest, TruncatedBlocksAtTheEndDoNotHang) {
    for (const char* text : {"Sprite", "Sprite s", "Sprite s :", "Sprite s { rect =", "Include",
                             "Sprite s { blendmode = ", "Animation a { mode ="}) {
        auto rm = Load(text);
        EXPECT_GE(LogSize(), 1u) << text;
    }
}

TEST_F(ScriptTest, IncludesParseOncePerPass) {
    eng.WriteFile("res/inc.txt", "Include s.txt\nTexture fromInc { filename = i.png }\n");
    auto rm = Load(
        "Include res\\inc.txt\n"
        "Include s.txt\n"
        "Include \"res\\inc.txt\"\n"
        "Include missing.txt\n"
        "Sprite after {}\n");
    EXPECT_TRUE(Logged("res\\inc.txt, line 1: Script 's.txt' already has been parsed."));
    EXPECT_TRUE(Logged("s.txt, line 2: Script 's.txt' already has been parsed."));
    EXPECT_TRUE(Logged("s.txt, line 3: Script 'res\\inc.txt' already has been parsed."));
    EXPECT_TRUE(Logged("s.txt, line 4: Script 'missing.txt' not found."));
    EXPECT_EQ(LogSize(), 4u);
    EXPECT_TRUE(Desc<RTexture>(rm.get(), RES_TEXTURE, "fromInc"));
    EXPECT_TRUE(Desc<RSprite>(rm.get(), RES_SPRITE, "after"));
    EXPECT_EQ(rm->res[RES_SCRIPT], nullptr);
}

TEST_F(ScriptTest, MissingTopLevelScriptGivesAnEmptyManager) {
    eng.hl->ClearLog();
    tideResourceManager rm("nothere.txt");
    EXPECT_TRUE(Logged("Script 'nothere.txt' not found."));
    for (ResDesc* head : rm.res) EXPECT_EQ(head, nullptr);
    tideResourceManager none;
    EXPECT_EQ(LogSize(), 1u);
}

// A name or file name that does not fit its field is refused whole: cut, two
// long names would alias one resource.
TEST_F(ScriptTest, NamesLongerThanTheFieldAreRefused) {
    std::string longname(200, 'n');
    std::string longfile(300, 'f');
    std::string cut(127, 'n');
    auto rm = Load("Sprite " + longname + " { texture = t }\n" +  //
                   "Sprite " + cut + "x { texture = t }\n" +       //
                   "Sprite s { texture = " + longfile + " rect = 0, 0, 2, 2 }\n" +
                   "Sprite b : " + longname + " { }\n" +  //
                   "Sprite " + cut + " { }\n" +  //
                   "Include " + longfile + "\n");
    EXPECT_TRUE(Logged("s.txt, line 1: Resource name '" + cut +
                       "' is longer than 127 characters."));
    EXPECT_TRUE(Logged("s.txt, line 2: Resource name '" + cut +
                       "' is longer than 127 characters."));
    EXPECT_TRUE(Logged("s.txt, line 3: Value '" + std::string(127, 'f') +
                       "' is longer than 127 characters."));
    EXPECT_TRUE(Logged("s.txt, line 4: Base resource '" + cut + "' is not defined."));
    EXPECT_TRUE(Logged("s.txt, line 6: Script '" + std::string(127, 'f') +
                       "' is longer than 127 characters."));
    EXPECT_EQ(LogSize(), 5u);
    EXPECT_EQ(eng.hl->Log().size(), 5u);  // no file was tried under a cut name
    EXPECT_EQ(Count(rm.get(), RES_SPRITE), 3);  // s, b and the one that fits
    RSprite* s = Desc<RSprite>(rm.get(), RES_SPRITE, "s");
    ASSERT_TRUE(s);
    EXPECT_STREQ(s->texname, "");
    EXPECT_EQ(s->w, 2.0f);  // the block goes on after the refused value
    EXPECT_TRUE(Desc<RSprite>(rm.get(), RES_SPRITE, cut.c_str()));
    EXPECT_FALSE(Desc<RSprite>(rm.get(), RES_SPRITE, longname.c_str()));
}

// Each script includes the next: the chain is cut below the top-level script
// and 64 nested includes, with one line naming the script that was cut.
TEST_F(ScriptTest, IncludeChainsAreCutAt64Levels) {
    const int scripts = 80;
    for (int i = 1; i < scripts; ++i)
        eng.WriteFile("i" + std::to_string(i) + ".txt",
                      "Sprite s" + std::to_string(i) + " {}\nInclude i" + std::to_string(i + 1) +
                          ".txt\n");
    auto rm = Load("Sprite s0 {}\nInclude i1.txt\n");
    EXPECT_EQ(LogSize(), 1u);
    EXPECT_TRUE(Logged("i64.txt, line 2: Script 'i65.txt' not parsed: includes nest deeper than 64."));
    EXPECT_TRUE(Desc<RSprite>(rm.get(), RES_SPRITE, "s64"));
    EXPECT_FALSE(Desc<RSprite>(rm.get(), RES_SPRITE, "s65"));
    EXPECT_EQ(Count(rm.get(), RES_SPRITE), 65);
    EXPECT_EQ(rm->res[RES_SCRIPT], nullptr);
}

}  // namespace
