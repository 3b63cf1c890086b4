// Saved progress: a win is written at once and read back by the next game; a
// file the game cannot trust is kept aside and the campaign starts anew.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/screens/screens_fixture.h"

namespace {

const char* const kFile = "Res/progress.txt";

}  // namespace

class ProgressTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteData(DefaultConfig());
    }
    bool Exists(const std::string& rel) { return std::filesystem::exists(eng->Path(rel)); }
};

TEST_F(ProgressTest, AWinIsSavedAndReadBackByANewGame) {
    Start();
    EXPECT_EQ(eng->LogCount("progress:"), 1);  // nothing saved yet
    EXPECT_EQ(game->maxlvl, 1);
    PassLogo();
    Click(512, 521);
    PlayLevel1Until([&] { return game->gamestate != GS_GAME; });
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    EXPECT_EQ(eng->ReadFile(kFile), "; Thalomir saved progress\n[progress]\nmaxlvl=2\nwon=1\n");

    Stop();
    hl->ClearLog();
    Start();
    EXPECT_EQ(game->maxlvl, 2);
    EXPECT_EQ(game->wonlevels, 1u);
    EXPECT_EQ(eng->LogCount("progress:"), 0);
    // The level choice marks the won level.
    PassLogo();
    Click(512, 521);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    EXPECT_EQ(QuadsWith(Texture("lvlwon")).size(), 1u);
}

TEST_F(ProgressTest, AnUntrustworthyFileIsKeptAsideAndTheCampaignStartsAtLevelOne) {
    const std::string garbled[] = {
        "[progress]\nmaxlvl=9\nwon=\n",          // past the last level
        "[progress]\nmaxlvl=2\nwon=1,5\n",       // a win maxlvl does not account for
        "maxlvl=3\n",                            // no section
        "[progress]\nmaxlvl=3x\n",               // not a number
        "[progress]\nmaxlvl=3\nlevel=4\n",       // unknown key
        std::string("\x89PNG\r\n\x1a\n\0\0", 10),  // another file altogether
        "",
    };
    // Each one is kept beside the earlier ones, never over them.
    int n = 0;
    for (const std::string& text : garbled) {
        SCOPED_TRACE(testing::Message() << "file: " << text);
        const std::string kept = std::string(kFile) + ".bad" + (n ? "." + std::to_string(n) : "");
        ++n;
        eng->WriteFile(kFile, text);
        hl->ClearLog();
        Start();
        EXPECT_EQ(game->maxlvl, 1);
        EXPECT_EQ(game->wonlevels, 0u);
        EXPECT_EQ(eng->LogCount("progress:"), 1);
        EXPECT_TRUE(eng->LogHas("is damaged, kept as"));
        EXPECT_EQ(eng->ReadFile(kept), text);
        EXPECT_FALSE(Exists(kFile));
        Stop();
    }

    // A progress "file" the game cannot read at all: here a folder.
    std::filesystem::create_directory(eng->Path(kFile));
    hl->ClearLog();
    Start();
    EXPECT_EQ(game->maxlvl, 1);
    EXPECT_EQ(eng->LogCount("progress:"), 1);
    EXPECT_TRUE(eng->LogHas("cannot be read (")) << "with the reason";
    EXPECT_TRUE(eng->LogHas(", kept as"));
    EXPECT_TRUE(std::filesystem::is_directory(eng->Path(std::string(kFile) + ".bad." + std::to_string(n))));
    EXPECT_EQ(eng->ReadFile(std::string(kFile) + ".bad"), garbled[0]);
    EXPECT_FALSE(Exists(kFile));
}

// Game B runs while game A wins level 2 and quits; then B wins level 1.
TEST_F(ProgressTest, TwoGamesRunningKeepEachOthersWins) {
    Start();
    PassLogo();
    eng->WriteFile(kFile, "; Thalomir saved progress\n[progress]\nmaxlvl=3\nwon=2\n");
    Click(512, 521);
    PlayLevel1Until([&] { return game->gamestate != GS_GAME; });
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    EXPECT_EQ(eng->ReadFile(kFile), "; Thalomir saved progress\n[progress]\nmaxlvl=3\nwon=1,2\n");
    // This game learns the other's win as well.
    EXPECT_EQ(game->maxlvl, 3);
    EXPECT_EQ(game->wonlevels, 3u);
}

TEST_F(ProgressTest, AFifoForALevelFileIsRefusedNotWaitedFor) {
    alarm(60);
    std::filesystem::remove(eng->Path("res/lvl1.txt"));
    ASSERT_EQ(mkfifo(eng->Path("res/lvl1.txt").c_str(), 0600), 0);
    Start();
    PassLogo();
    StartLevel(1);
    EXPECT_TRUE(game->units.empty());
    EXPECT_TRUE(eng->LogHas("lvl1.txt: not a regular file"));
    alarm(0);
}
