// Start-up and teardown of the game controller.
#include <algorithm>

#include "engine/core.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "res/resource_manager.h"
#include "tests/screens/screens_fixture.h"

namespace {

using IdList = std::vector<int>;

void ExpectRect(const tideGUI* g, int id, float l, float t, float w, float h) {
    tideGUIObject* c = g->GetCtrl(id);
    ASSERT_NE(c, nullptr) << "control " << id;
    EXPECT_FLOAT_EQ(c->rect.x1, l) << "control " << id;
    EXPECT_FLOAT_EQ(c->rect.y1, t) << "control " << id;
    EXPECT_FLOAT_EQ(c->rect.x2, l + w) << "control " << id;
    EXPECT_FLOAT_EQ(c->rect.y2, t + h) << "control " << id;
}

}  // namespace

TEST_F(ScreensTest, StartsOnTheMainMenuWithEveryScreenBuilt) {
    WriteData(DefaultConfig());
    Start();
    EXPECT_EQ(game->gamestate, GS_MMENU);
    EXPECT_EQ(game->MaxOpenLevel(), 1);
    EXPECT_EQ(cGame::Instance(), game);
    EXPECT_FALSE(game->doQuit);
    EXPECT_TRUE(game->units.empty());
    EXPECT_EQ(game->selunit, nullptr);
    EXPECT_EQ(game->selcell, nullptr);
    EXPECT_EQ(cGame::turn, 0);

    EXPECT_EQ(Ids(game->gui), (IdList{ID_MENU_START, ID_MENU_OPTIONS, ID_MENU_EXIT, ID_CONTINUE}));
    // A button centred on each of the campaign's spots, then back.
    IdList levels;
    for (int n = 1; n <= kLevels; ++n) levels.push_back(ID_LEVEL_FIRST + n - 1);
    levels.push_back(ID_LEVELS_BACK);
    EXPECT_EQ(Ids(game->chlvlgui), levels);
    EXPECT_EQ(Ids(game->guioptions), (IdList{ID_OPTIONS_BACK, ID_SOUND_SLIDER, ID_MUSIC_SLIDER,
                                             ID_SPEED_SLIDER, ID_DIFFICULTY, ID_LEAVE_BATTLE}));
    ExpectRect(game->gui, 3, 428, 600, 168, 43);
    ExpectRect(game->chlvlgui, ID_LEVEL_FIRST + 7, 800 - 18.5f, 620 - 18.5f, 37, 37);
    ExpectRect(game->chlvlgui, ID_LEVELS_BACK, 100, 650, 168, 43);
    ExpectRect(game->guioptions, 7, 428, 600, 168, 36);
    ExpectRect(game->guioptions, 8, 178, 500, 160, 39);
    ExpectRect(game->guioptions, 10, 678, 500, 160, 39);
    EXPECT_EQ(game->guioptions->GetCtrl(8), game->sound_sld);
    EXPECT_EQ(game->guioptions->GetCtrl(9), game->music_sld);
    EXPECT_EQ(game->guioptions->GetCtrl(10), game->speed_sld);

    // Every name bound.
    for (tideSprite* s : {game->mmenubg, game->chlvl, game->spr, game->bgd, game->cur, game->aim,
                          game->cellglow_rose, game->cellglow_rose_2x, game->glowspr,
                          game->sliderbg1, game->sliderbg2, game->sliderbg3, grid_sel1, grid_sel2})
        EXPECT_NE(s, nullptr);
    EXPECT_EQ(cGame::fnt1, cGame::resman->GetFont("font2"));
    EXPECT_EQ(game->music, cGame::resman->GetStream("main_theme", 0));

    // The board, row by row with the cells' screen centres.
    ASSERT_EQ(game->cells.size(), 192u);
    EXPECT_EQ(game->cells[17].x, 1);
    EXPECT_EQ(game->cells[17].y, 1);
    EXPECT_EQ(game->cells[17].scrx, 96);
    EXPECT_EQ(game->cells[191].scry, 736);
}

TEST_F(ScreensTest, MenuMusicLoopsFromStartAtTheConfiguredVolume) {
    WriteData(DefaultConfig());
    Start();
    ASSERT_EQ(StreamsPlayed().size(), 1u);
    const tideSoundEvent& e = hl->Sounds().back();
    EXPECT_NE(e.name.find("main_theme"), std::string::npos);
    EXPECT_TRUE(e.loop);
    EXPECT_EQ(e.volume, 30);
    EXPECT_EQ(e.channel, game->muschan);
}

TEST_F(ScreensTest, SlidersStartFromTheConfiguration) {
    // Sound and speed default to 50; out-of-range settings are held by the
    // slider's range while the music volume keeps what the file says.
    WriteData(DefaultConfig());
    Start();
    EXPECT_FLOAT_EQ(game->music_sld->GetValue(), 30);
    EXPECT_FLOAT_EQ(game->sound_sld->GetValue(), 50);
    EXPECT_FLOAT_EQ(game->speed_sld->GetValue(), 50);
    Stop();

    WriteData("[options]\nmusic=150\nsound=20\nspeed=90\n");
    Start();
    EXPECT_FLOAT_EQ(game->music_sld->GetValue(), 100);
    EXPECT_EQ(game->musicvolume, 150);
    EXPECT_FLOAT_EQ(game->sound_sld->GetValue(), 20);
    EXPECT_EQ(game->soundvolume, 20);
    EXPECT_EQ(eng->tide->System_GetState(TIDE_FXVOLUME), 20);
    EXPECT_FLOAT_EQ(game->speed_sld->GetValue(), 90);
    EXPECT_EQ(game->speed, 90);
}

