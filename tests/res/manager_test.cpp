#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/animation.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "gfx/sprite.h"
#include "res/strtable.h"
#include "tests/res/res_fixture.h"

namespace {

class ManagerTest : public ResTest {
protected:
    void Png(const std::string& name, int w = 64, int h = 32) {
        eng.WriteSolidPng(name, w, h, 0xFF336699);
    }
    void Remove(const std::string& name) { std::filesystem::remove(eng.Path(name)); }
};

TEST_F(ManagerTest, DeclaredResourcesAreMadeOnceOnFirstLookup) {
    Png("units.png");
    eng.WriteWav("hit.wav");
    eng.WriteWav("song.wav");
    eng.WriteFile("raw.bin", "raw data");
    auto rm = Load(
        "Texture units { filename = units.png }\n"
        "Sound hit { filename = hit.wav }\n"
        "Stream song { filename = song.wav }\n"
        "Music mus { filename = song.wav amplify = 70 }\n"
        "Resource raw { filename = raw.bin }\n"
        "Target rt { size = 64, 32 }\n");
    RTexture* desc = Desc<RTexture>(rm.get(), RES_TEXTURE, "units");
    EXPECT_EQ(desc->handle, 0u);

    HTEXTURE tex = rm->GetTexture("units");
    ASSERT_NE(tex, 0u);
    EXPECT_EQ(desc->handle, tex);
    EXPECT_EQ(eng.tide->Texture_GetWidth(tex, true), 64);
    Remove("units.png");  // a second lookup must not load again
    EXPECT_EQ(rm->GetTexture("units"), tex);

    EXPECT_NE(rm->GetEffect("hit"), 0u);
    EXPECT_NE(rm->GetStream("song"), 0u);
    HMUSIC mus = rm->GetMusic("mus");
    ASSERT_NE(mus, 0u);
    EXPECT_EQ(eng.tide->Music_GetAmplification(mus), 70);
    const char* raw = static_cast<const char*>(rm->GetResource("raw"));
    ASSERT_TRUE(raw);
    EXPECT_STREQ(raw, "raw data");
    HTARGET rt = rm->GetTarget("rt");
    EXPECT_NE(rt, 0u);
    EXPECT_EQ(rm->GetTarget("rt"), rt);
    EXPECT_EQ(rm->GetTarget("none"), 0u);
    EXPECT_EQ(Count(rm.get(), RES_TEXTURE), 1);
}

TEST_F(ManagerTest, FileFallbackRegistersOnceAndFailuresNothing) {
    Png("res/b.png");
    eng.WriteWav("fx.wav");
    tideResourceManager rm;
    HTEXTURE tex = rm.GetTexture("Res\\B.png", 4);
    ASSERT_NE(tex, 0u);
    RTexture* desc = Desc<RTexture>(&rm, RES_TEXTURE, "Res\\B.png");
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->resgroup, 4);
    EXPECT_STREQ(desc->filename, "Res\\B.png");
    Remove("res/b.png");
    EXPECT_EQ(rm.GetTexture("Res\\B.png"), tex);
    EXPECT_EQ(Count(&rm, RES_TEXTURE), 1);

    EXPECT_EQ(rm.GetTexture("missing.png"), 0u);
    EXPECT_EQ(Count(&rm, RES_TEXTURE), 1);
    Png("missing.png");  // a failed load is tried again next time
    EXPECT_NE(rm.GetTexture("missing.png"), 0u);

    EXPECT_NE(rm.GetEffect("fx.wav"), 0u);
    EXPECT_EQ(rm.GetEffect("nofx.wav"), 0u);
    EXPECT_EQ(rm.GetMusic("nomusic.mod"), 0u);
    EXPECT_EQ(rm.GetStream("nostream.ogg"), 0u);
    EXPECT_EQ(rm.GetResource("nofile.bin"), nullptr);
    for (int kind : {RES_RESOURCE, RES_EFFECT, RES_MUSIC, RES_STREAM})
        EXPECT_EQ(Count(&rm, kind), kind == RES_EFFECT ? 1 : 0);

