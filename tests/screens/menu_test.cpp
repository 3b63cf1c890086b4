// The main menu (logo, ripple, buttons) and the level choice (level buttons,
// marker, music switches), driven through input as a player would.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <numbers>
#include <string>

#include "gfx/distort.h"
#include "gfx/font.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "tests/screens/screens_fixture.h"
#include "units/unit.h"

namespace {

const float kMenuX = 512;
const float kLevelChoiceY = 521, kOptionsY = 571, kExitY = 621;
const float kLevelBackX = 184, kLevelBackY = 671;

struct Box {
    float x1 = 1e9f, y1 = 1e9f, x2 = -1e9f, y2 = -1e9f;
};

Box Bounds(const std::vector<tideQuad>& quads) {
    Box b;
    for (const tideQuad& q : quads)
        for (const tideVertex& v : q.v) {
            b.x1 = std::min(b.x1, v.x), b.y1 = std::min(b.y1, v.y);
            b.x2 = std::max(b.x2, v.x), b.y2 = std::max(b.y2, v.y);
        }
    return b;
}

}  // namespace

class MenuTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteData(DefaultConfig());
        Start();
    }

    // Where the marker text starts: "Level available" is 15 glyphs, centred,
    // at full size (the map's numbers are smaller).
    tcellpos MarkerAt() {
        Move(1010, 10);  // off every button, so no level's name shows
        Frames(2);
        std::vector<tideQuad> text;
        for (const tideQuad& q : QuadsWith(cGame::fnt1->hTexture))
            if (q.v[2].y - q.v[0].y == kGlyphH) text.push_back(q);
        Box b = Bounds(text);
        return {static_cast<int>(b.x1 + 15 * kGlyphW / 2), static_cast<int>(b.y1)};
    }
    // Where the marker stands for level n when nothing is in its way:
    // centred under its button (18.5 pixels from the spot's centre), its won
    // badge and stars (22) and a gap (6).
    tcellpos MarkerFor(int n) const {
        return {static_cast<int>(game->levelmap.SpotX(n)), static_cast<int>(game->levelmap.SpotY(n) + 46.5f)};
    }
    // The full-size lines of text drawn in the last frame, by their top: the
    // test font's glyph for c sits 2 * (c - 32) pixels into its 256-pixel texture.
    struct Line {
        std::string text;
        tideRect box;
    };
    std::map<float, Line> TextLines() {
        std::vector<tideQuad> glyphs;
        for (const tideQuad& q : QuadsWith(cGame::fnt1->hTexture))
            if (q.v[2].y - q.v[0].y == kGlyphH) glyphs.push_back(q);
        std::sort(glyphs.begin(), glyphs.end(), [](const tideQuad& a, const tideQuad& b) { return a.v[0].x < b.v[0].x; });
        std::map<float, Line> lines;
        for (const tideQuad& q : glyphs) {
            Line& l = lines[q.v[0].y];
            l.text += static_cast<char>(std::lround(q.v[0].tx * 128) + 32);
            l.box.Encapsulate(q.v[0].x, q.v[0].y);
            l.box.Encapsulate(q.v[2].x, q.v[2].y);
        }
        return lines;
    }

    void ExpectButtonAt(int id, float x, float y) {
        tideGUIObject* c = game->chlvlgui->GetCtrl(id);
        ASSERT_NE(c, nullptr);
        EXPECT_FLOAT_EQ(c->rect.x1, x);
        EXPECT_FLOAT_EQ(c->rect.y1, y);
    }
    // Glyphs drawn on the row starting at y (the top of the text).
    int GlyphsAtRow(float y) {
        int n = 0;
        for (const tideQuad& q : QuadsWith(cGame::fnt1->hTexture)) n += q.v[0].y == y;
        return n;
    }

    // Plays level 1 through: the Aqua shoots the Medu whenever it may act.
    void WinLevel1() {
        PlayLevel1Until([&] { return game->gamestate != GS_GAME; });
    }
};

