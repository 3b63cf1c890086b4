// The frame dispatch of the game controller: states outside the four screens,
// and the quit request ending the engine's loop.
#include "tests/screens/screens_fixture.h"

namespace {

using SpineTest = ScreensTest;

TEST_F(SpineTest, AStateOutsideTheScreensDrawsOnlyTheCursorAndKeepsRunning) {
    WriteData(DefaultConfig());
    Start();
    PassLogo();
    game->gamestate = 7;
    Move(500, 520); // over the main menu's first button
    hl->Key(TIDEK_LBUTTON, true);
    EXPECT_FALSE(Frame());
    hl->Key(TIDEK_LBUTTON, false);
    ASSERT_EQ(hl->Quads().size(), 1u);
    EXPECT_EQ(hl->Quads()[0].tex, Texture("cursor"));
    EXPECT_EQ(hl->Quads()[0].v[0].x, 500);
    EXPECT_EQ(game->gamestate, 7); // no screen saw the click
    game->gamestate = GS_MMENU;
    Frame();
    EXPECT_GT(hl->Quads().size(), 1u);
}

TEST_F(SpineTest, TheQuitRequestEndsTheLoopAfterThatFrame) {
    WriteData(DefaultConfig());
    Start();
    PassLogo();
    // Exit's press frame: the frame callback hands the request to the engine,
    // which stops without another frame.
    game->doQuit = true;
    EXPECT_TRUE(eng->tide->System_Start());
    EXPECT_TRUE(game->doQuit);
    EXPECT_TRUE(Frame()); // once set, never cleared
}

}  // namespace
