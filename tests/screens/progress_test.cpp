// Saved progress: a win is written at once and read back by the next game; a
// file the game cannot trust is kept aside and the campaign starts anew.
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

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
    EXPECT_EQ(game->MaxOpenLevel(), 1);
    PassLogo();
    Click(512, 521);
    PlayLevel1Until([&] { return game->gamestate != GS_GAME; });
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    // Won on Normal without a loss; the test campaign gives no par: two stars.
    EXPECT_EQ(eng->ReadFile(kFile),
              "; Thalomir saved progress\n[progress]\nversion=2\n\n[level lvl1.txt]\nwon=1\n"
              "stars_easy=0\nstars_normal=2\nstars_hard=0\n");

    Stop();
    hl->ClearLog();
    Start();
    EXPECT_EQ(game->MaxOpenLevel(), 2);
    EXPECT_TRUE(game->progress.Won("lvl1.txt"));
    EXPECT_EQ(eng->LogCount("progress:"), 0);
    // The level choice marks the won level.
    PassLogo();
    Click(512, 521);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    EXPECT_EQ(QuadsWith(Texture("lvlwon")).size(), 1u);
}

// Progress is kept by level file, so a campaign that gains or loses levels
// keeps every win, in either format; the open levels follow the new order.
TEST_F(ProgressTest, WinsSurviveLevelsAddedAndRemoved) {
    const std::string eight = "; Thalomir saved progress\n[progress]\nmaxlvl=8\nwon=1,2,3,4,5,6,7,8\n";
    std::string nine = CampaignText(9);
    // Level 5 gone: the sixth level's file is now the fifth level.
    std::string noFive;
    for (int n : {1, 2, 3, 4, 6, 7, 8})
        noFive += "[level" + std::to_string(n < 5 ? n : n - 1) + "]\nfile=res\\lvl" +
                  std::to_string(n) + ".txt\nx=" + std::to_string(100 * n) + "\ny=100\n";
    struct Case {
        const char* what;
        std::string progress, campaign;
        int levels, open;  // the campaign's levels, the last open one
    };
    const Case cases[] = {
        {"eight won, a ninth level", eight, nine, 9, 9},
        {"eight won, level 5 removed", eight, noFive, 7, 7},
        {"three open, a ninth level", "[progress]\nmaxlvl=3\nwon=1\n", nine, 9, 3},
        {"today's format, a ninth level",
         "[progress]\nversion=2\n[level lvl8.txt]\nwon=1\n[level lvl4.txt]\nwon=1\nstars_hard=3\n",
         nine, 9, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        eng->WriteFile(kFile, c.progress);
        eng->WriteFile("res/campaign.txt", c.campaign);
        hl->ClearLog();
        Start();
        ASSERT_EQ(game->campaign.Count(), c.levels);
        EXPECT_EQ(game->MaxOpenLevel(), c.open);
        EXPECT_FALSE(eng->LogHas("damaged"));
        cProgress read;
        ASSERT_EQ(cProgress::Read(c.progress, read), cProgressRead::Ok);
        for (const auto& [key, record] : read.levels)
            EXPECT_EQ(game->progress.Won(key), record.won) << key;
        Stop();
    }
    // Every win of an old eight-level file, and a ninth level open after them.
    eng->WriteFile(kFile, eight);
    eng->WriteFile("res/campaign.txt", nine);
    Start();
    for (int n = 1; n <= 8; ++n) EXPECT_TRUE(game->progress.Won(game->campaign.Level(n)->key)) << n;
    EXPECT_TRUE(game->LevelOpen(9));
    EXPECT_FALSE(game->progress.Won(game->campaign.Level(9)->key));
}

TEST_F(ProgressTest, ANewerGamesFileIsReadButNeverWrittenOver) {
    const std::string newer =
        "[progress]\nversion=3\nplayer=someone\n[level lvl1.txt]\nwon=1\ntime=30\n[medals]\ngold=2\n";
    eng->WriteFile(kFile, newer);
    Start();
    EXPECT_TRUE(game->progress.Won("lvl1.txt"));
    EXPECT_EQ(eng->LogCount("progress:"), 1);
    EXPECT_TRUE(eng->LogHas("from a newer version"));
    PassLogo();
    Click(512, 521);
    StartLevel(2);
    for (int i = 0; i < 1200 && game->gamestate == GS_GAME; ++i) {
        if (PlayerMayAct())
            Click(kMeduX * 64 + 32, kRow * 64 + 32);
        else
            Frame();
    }
    EXPECT_TRUE(game->progress.Won("lvl2.txt"));
    EXPECT_EQ(eng->ReadFile(kFile), newer);
    EXPECT_FALSE(Exists(std::string(kFile) + ".bad"));
}

TEST_F(ProgressTest, AnUntrustworthyFileIsKeptAsideAndTheCampaignStartsAtLevelOne) {
    const std::string garbled[] = {
        "[progress]\nmaxlvl=9\nwon=\n",          // past the old format's last level
        "[progress]\nmaxlvl=2\nwon=1,5\n",       // a win maxlvl does not account for
        "maxlvl=3\n",                            // no section
        "[progress]\nmaxlvl=3x\n",               // not a number
        "[progress]\nmaxlvl=3\nlevel=4\n",       // unknown key
        "[progress]\nversion=2\n[level lvl1.txt]\nwon=2\n",                      // not 0 or 1
        "[progress]\nversion=2\n[level lvl1.txt]\nstars_hard=4\n",               // too many stars
        "[progress]\nversion=2\n[level lvl1.txt]\nwon=1\n[level lvl1.txt]\n",    // a level twice
        "[progress]\nversion=2\n[lvl1.txt]\nwon=1\n",                            // not a level
        "[progress]\nversion=2\n[level lvl1.txt]\nwon=1\nmedal=gold\n",          // unknown key
        "[progress]\nversion=two\n",                                             // not a number
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
        EXPECT_EQ(game->MaxOpenLevel(), 1);
        EXPECT_TRUE(game->progress.levels.empty());
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
    EXPECT_EQ(game->MaxOpenLevel(), 1);
    EXPECT_EQ(eng->LogCount("progress:"), 1);
    EXPECT_TRUE(eng->LogHas("cannot be read (")) << "with the reason";
    EXPECT_TRUE(eng->LogHas(", kept as"));
    EXPECT_TRUE(std::filesystem::is_directory(eng->Path(std::string(kFile) + ".bad." + std::to_string(n))));
    EXPECT_EQ(eng->ReadFile(std::string(kFile) + ".bad"), garbled[0]);
    EXPECT_FALSE(Exists(kFile));
}

// Game B runs while game A wins level 2 (in the old format, even) and quits;
// then B wins level 1.
TEST_F(ProgressTest, TwoGamesRunningKeepEachOthersWins) {
    Start();
    PassLogo();
    eng->WriteFile(kFile, "; Thalomir saved progress\n[progress]\nmaxlvl=3\nwon=2\n");
    Click(512, 521);
    PlayLevel1Until([&] { return game->gamestate != GS_GAME; });
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    cProgress saved;
    ASSERT_EQ(cProgress::Read(eng->ReadFile(kFile), saved), cProgressRead::Ok);
    EXPECT_TRUE(saved.Won("lvl1.txt"));
    EXPECT_TRUE(saved.Won("lvl2.txt"));
    // This game learns the other's win as well.
    EXPECT_EQ(game->progress, saved);
    EXPECT_EQ(game->MaxOpenLevel(), 3);
}

TEST_F(ProgressTest, AFifoForALevelFileIsRefusedNotWaitedFor) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFOs";
#else
    alarm(60);
    std::filesystem::remove(eng->Path("res/lvl1.txt"));
    ASSERT_EQ(mkfifo(eng->Path("res/lvl1.txt").c_str(), 0600), 0);
    Start();
    PassLogo();
    StartLevel(1);
    EXPECT_TRUE(game->units.empty());
    EXPECT_TRUE(eng->LogHas("lvl1.txt: not a regular file"));
    alarm(0);
#endif
}

// Two saves of one player come together without losing anything, and what
// is written reads back the same.
TEST(Progress, MergeKeepsEveryWinAndTheBestStarsAndReadsBack) {
    cProgress a, b;
    a.Win("lvl1.txt");
    a.RecordStars("lvl1.txt", Difficulty::Normal, 2);
    a.RecordStars("lvl2.txt", Difficulty::Hard, 1);  // stars without a win: a lost level's best try
    b.Win("lvl3.txt");
    b.RecordStars("lvl1.txt", Difficulty::Normal, 1);
    b.RecordStars("lvl1.txt", Difficulty::Easy, 3);
    EXPECT_FALSE(b.RecordStars("lvl1.txt", Difficulty::Easy, 2)) << "only a better score counts";
    EXPECT_FALSE(a.RecordStars("lvl1.txt", static_cast<Difficulty>(kDifficulties), 3))
        << "no fourth difficulty";

    cProgress m = cProgress::Merge(a, b);
    EXPECT_EQ(cProgress::Merge(b, a), m);
    EXPECT_TRUE(m.Won("lvl1.txt"));
    EXPECT_FALSE(m.Won("lvl2.txt"));
    EXPECT_TRUE(m.Won("lvl3.txt"));
    EXPECT_EQ(m.BestStars("lvl1.txt", Difficulty::Easy), 3);
    EXPECT_EQ(m.BestStars("lvl1.txt", Difficulty::Normal), 2);
    EXPECT_EQ(m.BestStars("lvl2.txt", Difficulty::Hard), 1);

    cProgress back;
    ASSERT_EQ(cProgress::Read(m.Text(), back), cProgressRead::Ok);
    EXPECT_EQ(back, m);
}