TEST_F(MenuTest, LogoShowsForTwoSecondsAndIgnoresClicks) {
    Frame();
    ASSERT_EQ(hl->Clears().size(), 1u);
    EXPECT_EQ(hl->Clears()[0], 0u);
    Box logo = Bounds(QuadsWith(Texture("orvo_logo")));
    EXPECT_FLOAT_EQ(logo.x2 - logo.x1, 8); // 16-pixel sprite at half size
    EXPECT_FLOAT_EQ(logo.x1, 512);         // hot spot at the sprite's corner
    EXPECT_TRUE(QuadsWith(Texture("mmenu")).empty());

    Click(kMenuX, kLevelChoiceY);
    Click(kMenuX, kExitY);
    while (eng->tide->Timer_GetTime() < 1.9f) Click(kMenuX, kOptionsY);
    EXPECT_EQ(game->gamestate, GS_MMENU);
    EXPECT_FALSE(game->doQuit);
    float dx = 1, dy = 1;
    game->mmdistort->GetDisplacement(7, 7, &dx, &dy, DISP_NODE);
    EXPECT_FLOAT_EQ(dx, 0); // the wave clock has not run
    EXPECT_FLOAT_EQ(dy, 0);

    PassLogo();
    EXPECT_EQ(QuadsWith(Texture("mmenu")).size(), 225u);
    Click(kMenuX, kOptionsY);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    EXPECT_EQ(game->prevgamestate, GS_MMENU);
}

TEST_F(MenuTest, MainMenuButtonsGoWhereTheySay) {
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    EXPECT_EQ(game->gamestate, GS_CHLVL);
    Click(kLevelBackX, kLevelBackY);
    EXPECT_EQ(game->gamestate, GS_MMENU);

    Click(kMenuX, kOptionsY);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    Click(512, 618);
    EXPECT_EQ(game->gamestate, GS_MMENU);

    Move(kMenuX, kExitY);
    Frame(); // the capture left by the options click ends first
    hl->Key(TIDEK_LBUTTON, true);
    EXPECT_TRUE(Frame()); // the loop ends after this frame
    EXPECT_TRUE(game->doQuit);
}

TEST_F(MenuTest, RippleCirclesInnerNodesAlongDiagonalsAndKeepsTheBorder) {
    // The wave clock is the menu's own and survives between visits, so only
    // its advance is known: dt * 10 radians a frame.
    float dx = 0, dy = 0;
    PassLogo();
    Frame(0.05f);
    game->mmdistort->GetDisplacement(1, 1, &dx, &dy, DISP_NODE);
    float a0 = std::atan2(dy, dx);
    Frame(0.05f);
    game->mmdistort->GetDisplacement(1, 1, &dx, &dy, DISP_NODE);
    EXPECT_NEAR(std::remainder(std::atan2(dy, dx) - a0 - 0.5f, 2 * std::numbers::pi), 0, 1e-3);

    for (int i = 0; i < 37; ++i) Frame();
    Click(kMenuX, kOptionsY);
    for (int i = 0; i < 23; ++i) Frame();
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            game->mmdistort->GetDisplacement(c, r, &dx, &dy, DISP_NODE);
            if (r == 0 || c == 0 || r == 15 || c == 15) {
                EXPECT_FLOAT_EQ(dx, 0) << c << "," << r;
                EXPECT_FLOAT_EQ(dy, 0) << c << "," << r;
            } else {
                EXPECT_NEAR(std::hypot(dx, dy), 0.5, 1e-4) << c << "," << r;
            }
        }
    }
    // (r + c) / 2 sets the phase: (2, 3) and (1, 4) share one, (3, 3) differs.
    float ax, ay, bx, by, cx, cy;
    game->mmdistort->GetDisplacement(2, 3, &ax, &ay, DISP_NODE);
    game->mmdistort->GetDisplacement(1, 4, &bx, &by, DISP_NODE);
    game->mmdistort->GetDisplacement(3, 3, &cx, &cy, DISP_NODE);
    EXPECT_FLOAT_EQ(ax, bx);
    EXPECT_FLOAT_EQ(ay, by);
    EXPECT_GT(std::hypot(ax - cx, ay - cy), 0.1);
}