    // No fallback for the object kinds.
    EXPECT_EQ(rm.GetSprite("b.png"), nullptr);
    EXPECT_EQ(rm.GetAnimation("b.png"), nullptr);
    EXPECT_EQ(rm.GetFont("b.png"), nullptr);
    EXPECT_EQ(rm.GetParticleSystem("b.png"), nullptr);
    EXPECT_EQ(rm.GetDistortionMesh("b.png"), nullptr);
}

TEST_F(ManagerTest, SpritesAndAnimationsGetTheirBlockValues) {
    Png("units.png", 128, 64);
    auto rm = Load(
        "Sprite cursor { texture = units.png rect = 0, 0, 32, 16 hotspot = 16, 8 resgroup = 5\n"
        "  blendmode = COLORADD color = 80FF0000 zorder = 0.25 flip = true, false }\n"
        "Animation walk { texture = units.png rect = 0, 32, 32, 32 frames = 4 fps = 8\n"
        "  mode = REVERSE }\n");
    tideSprite* spr = rm->GetSprite("cursor");
    ASSERT_TRUE(spr);
    EXPECT_EQ(rm->GetSprite("cursor"), spr);
    // The texture named only by file is registered under that name, in the sprite's group.
    RTexture* tex = Desc<RTexture>(rm.get(), RES_TEXTURE, "units.png");
    ASSERT_TRUE(tex);
    EXPECT_EQ(tex->resgroup, 5);
    EXPECT_EQ(spr->GetTexture(), HTEXTURE(tex->handle));
    EXPECT_EQ(spr->GetWidth(), 32.0f);
    EXPECT_EQ(spr->GetBlendMode(), 3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spr->GetColor(i), 0x80FF0000u);
        EXPECT_FLOAT_EQ(spr->GetZ(i), 0.25f);
    }
    float hx, hy;
    spr->GetHotSpot(&hx, &hy);
    EXPECT_EQ(hx, 16.0f);
    bool fx, fy;
    spr->GetFlip(&fx, &fy);
    EXPECT_TRUE(fx);
    EXPECT_FALSE(fy);

    tideAnimation* walk = rm->GetAnimation("walk");
    ASSERT_TRUE(walk);
    EXPECT_EQ(walk->GetFrames(), 4);
    EXPECT_FLOAT_EQ(walk->GetSpeed(), 8.0f);
    EXPECT_EQ(walk->GetMode(), ANIM_REV | ANIM_LOOP);
    EXPECT_EQ(walk->GetTexture(), spr->GetTexture());
    EXPECT_EQ(Count(rm.get(), RES_TEXTURE), 1);
}