TEST_F(ScreensTest, MenuBackgroundAtRestShowsTheTextureOverTheWindow) {
    WriteData(DefaultConfig());
    Start();
    tideDistortionMesh* m = game->mmdistort;
    EXPECT_EQ(m->GetTexture(), Texture("mmenu"));
    EXPECT_EQ(m->GetBlendMode(), BLEND_COLORADD | BLEND_ALPHABLEND | BLEND_ZWRITE);

    eng->tide->Gfx_BeginScene(0);
    m->Render(0, 0);
    eng->tide->Gfx_EndScene();
    std::vector<tideQuad> q = QuadsWith(Texture("mmenu"));
    ASSERT_EQ(q.size(), 225u);
    float minx = 1e9f, miny = 1e9f, maxx = -1e9f, maxy = -1e9f;
    for (const tideQuad& quad : q) {
        for (const tideVertex& v : quad.v) {
            // Black with color add: the texel as it is; texture follows position.
            EXPECT_EQ(v.col, 0xFF000000u);
            EXPECT_FLOAT_EQ(v.z, 0.5f);
            EXPECT_NEAR(v.tx, v.x / 1024, 1e-5);
            EXPECT_NEAR(v.ty, v.y / 768, 1e-5);
            minx = std::min(minx, v.x), maxx = std::max(maxx, v.x);
            miny = std::min(miny, v.y), maxy = std::max(maxy, v.y);
        }
    }
    EXPECT_FLOAT_EQ(minx, 0);
    EXPECT_FLOAT_EQ(miny, 0);
    EXPECT_NEAR(maxx, 1024, 1e-3);
    EXPECT_NEAR(maxy, 768, 1e-3);
}

// The grid is made for composing a level's backdrop, drawn over the map, and
// freed once it is in the backdrop; the next level makes it again.
TEST_F(ScreensTest, GridLivesOnlyUntilItIsInTheBackdrop) {
    WriteData(DefaultConfig());
    Start();
    EXPECT_EQ(game->gridtex, 0u);
    for (int level : {1, 2}) {
        game->LoadLevel(level);
        // Scenes drawn into a target add to the frame's record.
        std::vector<tideQuad> map = QuadsWith(Texture("map"));
        ASSERT_EQ(map.size(), size_t(level));
        const std::vector<tideQuad>& q = hl->Quads();
        auto last = std::find_if(q.rbegin(), q.rend(), [&](const tideQuad& t) { return t.tex == map[0].tex; });
        ASSERT_NE(last, q.rend());
        ASSERT_NE(last, q.rbegin());
        HTEXTURE ramp = std::prev(last)->tex;
        EXPECT_NE(ramp, 0u);
        EXPECT_EQ(QuadsWith(ramp).size(), 16u + 9 * 14 + 1);
        EXPECT_EQ(eng->tide->Texture_GetWidth(ramp), 0) << "the grid's texture is freed";
        EXPECT_EQ(game->gridtex, 0u);
    }
}

// A screen keeps its own full-window pictures and those one click away, and
// gives back the others; the logo's goes when its time is up, the map's once
// it is in the level's backdrop.
TEST_F(ScreensTest, EachScreenKeepsOnlyItsOwnPictures) {
    WriteData(DefaultConfig());
    Start();
    tideCore* core = tideCore::instance;
    const HTEXTURE menu = Texture("mmenu"), levels = Texture("chlvl"), logo = Texture("orvo_logo");
    Frame();
    EXPECT_TRUE(core->Evicted(Texture("map")));
    EXPECT_FALSE(core->Evicted(logo));
    for (int i = 0; i < 130; ++i) Frame();  // past the logo
    EXPECT_TRUE(core->Evicted(logo));
    struct Case {
        int state;
        bool menuGone, levelsGone;
    };
    for (Case c : {Case{GS_CHLVL, true, false}, {GS_OPTIONS, false, true}, {GS_GAME, true, true},
                   {GS_MMENU, false, false}}) {
        // Both back in memory, as drawing them on a device would bring them.
        core->GetTexture(menu);
        core->GetTexture(levels);
        if (c.state == GS_GAME) game->LoadLevel(1);
        game->gamestate = c.state;
        for (int i = 0; i < 3; ++i) Frame();
        EXPECT_EQ(core->Evicted(menu), c.menuGone) << c.state;
        EXPECT_EQ(core->Evicted(levels), c.levelsGone) << c.state;
        if (c.state == GS_GAME) {
            EXPECT_TRUE(core->Evicted(Texture("map")));
        }
    }
}

TEST_F(ScreensTest, MissingDataStillStartsRunsAndExits) {
    // No resource script, no configuration: every lookup comes back empty.
    Start();
    EXPECT_EQ(game->gamestate, GS_MMENU);
    EXPECT_EQ(game->cur, nullptr);
    EXPECT_EQ(cGame::fnt1, nullptr);
    PassLogo();
    Click(512, 521); // level choice
    EXPECT_EQ(game->gamestate, GS_CHLVL);
    Click(184, 671); // back
    Click(512, 571); // options
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    Drag(500, 519, 428, 519);
    Click(512, 618); // back
    EXPECT_EQ(game->gamestate, GS_MMENU);
    Stop();
    EXPECT_EQ(cGame::Instance(), nullptr);
    EXPECT_EQ(cGame::resman, nullptr);
}

TEST_F(ScreensTest, TeardownFreesTheGridTextureAndTheResources) {
    WriteData(DefaultConfig());
    Start();
    PassLogo();
    StartLevel(1);
    ASSERT_EQ(game->units.size(), 2u);
    HTEXTURE grid = game->gridtex;
    Stop();
    EXPECT_EQ(eng->tide->Texture_GetWidth(grid), 0);
    EXPECT_EQ(cGame::resman, nullptr);
    EXPECT_EQ(cGame::fnt1, nullptr);
    EXPECT_EQ(grid_sel1, nullptr);
}