TEST_F(MenuTest, OnlyUnlockedLevelsStartABattle) {
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    hl->ClearSounds();
    for (int n = 2; n <= 8; ++n) {
        tcellpos b = LevelButton(n);
        Click(static_cast<float>(b.first), static_cast<float>(b.second));
        EXPECT_EQ(game->gamestate, GS_CHLVL) << "level " << n;
    }
    EXPECT_TRUE(game->units.empty());
    EXPECT_TRUE(StreamsPlayed().empty());

    HCHANNEL menuChannel = game->muschan;
    tcellpos b = LevelButton(1);
    Click(static_cast<float>(b.first), static_cast<float>(b.second));
    EXPECT_EQ(game->gamestate, GS_GAME);
    EXPECT_EQ(game->units.size(), 2u);
    EXPECT_EQ(hl->ChannelVolume(menuChannel), -1); // menu music stopped
    ASSERT_EQ(StreamsPlayed().size(), 1u);
    EXPECT_NE(StreamsPlayed()[0].find("game_music"), std::string::npos);
    EXPECT_EQ(hl->ChannelVolume(game->muschan), 30);
}

TEST_F(MenuTest, WinningLevelOneUnlocksLevelTwoAndMovesTheMarker) {
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    EXPECT_EQ(MarkerAt(), MarkerFor(1));

    WinLevel1();
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    EXPECT_EQ(game->MaxOpenLevel(), 2);
    EXPECT_EQ(MarkerAt(), MarkerFor(2));

    // The battle music goes on over the level choice until back.
    HCHANNEL battleChannel = game->muschan;
    EXPECT_EQ(hl->ChannelVolume(battleChannel), 30);
    hl->ClearSounds();
    Click(kLevelBackX, kLevelBackY);
    EXPECT_EQ(game->gamestate, GS_MMENU);
    EXPECT_EQ(hl->ChannelVolume(battleChannel), -1);
    ASSERT_EQ(StreamsPlayed().size(), 1u);
    EXPECT_NE(StreamsPlayed()[0].find("main_theme"), std::string::npos);

    StartLevel(2);
    EXPECT_EQ(game->gamestate, GS_GAME);
}

// The campaign file alone lays the level choice out: a spot, a numbered disc
// and a button where each level's section puts it, a trail through them in
// order, and the marker at the last open level.
TEST_F(MenuTest, TheLevelMapIsLaidOutFromTheCampaignFile) {
    Stop();
    eng->WriteFile("res/campaign.txt",
                   "[level1]\nfile=res\\lvl1.txt\ntitle=Reef\nx=200\ny=300\n"
                   "[level2]\nfile=res\\lvl2.txt\nx=500\ny=320\n"
                   "[level3]\nfile=res\\lvl9.txt\ntitle=Trench\nx=640.5\ny=600\n");
    Start();
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    const float spots[][2] = {{200, 300}, {500, 320}, {640.5f, 600}};
    std::vector<tideQuad> islands = QuadsWith(Texture("lvlspot"));
    std::vector<tideQuad> discs = QuadsWith(Texture("lvlbadge"));
    // Then a second, dimming spot on each of the two locked levels.
    ASSERT_EQ(islands.size(), 5u);
    ASSERT_EQ(discs.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_FLOAT_EQ(islands[i].v[0].x, spots[i][0]);  // the test sprite's hot spot is its corner
        EXPECT_FLOAT_EQ(islands[i].v[0].y, spots[i][1]);
        ExpectButtonAt(ID_LEVEL_FIRST + i, spots[i][0] - 18.5f, spots[i][1] - 18.5f);
    }
    // The discs change colour along the campaign.
    EXPECT_NE(discs[0].v[0].col, discs[2].v[0].col);
    // The trail runs from the first spot to the last.
    Box trail = Bounds(QuadsWith(Texture("trailedge")));
    EXPECT_NEAR(trail.x1, 200, 1);
    EXPECT_GT(trail.x2, 640.5f);
    EXPECT_LT(trail.x2, 640.5f + 8);
    EXPECT_FALSE(QuadsWith(Texture("traildash")).empty());

    for (int open = 1; open <= 3; ++open) {
        game->progress = cProgress();
        for (int k = 1; k < open; ++k) game->progress.Win(game->campaign.Level(k)->key);
        EXPECT_EQ(MarkerAt(), MarkerFor(open)) << "open up to " << open;
    }
    // A level's name shows while the pointer is over its button.
    const float kTitleTop = 128;
    EXPECT_EQ(GlyphsAtRow(kTitleTop), 0);
    Move(spots[2][0], spots[2][1]);
    Frames(2);
    EXPECT_GE(GlyphsAtRow(kTitleTop), 8);  // "3. Trench"
}