TEST_F(ManagerTest, FontsParticlesMeshesAndTablesAreAlwaysMade) {
    Png("bg.png", 256, 128);
    std::vector<unsigned char> psi(PARTICLE_INFO_SIZE, 0);
    int emission = 25;
    memcpy(psi.data() + 4, &emission, 4);
    eng.WriteBytes("fx.psi", psi.data(), psi.size());
    auto rm = Load(
        "Sprite spark { rect = 0, 0, 4, 4 }\n"
        "Font missing { filename = nofont.fnt scale = 2 color = 7F00FF00 }\n"
        "Particle fx { filename = fx.psi sprite = spark }\n"
        "Particle lone { filename = fx.psi }\n"
        "Distortion water { texture = bg.png rect = 0, 0, 256, 128 mesh = 5, 3 color = 80FFFFFF\n"
        "  zorder = 0.75 blendmode = ZWRITE }\n"
        "Distortion tiny { mesh = 1, -4 }\n"
        "Distortion huge { mesh = 100000, 100000 }\n"
        "StringTable texts { filename = notexts.txt }\n");

    tideFont* fnt = rm->GetFont("missing");
    ASSERT_TRUE(fnt);
    EXPECT_EQ(fnt->GetScale(), 2.0f);
    EXPECT_EQ(fnt->GetColor(), 0x7F00FF00u);

    tideParticleSystem* ps = rm->GetParticleSystem("fx");
    ASSERT_TRUE(ps);
    EXPECT_EQ(rm->GetParticleSystem("fx"), ps);
    EXPECT_EQ(ps->info.sprite, rm->GetSprite("spark"));
    EXPECT_EQ(ps->info.nEmission, 25);
    tideParticleSystem* lone = rm->GetParticleSystem("lone");
    ASSERT_TRUE(lone);
    EXPECT_EQ(lone->info.sprite, nullptr);

    tideDistortionMesh* dm = rm->GetDistortionMesh("water");
    ASSERT_TRUE(dm);
    EXPECT_EQ(dm->GetCols(), 5);
    EXPECT_EQ(dm->GetRows(), 3);
    EXPECT_EQ(dm->GetTexture(), rm->GetTexture("bg.png"));
    EXPECT_EQ(dm->GetBlendMode(), 6);
    EXPECT_EQ(dm->GetColor(4, 2), 0x80FFFFFFu);
    EXPECT_FLOAT_EQ(dm->GetZ(4, 2), 0.75f);
    float dx = 0, dy = 0;
    dm->GetDisplacement(4, 2, &dx, &dy, DISP_TOPLEFT);
    EXPECT_FLOAT_EQ(dx, 256.0f);
    EXPECT_FLOAT_EQ(dy, 128.0f);

    eng.hl->ClearLog();
    tideDistortionMesh* tiny = rm->GetDistortionMesh("tiny");
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->GetCols(), 2);
    EXPECT_EQ(tiny->GetRows(), 2);
    EXPECT_TRUE(Logged("Distortion tiny: mesh 1, -4 out of range 2..512, made 2, 2."));
    tideDistortionMesh* huge = rm->GetDistortionMesh("huge");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->GetCols(), RDistort::MAXNODES);

    tideStringTable* st = rm->GetStringTable("texts");
    ASSERT_TRUE(st);
    EXPECT_EQ(st->strings, nullptr);
}

TEST_F(ManagerTest, PrecacheStopsAtTheFirstFailure) {
    Png("a.png");
    Png("c.png");
    // Lists run newest first: c, then the failing b, then a.
    auto rm = Load(
        "Texture a { filename = a.png }\n"
        "Texture b { filename = b.png }\n"
        "Texture c { filename = c.png }\n"
        "Sprite s { texture = a }\n");
    EXPECT_FALSE(rm->Precache(0));
    EXPECT_NE(Desc<RTexture>(rm.get(), RES_TEXTURE, "c")->handle, 0u);
    EXPECT_EQ(Desc<RTexture>(rm.get(), RES_TEXTURE, "b")->handle, 0u);
    EXPECT_EQ(Desc<RTexture>(rm.get(), RES_TEXTURE, "a")->handle, 0u);
    EXPECT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "s")->handle, 0u);
    EXPECT_TRUE(rm->GetSprite("s"));  // still made on first lookup
}

TEST_F(ManagerTest, PrecacheAndPurgeByGroup) {
    Png("a.png");
    Png("b.png");
    auto rm = Load(
        "Texture a { filename = a.png resgroup = 3 }\n"
        "Texture b { filename = b.png resgroup = 4 }\n"
        "Sprite s { texture = a resgroup = 3 }\n"
        "Texture broken { filename = none.png resgroup = 9 }\n");
    RTexture* a = Desc<RTexture>(rm.get(), RES_TEXTURE, "a");
    RTexture* b = Desc<RTexture>(rm.get(), RES_TEXTURE, "b");
    RSprite* s = Desc<RSprite>(rm.get(), RES_SPRITE, "s");
    EXPECT_TRUE(rm->Precache(3));
    EXPECT_NE(a->handle, 0u);
    EXPECT_EQ(b->handle, 0u);
    EXPECT_NE(s->handle, 0u);
    EXPECT_TRUE(rm->Precache(4));
    EXPECT_NE(b->handle, 0u);

    rm->Purge(3);
    EXPECT_EQ(a->handle, 0u);
    EXPECT_EQ(s->handle, 0u);
    EXPECT_NE(b->handle, 0u);
    EXPECT_TRUE(rm->GetSprite("s"));
    EXPECT_NE(a->handle, 0u);

    rm->Purge(0);
    for (ResDesc* head : rm->res)
        for (ResDesc* rc = head; rc; rc = rc->next) EXPECT_EQ(rc->handle, 0u) << rc->name;
    EXPECT_EQ(Count(rm.get(), RES_TEXTURE), 3);
    EXPECT_NE(rm->GetTexture("b"), 0u);
    EXPECT_FALSE(rm->Precache(9));
}

