// The shipped resource script, loaded with the game's own resource manager:
// every name the game looks up must exist, load and be shaped for the place
// the game draws it, and the script must not produce a single log line.
#include <cmath>
#include <string>
#include <vector>

#include "gfx/animation.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"
#include "tests/assets/shipped_data.h"

namespace {

class ShippedScript : public ShippedData {
protected:
    void SetUp() override {
        ShippedData::SetUp();
        rm = new tideResourceManager("Res\\allres.txt");
    }
    void TearDown() override { delete rm; }

    // The sprite, after checking that it exists and its rectangle lies inside
    // a texture that loaded.
    tideSprite* Sprite(const char* name) {
        tideSprite* s = rm->GetSprite(name);
        EXPECT_NE(s, nullptr) << name << " is not declared";
        if (s) ExpectInsideTexture(name, s, 1);
        return s;
    }

    void ExpectInsideTexture(const char* name, tideSprite* s, int frames) {
        HTEXTURE tex = s->GetTexture();
        ASSERT_NE(tex, 0u) << name << ": texture did not load";
        float x, y, w, h;
        s->GetTextureRect(&x, &y, &w, &h);
        ASSERT_GE(w, 1) << name;
        ASSERT_GE(h, 1) << name;
        int tw = tide->Texture_GetWidth(tex, true), th = tide->Texture_GetHeight(tex, true);
        // Frames run along the row and wrap to the next rows from x = 0.
        int firstRow = int(tw - x) / int(w), perRow = tw / int(w);
        int rows = 1 + (frames > firstRow ? (frames - firstRow + perRow - 1) / perRow : 0);
        EXPECT_GE(x, 0) << name;
        EXPECT_GE(y, 0) << name;
        EXPECT_LE(x + w, tw) << name;
        EXPECT_LE(y + h * rows, th) << name << ": frames run past the texture";
    }

    void ExpectSize(tideSprite* s, float w, float h, const char* name) {
        if (!s) return;
        EXPECT_EQ(s->GetWidth(), w) << name;
        EXPECT_EQ(s->GetHeight(), h) << name;
    }

    void ExpectHotSpot(tideSprite* s, float hx, float hy, const char* name) {
        if (!s) return;
        float x, y;
        s->GetHotSpot(&x, &y);
        EXPECT_EQ(x, hx) << name;
        EXPECT_EQ(y, hy) << name;
    }

    void ExpectCentred(tideSprite* s, const char* name) {
        if (s) ExpectHotSpot(s, s->GetWidth() / 2, s->GetHeight() / 2, name);
    }