// Locked levels look locked (dimmed spot, padlock), take neither the pointer
// nor the keys' focus, and a click on one says what opens it.
TEST_F(MenuTest, LockedLevelsLookLockedAndAClickSaysWhy) {
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    ASSERT_EQ(game->MaxOpenLevel(), 1);
    Move(1010, 10);
    Frames(2);
    // A second, darkening spot and five plain quads on each locked level.
    EXPECT_EQ(QuadsWith(Texture("lvlspot")).size(), static_cast<size_t>(2 * kLevels - 1));
    EXPECT_EQ(QuadsWith(0).size(), static_cast<size_t>(5 * (kLevels - 1)));

    const struct {
        int level;
        const char* says;
    } clicks[] = {{2, "Win level 1 to open this one"}, {4, "Locked: win level 1 and the ones after it first"}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.level);
        tcellpos b = LevelButton(c.level);
        Move(static_cast<float>(b.first), static_cast<float>(b.second));
        Frames(2);
        EXPECT_EQ(game->chlvlgui->ctrlOver, nullptr);  // no hover highlight
        Click(static_cast<float>(b.first), static_cast<float>(b.second));
        EXPECT_EQ(game->gamestate, GS_CHLVL);
        EXPECT_EQ(TextLines()[128].text, c.says);
    }
    Frames(200);  // the notice goes after a while
    EXPECT_EQ(TextLines().count(128), 0u);

    // The keys go from level 1 to Back and round, past every locked level.
    for (int i = 0; i < 4; ++i) {
        Key(TIDEK_DOWN);
        EXPECT_TRUE(game->chlvlgui->GetFocus() == ID_LEVEL_FIRST || game->chlvlgui->GetFocus() == ID_LEVELS_BACK)
            << game->chlvlgui->GetFocus();
    }
}

// On the shipped map, whose spots lie close together, the label by the newest
// open level covers no button and no level's picture, for every stage of the
// campaign, and says so once every level is won.
TEST_F(MenuTest, TheNewestLevelsLabelKeepsClearAndSaysWhenAllAreWon) {
    Stop();
    eng->WriteFile("res/campaign.txt", ShippedDataText("campaign.txt"));
    Start();
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    const int count = game->campaign.Count();
    ASSERT_GE(count, 2);
    for (int won = 0; won <= count; ++won) {
        SCOPED_TRACE(testing::Message() << won << " won");
        game->progress = cProgress();
        for (int k = 1; k <= won; ++k) game->progress.Win(game->campaign.Level(k)->key);
        Move(1010, 10);
        Frames(2);
        const char* want = won == count ? "Every level won" : "Level available";
        const std::map<float, Line> lines = TextLines();
        const Line* label = nullptr;
        for (const auto& [top, line] : lines)
            if (line.text == want) label = &line;
        ASSERT_NE(label, nullptr);
        for (int n = 1; n <= count; ++n) {
            tideRect area = game->LevelArea(n);
            EXPECT_FALSE(label->box.Intersect(&area)) << "level " << n;
        }
        for (tideGUIObject* c = game->chlvlgui->ctrls; c; c = c->next)
            EXPECT_FALSE(c->bVisible && label->box.Intersect(&c->rect)) << "control " << c->id;
        // Beside the newest open level: within a label's width of it.
        const int open = std::min(won + 1, count);
        EXPECT_LT(std::fabs((label->box.x1 + label->box.x2) / 2 - game->levelmap.SpotX(open)), 15 * kGlyphW);
        EXPECT_LT(std::fabs((label->box.y1 + label->box.y2) / 2 - game->levelmap.SpotY(open)), 70);
    }
}

