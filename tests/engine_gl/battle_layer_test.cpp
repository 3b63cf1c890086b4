// The battle's steady layer on the real renderer: what it shows follows the
// pointer from frame to frame, both ways, never a frame behind, and a layer
// brought up to date in patches shows what one drawn whole shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/tide_headless.h"
#include "game/board_overlay.h"
#include "game/game.h"
#include "tests/engine_gl/gl_engine.h"
#include "tests/support/test_support.h"
#include "units/unit.h"

namespace {

cGame* game = nullptr;

bool frameFunc() { return game && game->update(); }

bool renderFunc() {
    if (game) game->render();
    return false;
}

class BattleLayer : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir();
        std::filesystem::copy(THALOMIR_SHIPPED_DATA_DIR "/res", dir + "/res",
                              std::filesystem::copy_options::recursive);
        tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_MANUALCLOCK, true);
        tide->System_SetState(TIDE_DATAPATH, dir.c_str());
        tide->System_SetState(TIDE_SCREENWIDTH, 1024);
        tide->System_SetState(TIDE_SCREENHEIGHT, 768);
        tide->System_SetState(TIDE_USESOUND, false);
        tide->System_SetState(TIDE_FRAMEFUNC, frameFunc);
        tide->System_SetState(TIDE_RENDERFUNC, renderFunc);
        if (!tide->System_Initiate() || !(hl = tideGetHeadless()))
            GTEST_SKIP() << "no OpenGL context on this machine: " << tide->System_GetErrorMessage();
        game = new cGame;
    }
    void TearDown() override {
        delete game;
        game = nullptr;
        if (tide) {
            tide->System_Shutdown();
            tide->Release();
        }
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // A frame with the pointer on `u`; no time passes, so nothing else moves.
    std::vector<DWORD> FrameOn(const cUnit* u) {
        tcellpos c = u->CentrePoint();
        hl->SetMouse(static_cast<float>(c.first), static_cast<float>(c.second));
        hl->Frame(0);
        return Shot();
    }

    // The first level, at the player's first turn.
    void ToPlayersTurn() {
        for (int i = 0; i < 150; i++) hl->Frame(1.0f / 60);  // past the logo
        game->LoadLevel(1);
        game->gamestate = GS_GAME;
        for (int i = 0; i < 4000 && !boardview::PlayerMayAct(*game); i++) hl->Frame(0.25f);
        ASSERT_TRUE(boardview::PlayerMayAct(*game));
    }
    std::vector<DWORD> Shot() { return ReadSnapshot(tide, dir + "/shot.png", 1024, 768); }

    Tide* tide = nullptr;
    tideHeadless* hl = nullptr;
    std::string dir;
};

TEST_F(BattleLayer, FollowsThePointerOnAndOffAnEnemy) {
    ToPlayersTurn();
    const cUnit* enemy = nullptr;
    for (const cUnit* u : game->units)
        if (!u->IsPlayerControlled()) enemy = u;
    ASSERT_NE(enemy, nullptr);

    std::vector<DWORD> onEnemy = FrameOn(enemy);
    std::vector<DWORD> onActing = FrameOn(game->selunit);
    std::vector<DWORD> back = FrameOn(enemy);
    ASSERT_EQ(onEnemy.size(), 1024u * 768u);
    ASSERT_EQ(onActing.size(), onEnemy.size());
    // The hovered enemy's panel, at the right of the surface strip, and its
    // threat view on the board, come and go with the pointer.
    int panel = 0, board = 0;
    for (int y = 0; y < 640; y++)
        for (int x = 0; x < 1024; x++)
            if (onEnemy[size_t(y) * 1024 + size_t(x)] != onActing[size_t(y) * 1024 + size_t(x)])
                (y < 64 && x >= 552 ? panel : board)++;
    EXPECT_GT(panel, 1000);
    EXPECT_GT(board, 4096);
    EXPECT_TRUE(back == onEnemy) << "the frame on the enemy again differs from the first";
}

// Units at rest, the pointer moving about, then a unit gliding: each frame
// patches the layer where quads changed; the frame must equal the same frame
// drawn over a layer redrawn whole.
TEST_F(BattleLayer, PatchesShowWhatAWholeRedrawShows) {
    ToPlayersTurn();
    for (int i = 0; i < 20; ++i) hl->Frame(0.05f);  // the turn's start settles
    const cUnit* acting = game->selunit;
    const tcellpos home = acting->CentrePoint();
    const int redraws = game->layer.Redraws(), patches = game->layer.Patches();
    int compared = 0;
    const auto compare = [&](const char* what) {
        SCOPED_TRACE(what);
        std::vector<DWORD> patched = Shot();
        game->layer.Invalidate();
        hl->Frame(0);
        std::vector<DWORD> whole = Shot();
        ASSERT_EQ(patched.size(), 1024u * 768u);
        ASSERT_EQ(whole.size(), patched.size());
        size_t differ = 0;
        for (size_t i = 0; i < whole.size(); ++i) differ += whole[i] != patched[i];
        EXPECT_EQ(differ, 0u);
        ++compared;
    };
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 5; ++i) hl->Frame(0.05f);  // the units' pictures turn
        compare("at rest");
    }
    // Only the comparisons redrew it whole.
    EXPECT_EQ(game->layer.Redraws() - redraws, compared);
    EXPECT_GT(game->layer.Patches() - patches, compared);
    for (float dx : {40.f, 90.f, 130.f}) {
        hl->SetMouse(static_cast<float>(home.first) + dx, static_cast<float>(home.second));
        hl->Frame(0.03f);
        compare("the pointer about");
    }
    // A step to the right: the click, then the glide.
    hl->SetMouse(static_cast<float>(home.first + 64), static_cast<float>(home.second));
    hl->Key(TIDEK_LBUTTON, true);
    hl->Frame(0.01f);
    hl->Key(TIDEK_LBUTTON, false);
    hl->Frame(0.01f);
    for (int i = 0; i < 6 && acting->Gliding(); ++i) {
        hl->Frame(0.03f);
        compare("gliding");
    }
    EXPECT_GT(compared, 8);
}

}  // namespace