    tideResourceManager* rm = nullptr;
};

TEST_F(ShippedScript, MenuPicturesLandWhereTheMenusDrawThem) {
    tideSprite* logo = Sprite("orvo_logo");
    ExpectCentred(logo, "orvo_logo");
    ExpectSize(Sprite("mmenu"), 1024, 768, "mmenu");
    HTEXTURE menuTex = rm->GetTexture("mmenu");
    ASSERT_NE(menuTex, 0u);
    EXPECT_EQ(tide->Texture_GetWidth(menuTex, true), 1024);
    EXPECT_EQ(tide->Texture_GetHeight(menuTex, true), 768);
    tideSprite* chlvl = Sprite("chlvl");
    ExpectSize(chlvl, 1024, 768, "chlvl");
    ExpectCentred(chlvl, "chlvl");

    // Buttons are drawn from their rectangle's top-left corner.
    for (const char* name :
         {"button1", "button1Over", "button2", "button2Over", "button3", "button3Over"}) {
        tideSprite* s = Sprite(name);
        ExpectSize(s, 168, 43, name);
        ExpectHotSpot(s, 0, 0, name);
    }
    for (const char* name : {"optionsback", "optionsbackover"}) {
        tideSprite* s = Sprite(name);
        if (s) {
            EXPECT_EQ(s->GetWidth(), 168) << name;
        }
        ExpectHotSpot(s, 0, 0, name);
    }
    for (const char* name : {"chlvlbut", "chlvlbutover"}) {
        tideSprite* s = Sprite(name);
        ExpectSize(s, 37, 37, name);
        ExpectHotSpot(s, 0, 0, name);
    }

    tideSprite* cursor = Sprite("cursor");
    if (cursor) {
        float hx, hy;
        cursor->GetHotSpot(&hx, &hy);
        EXPECT_LT(hx, cursor->GetWidth() / 4) << "the pointer's tip is at its top-left";
        EXPECT_LT(hy, cursor->GetHeight() / 4);
    }
}

TEST_F(ShippedScript, SliderBackgroundsCoverTheirSliders) {
    HTEXTURE knob = rm->GetTexture("slider");
    ASSERT_NE(knob, 0u);
    EXPECT_GE(tide->Texture_GetWidth(knob, true), 19);
    EXPECT_GE(tide->Texture_GetHeight(knob, true), 19);
    const char* names[] = {"bgslider1", "bgslider2", "bgslider3"};
    for (int i = 0; i < 3; i++) {
        tideSprite* s = Sprite(names[i]);
        if (!s) continue;
        float hx, hy;
        s->GetHotSpot(&hx, &hy);
        // Drawn at (262 + 250 i, 500); the slider is 160x39 at (178 + 250 i, 500)
        // and its knob overhangs each end by half its 19-pixel width.
        float left = 262 + 250 * i - hx, top = 500 - hy;
        float sliderLeft = 178 + 250 * i;
        EXPECT_LE(left, sliderLeft - 9.5f) << names[i];
        EXPECT_GE(left + s->GetWidth(), sliderLeft + 160 + 9.5f) << names[i];
        EXPECT_LE(top, 500) << names[i];
        EXPECT_GE(top + s->GetHeight(), 539) << names[i];
    }
}

TEST_F(ShippedScript, BattleSpritesAreCentredAtTheirSizes) {
    tideSprite* map = Sprite("map");
    if (map) {
        EXPECT_GT(map->GetWidth() * map->GetHeight(), 0);
    }
    for (const char* name : {"white", "cellglow_rose", "sel1"}) {
        tideSprite* s = Sprite(name);
        ExpectSize(s, 64, 64, name);
        ExpectCentred(s, name);
    }
    tideSprite* rose2 = Sprite("cellglow_rose_2x");
    ExpectSize(rose2, 128, 128, "cellglow_rose_2x");
    ExpectCentred(rose2, "cellglow_rose_2x");
    for (const char* name : {"sel2", "glow1", "cursor_attack"}) ExpectCentred(Sprite(name), name);
    // Projectiles point right (longer than high) and travel on their centre.
    for (const char* name : {"arrow", "torpedo", "spike"}) {
        tideSprite* s = Sprite(name);
        if (!s) continue;
        EXPECT_GT(s->GetWidth(), s->GetHeight()) << name;
        ExpectCentred(s, name);
    }
}

TEST_F(ShippedScript, TurnMarkersComeInPairsOfBadgeSize) {
    for (const char* kind : {"aqua", "torp", "bati", "paul", "shark", "medu"}) {
        for (const char* state : {"_on", "_off"}) {
            std::string name = std::string(kind) + state;
            tideSprite* s = Sprite(name.c_str());
            if (!s) continue;
            EXPECT_GE(s->GetWidth(), 36) << name;
            EXPECT_LE(s->GetWidth(), 50) << name << ": badges are 50 pixels apart";
            float hx, hy;
            s->GetHotSpot(&hx, &hy);
            EXPECT_EQ(hy, s->GetHeight() / 2) << name << ": centred on the row at y = 700";
        }
        std::string on = std::string(kind) + "_on", off = std::string(kind) + "_off";
        tideSprite* a = rm->GetSprite(on.c_str());
        tideSprite* b = rm->GetSprite(off.c_str());
        if (a && b) {
            float ax, ay, aw, ah, bx, by, bw, bh;
            a->GetTextureRect(&ax, &ay, &aw, &ah);
            b->GetTextureRect(&bx, &by, &bw, &bh);
            EXPECT_TRUE(a->GetTexture() != b->GetTexture() || ax != bx || ay != by)
                << kind << ": the spent badge must look different";
        }
    }
}

struct AnimWanted {
    const char* name;
    int size;
    bool loops;
};

TEST_F(ShippedScript, UnitAnimationsFitTheirCellsAndOnlyStrikesStop) {
    const AnimWanted wanted[] = {
        {"aqua_idle", 64, true},  {"aqua_move", 64, true},    {"torp_idle", 64, true},
        {"torp_move", 64, true},  {"torp_attack", 64, false}, {"bati_idle", 128, true},
        {"paul_idle", 128, true}, {"paul_move", 128, true},   {"paul_attack", 128, false},
        {"akul_idle", 128, true}, {"akul_move", 128, true},   {"akul_attack", 128, false},
        {"medu_idle", 64, true},  {"medu_move", 64, true},
    };
    for (const AnimWanted& want : wanted) {
        SCOPED_TRACE(want.name);
        tideAnimation* shared = rm->GetAnimation(want.name);
        ASSERT_NE(shared, nullptr) << "not declared";
        ExpectInsideTexture(want.name, shared, shared->GetFrames());
        ExpectSize(shared, float(want.size), float(want.size), want.name);
        ExpectCentred(shared, want.name);
        EXPECT_GT(shared->GetFrames(), 1);
        EXPECT_EQ((shared->GetMode() & 4) != 0, want.loops);

        // Played as a unit plays it: a strike must end by itself.
        tideAnimation a(*shared);
        a.Play();
        for (int i = 0; i < 200; i++) a.Update(0.05f);
        EXPECT_EQ(a.IsPlaying(), want.loops);
    }
}

TEST_F(ShippedScript, BattleFontHasEveryCharacterItPrints) {
    tideFont* font = rm->GetFont("font2");
    ASSERT_NE(font, nullptr);
    ASSERT_GT(font->GetHeight(), 10);
    std::string needed = "0123456789-:;Level available";
    for (char c = 'A'; c <= 'Z'; c++) needed += c;
    for (char c = 'a'; c <= 'z'; c++) needed += c;
    for (char c : needed) {
        tideSprite* g = font->GetSprite(c);
        ASSERT_NE(g, nullptr) << "no glyph for '" << c << "'";
        // Full-height glyph boxes keep the baseline on one row.
        EXPECT_EQ(g->GetHeight(), font->GetHeight()) << c;
        if (c != ' ') ExpectInsideTexture("font2 glyph", g, 1);
    }
    EXPECT_GT(font->GetStringWidth("Level available", false), 60);
    EXPECT_EQ(font->GetColor(), 0xFFFFFFFFu) << "white, tinted by the game if at all";
}

TEST_F(ShippedScript, EverySoundAndMusicStreamLoads) {
    for (const char* name :
         {"button_over", "aquasnd_move", "aqua_attack", "torpman_attack", "batisnd_move",
          "bati_attack", "mobssnd_move", "paul_attack", "shark_attack", "medu_attack"})
        EXPECT_NE(rm->GetEffect(name), 0u) << name;
    for (const char* name : {"main_theme", "game_music"})
        EXPECT_NE(rm->GetStream(name), 0u) << name;
}

TEST_F(ShippedScript, ParsingAndMakingEverythingLogsNothing) {
    EXPECT_TRUE(rm->Precache(0));
    for (const std::string& line : hl->Log()) ADD_FAILURE() << "log: " << line;
}

}  // namespace