// The level choice is one picture, its steady layer, under the pointer: the
// picture is drawn again only when something on it changes.
TEST_F(MenuTest, TheLevelChoiceIsRedrawnOnlyWhenWhatItShowsChanges) {
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    Move(1010, 10);
    Frame();
    ASSERT_TRUE(game->layer.Fresh());
    const tcellpos one = LevelButton(1);
    const float x = static_cast<float>(one.first), y = static_cast<float>(one.second);
    const struct {
        const char* what;
        std::function<void()> act;
        bool redrawn;
    } steps[] = {
        {"an idle frame", [&] { Frame(); }, false},
        {"the pointer moving off every level", [&] { Move(990, 30), Frame(); }, false},
        {"the pointer entering level 1", [&] { Move(x, y), Frame(); }, true},
        {"the pointer moving within it", [&] { Move(x + 3, y - 2), Frame(); }, false},
        {"the pointer leaving it", [&] { Move(990, 30), Frame(); }, true},
        {"a win", [&] { game->progress.Win("lvl1.txt"), Frame(); }, true},
        {"a key moving the focus", [&] { Key(TIDEK_DOWN); }, true},
        {"frames while it stays", [&] { Frames(3); }, false},
    };
    for (const auto& s : steps) {
        const int before = game->layer.Redraws();
        s.act();
        EXPECT_EQ(game->layer.Redraws() > before, s.redrawn) << s.what;
        EXPECT_TRUE(game->layer.Fresh()) << s.what;
    }
    // Only the pointer is drawn over the picture.
    const std::vector<tideQuad>& q = hl->Quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].tex, eng->tide->Target_GetTexture(game->layer.Target()));
    EXPECT_EQ(q[1].tex, Texture("cursor"));
}

// Without a render target the level choice draws the same quads itself.
TEST_F(MenuTest, WithoutARenderTargetTheLevelChoiceLosesNothing) {
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    tcellpos one = LevelButton(1);
    Move(static_cast<float>(one.first), static_cast<float>(one.second));
    Frame();
    ASSERT_TRUE(game->layer.Fresh());
    std::vector<tideQuad> shown = game->layer.Quads();
    shown.insert(shown.end(), hl->Quads().begin() + 1, hl->Quads().end());

    // Render targets take no memory here: they fill the engine's budget.
    game->layer.Free();
    std::vector<HTARGET> hog;
    while (HTARGET t = eng->tide->Target_Create(1024, 256, false)) hog.push_back(t);
    Frame();
    EXPECT_FALSE(game->layer.Fresh());
    const std::vector<tideQuad>& direct = hl->Quads();
    ASSERT_EQ(direct.size(), shown.size());
    EXPECT_EQ(std::memcmp(direct.data(), shown.data(), shown.size() * sizeof(tideQuad)), 0);
    for (HTARGET t : hog) eng->tide->Target_Free(t);
}

TEST_F(MenuTest, CursorIsDrawnOnEveryScreenButTheBattle) {
    auto cursorAt = [&](float x, float y) {
        Move(x, y);
        Frame();
        const std::vector<tideQuad>& q = hl->Quads();
        return !q.empty() && q.back().tex == Texture("cursor") && q.back().v[0].x == x &&
               q.back().v[0].y == y;
    };
    EXPECT_TRUE(cursorAt(300, 200)); // logo
    PassLogo();
    EXPECT_TRUE(cursorAt(310, 210)); // menu
    Click(kMenuX, kOptionsY);
    EXPECT_TRUE(cursorAt(320, 220)); // options
    Click(512, 618);
    Click(kMenuX, kLevelChoiceY);
    EXPECT_TRUE(cursorAt(330, 230)); // level choice
    // Over an enemy the battle shows its aiming cursor and nothing else.
    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    Move(kMeduX * 64 + 32, kRow * 64 + 32);
    Frame();
    EXPECT_TRUE(QuadsWith(Texture("cursor")).empty());
    EXPECT_EQ(QuadsWith(Texture("cursor_attack")).size(), 1u);
}