TEST_F(ManagerTest, ChangeScriptParsesAgainFromScratch) {
    eng.WriteFile("other.txt", "Sprite o {}\n");
    auto rm = Load("Include other.txt\nSprite s {}\n");
    tideSprite* before = rm->GetSprite("s");
    ASSERT_TRUE(before);
    eng.hl->ClearLog();
    rm->ChangeScript("s.txt");
    EXPECT_EQ(LogSize(), 0u);
    EXPECT_EQ(Count(rm.get(), RES_SPRITE), 2);
    EXPECT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "s")->handle, 0u);
    EXPECT_TRUE(rm->GetSprite("o"));

    rm->ChangeScript("other.txt");
    EXPECT_FALSE(rm->GetSprite("s"));
    EXPECT_TRUE(rm->GetSprite("o"));
    rm->ChangeScript();
    for (ResDesc* head : rm->res) EXPECT_EQ(head, nullptr);
}

TEST_F(ManagerTest, StringTableFallbackAlwaysRegisters) {
    eng.WriteFile("t.txt", "[TIDESTRINGTABLE]\ngreeting = \"Hi\"\n");
    tideResourceManager rm;
    tideStringTable* missing = rm.GetStringTable("none.txt", 2);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->strings, nullptr);
    EXPECT_EQ(rm.GetStringTable("none.txt"), missing);
    EXPECT_EQ(Desc<RStringTable>(&rm, RES_STRTABLE, "none.txt")->resgroup, 2);
    tideStringTable* st = rm.GetStringTable("t.txt");
    ASSERT_TRUE(st);
    EXPECT_STREQ(st->GetString("greeting"), "Hi");
    rm.Purge(0);
    EXPECT_STREQ(rm.GetStringTable("t.txt")->GetString("greeting"), "Hi");
}

// Sprites a particle system borrows outlive a Purge of their group; the
// sprite's lookup then makes a fresh one.
TEST_F(ManagerTest, PurgeKeepsTheSpriteOfALiveParticleSystem) {
    Png("spark.png", 8, 8);
    std::vector<unsigned char> psi(PARTICLE_INFO_SIZE, 0);
    const int emission = 100;
    const float lifetime = -1, life = 5, size = 1, alpha = 1;
    memcpy(psi.data() + 4, &emission, 4);
    memcpy(psi.data() + 8, &lifetime, 4);
    memcpy(psi.data() + 12, &life, 4);
    memcpy(psi.data() + 16, &life, 4);
    memcpy(psi.data() + 64, &size, 4);
    memcpy(psi.data() + 100, &alpha, 4);
    eng.WriteBytes("fx.psi", psi.data(), psi.size());
    auto rm = Load(
        "Sprite spark { texture = spark.png rect = 0, 0, 4, 4 resgroup = 3 }\n"
        "Particle fx { filename = fx.psi sprite = spark }\n");
    tideParticleSystem* ps = rm->GetParticleSystem("fx");
    ASSERT_TRUE(ps);
    tideSprite* borrowed = ps->info.sprite;
    ASSERT_EQ(borrowed, rm->GetSprite("spark"));
    ps->Fire();
    ps->Update(0.1f);
    ASSERT_GT(ps->GetParticlesAlive(), 0);

    rm->Purge(3);
    EXPECT_EQ(Desc<RSprite>(rm.get(), RES_SPRITE, "spark")->handle, 0u);
    EXPECT_EQ(rm->GetParticleSystem("fx"), ps);
    EXPECT_EQ(ps->info.sprite, borrowed);
    eng.tide->Gfx_BeginScene();
    ps->Render();  // reads the borrowed sprite
    EXPECT_EQ(eng.hl->Quads().size(), size_t(ps->GetParticlesAlive()));
    eng.tide->Gfx_EndScene();
    EXPECT_TRUE(rm->GetSprite("spark"));

    rm->Purge(0);  // the particle system goes, and with it the old sprite
    EXPECT_EQ(Desc<RParticle>(rm.get(), RES_PARTICLE, "fx")->handle, 0u);
    EXPECT_NE(rm->GetParticleSystem("fx"), nullptr);
}

// Names that do not fit the 127-character field are refused, never cut: two
// long names sharing their first 127 characters must not alias one resource.
TEST_F(ManagerTest, LookupsRefuseNamesLongerThanTheField) {
    const std::string base = "res/" + std::string(130, 'a');
    Png(base + "1.png");
    Png(base + "2.png");
    const std::string fits = std::string(127, 'b');
    Png(fits);
    tideResourceManager rm;
    eng.hl->ClearLog();
    for (const std::string suffix : {"1.png", "2.png"}) {
        const std::string name = base + suffix;
        EXPECT_EQ(rm.GetTexture(name.c_str()), 0u);
        EXPECT_EQ(rm.GetResource(name.c_str()), nullptr);
        EXPECT_EQ(rm.GetEffect(name.c_str()), 0u);
        EXPECT_EQ(rm.GetMusic(name.c_str()), 0u);
        EXPECT_EQ(rm.GetStream(name.c_str()), 0u);
        EXPECT_EQ(rm.GetStringTable(name.c_str()), nullptr);
        EXPECT_EQ(rm.GetSprite(name.c_str()), nullptr);
    }
    EXPECT_EQ(LogSize(), 14u);
    EXPECT_TRUE(Logged("Resource name '" + base.substr(0, 127) +
                       "...' is longer than 127 characters."));
    EXPECT_EQ(eng.hl->Log().size(), 14u);  // nothing was even tried
    for (ResDesc* head : rm.res) EXPECT_EQ(head, nullptr);

    HTEXTURE tex = rm.GetTexture(fits.c_str());
    EXPECT_NE(tex, 0u);
    rm.Purge(0);
    EXPECT_NE(rm.GetTexture(fits.c_str()), 0u);
}

// The name index stands beside the lists: the first description of a name in
// list order wins, as a scan of the list would find it, and lists emptied by
// a new script leave nothing behind in it.
TEST_F(ManagerTest, IndexFindsTheFirstOfANameInListOrder) {
    auto rm = Load("Sprite a {}\nSprite b {}\n");
    RSprite* older = Desc<RSprite>(rm.get(), RES_SPRITE, "a");
    RSprite* newer = new RSprite;
    strcpy(newer->name, "a");
    AddRes(rm.get(), RES_SPRITE, newer);
    EXPECT_EQ(FindRes(rm.get(), RES_SPRITE, "a"), newer);
    EXPECT_EQ(rm->res[RES_SPRITE], newer);
    EXPECT_NE(older, newer);
    EXPECT_TRUE(FindRes(rm.get(), RES_SPRITE, "b"));
    EXPECT_FALSE(FindRes(rm.get(), RES_TEXTURE, "a"));

    for (int i = 0; i < 1000; ++i) AddRes(rm.get(), RES_FONT, new RFont);  // all named ""
    EXPECT_EQ(FindRes(rm.get(), RES_FONT, ""), rm->res[RES_FONT]);
    rm->ChangeScript("s.txt");
    EXPECT_NE(FindRes(rm.get(), RES_SPRITE, "a"), nullptr);
    EXPECT_EQ(FindRes(rm.get(), RES_FONT, ""), nullptr);
}

}  // namespace