// A campaign level with a briefing waits under it: nothing on the board
// moves until Enter (or Space, a click, a gamepad's A); Escape (B) goes back
// to the level choice instead.
TEST_F(MenuTest, ABriefingHoldsTheBattleUntilEnter) {
    Stop();
    eng->WriteFile("res/campaign.txt",
                   "[level1]\nfile=res\\lvl1.txt\nx=200\ny=300\npar=4\n"
                   "briefing=The jellyfish drift in. Strike first.\n");
    Start();
    PassLogo();
    for (int key : {TIDEK_ESCAPE, TIDEK_ENTER, TIDEK_PAD_B, TIDEK_PAD_A}) {
        SCOPED_TRACE(key);
        const bool back = key == TIDEK_ESCAPE || key == TIDEK_PAD_B;
        Click(kMenuX, kLevelChoiceY);
        if (game->gamestate == GS_MMENU) Click(kMenuX, kLevelChoiceY);
        StartLevel(1);
        ASSERT_EQ(game->gamestate, GS_GAME);
        ASSERT_TRUE(game->briefing);
        int turn = cGame::turn;
        std::vector<int> health;
        for (const cUnit* u : game->units) health.push_back(u->GetHealth());
        Frames(120);  // the Medu would have shot by now, were it its turn
        EXPECT_TRUE(game->briefing);
        EXPECT_EQ(cGame::turn, turn);
        for (std::size_t i = 0; i < health.size(); ++i)
            EXPECT_EQ(game->units[i]->GetHealth(), health[i]);
        Key(key);
        EXPECT_FALSE(game->briefing);
        EXPECT_EQ(game->gamestate, back ? GS_CHLVL : GS_GAME);
        if (!back) game->LeaveBattle();
    }
}

// The player's own levels: the level files in "levels" of the user's data
// folder, listed after the campaign and open from the start, played at once
// and saving no progress; a file that is no level is listed, says why, and
// does nothing.
TEST_F(MenuTest, YourLevelsAreListedOpenAndPlayedWithoutProgress) {
    Stop();
    std::string dir = std::string(eng->tide->System_GetState(TIDE_USERDATADIR)) + "/levels";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/b_reef.txt") << "[unit1]\nname=Aqua\nx=2\ny=5\n[unit2]\nname=Medu\nx=4\ny=5\n";
    std::ofstream(dir + "/a_notes.txt") << "just some notes\n";
    std::ofstream(dir + "/readme.md") << "[unit1]\nname=Aqua\n";
    Start();
    PassLogo();
    Click(kMenuX, kLevelChoiceY);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    ASSERT_EQ(game->userLevels.size(), 2u);
    EXPECT_EQ(game->userLevels[0].name, "a_notes.txt");
    EXPECT_NE(game->userLevels[0].fault.find("not a level file"), std::string::npos);
    EXPECT_EQ(game->userLevels[1].fault, "");
    EXPECT_EQ(eng->LogCount("your levels: a_notes.txt cannot be played"), 1);

    // By keys and a pad: Tab reaches the list, Up and Down (the D-pad) choose
    // without playing, as the wheel scrolls without playing; Enter (A) plays
    // the chosen level.
    for (int i = 0; i < 20 && game->chlvlgui->GetFocus() != ID_USER_LEVELS; ++i) Key(TIDEK_TAB);
    ASSERT_EQ(game->chlvlgui->GetFocus(), ID_USER_LEVELS);
    EXPECT_EQ(game->userList->GetSelectedItem(), 0);
    Move(100, 480);
    hl->Wheel(-1);
    Frame();
    for (int key : {TIDEK_DOWN, TIDEK_UP, TIDEK_PAD_DOWN}) {
        Key(key);
        EXPECT_EQ(game->gamestate, GS_CHLVL) << key;
        EXPECT_EQ(game->chlvlgui->GetFocus(), ID_USER_LEVELS) << key;
    }
    EXPECT_EQ(game->userList->GetSelectedItem(), 1);
    Key(TIDEK_UP);
    Key(TIDEK_ENTER);
    EXPECT_EQ(game->gamestate, GS_CHLVL) << "an unplayable file starts nothing";
    Key(TIDEK_DOWN);
    Key(TIDEK_PAD_A);
    ASSERT_EQ(game->gamestate, GS_GAME);
    EXPECT_EQ(game->units.size(), 2u);
    game->LeaveBattle();

    auto clickRow = [&](int row) {
        float x = 100, y = 470 + kGlyphH * static_cast<float>(row) + kGlyphH / 2;
        Move(x, y);
        Frame();
        Click(x, y);
    };
    clickRow(0);
    EXPECT_EQ(game->gamestate, GS_CHLVL) << "an unplayable file starts nothing";
    clickRow(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    EXPECT_EQ(game->units.size(), 2u);
    EXPECT_EQ(game->curlvl, 0);
    EXPECT_FALSE(game->briefing);
}
