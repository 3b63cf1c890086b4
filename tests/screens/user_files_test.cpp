// The user's own files: settings layered over the shipped configuration and
// written only into the user's folder, and a game that still plays when that
// folder cannot be made.
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "gui/controls.h"
#include "tests/screens/screens_fixture.h"

namespace fs = std::filesystem;

class UserFilesTest : public ScreensTest {
protected:
    void SetUp() override {
        home = MakeTempDir();
        Point(home + "/config", home + "/share", home + "/state");
    }
    void TearDown() override {
        ScreensTest::TearDown();
        std::error_code ec;
        fs::remove_all(home, ec);
    }
    // A fresh engine (not portable) with the XDG folders at these places.
    void Point(const std::string& config, const std::string& data, const std::string& state) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        setenv("XDG_STATE_HOME", state.c_str(), 1);
        setenv("HOME", home.c_str(), 1);
        eng = std::make_unique<HeadlessEngine>("", false);
        hl = eng->hl;
        WriteData(DefaultConfig());
    }
    std::string UserConfig() const { return home + "/config/thalomir/config.txt"; }
    static std::string Read(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    void SaveFromOptions() {
        Click(512, 571);  // options
        ASSERT_EQ(game->gamestate, GS_OPTIONS);
        Click(428 + 160 * 0.2f, 519);  // music to 20
        Click(512, 618);  // back
        ASSERT_EQ(game->gamestate, GS_MMENU);
    }

    std::string home;
};

TEST_F(UserFilesTest, TheUsersFileIsReadOverTheShippedOneKeyByKey) {
    fs::create_directories(home + "/config/thalomir");
    std::ofstream(UserConfig()) << "[options]\nsound=70\n[aqua]\ndmg=99\n[shark]\nhealth=3\n";
    const std::string shipped = eng->ReadFile("Res/config.txt");
    Start();
    EXPECT_EQ(game->musicvolume, 30);              // shipped: the user's file lacks it
    EXPECT_EQ(game->soundvolume, 70);              // the user's
    EXPECT_EQ(cGame::global.aqua.health, 5);       // shipped
    EXPECT_EQ(cGame::global.aqua.dmg, 99);         // the user's
    EXPECT_EQ(cGame::global.shark.health, 3);      // the user's, a section the shipped file lacks
    EXPECT_EQ(cGame::global.shark.dmg, 1);         // neither: the built-in default
    EXPECT_TRUE(eng->LogHas("defaults used for torp, bati, shark, paul")) << "shark lacks keys";

    PassLogo();
    SaveFromOptions();
    std::string user = Read(UserConfig());
    EXPECT_NE(user.find("music=20"), std::string::npos) << user;
    EXPECT_NE(user.find("sound=70"), std::string::npos) << user;
    EXPECT_NE(user.find("dmg=99"), std::string::npos) << "the user's own keys stay";
    EXPECT_EQ(user.find("health=5"), std::string::npos) << "shipped values are not copied";
    EXPECT_EQ(eng->ReadFile("Res/config.txt"), shipped) << "nothing is written into the data";

    Stop();
    Start();
    EXPECT_EQ(game->musicvolume, 20);
}

TEST_F(UserFilesTest, FoldersAreMadeOnFirstWriteForTheUserOnly) {
    Start();
    EXPECT_FALSE(fs::exists(home + "/config")) << "reading makes no folders";
    PassLogo();
    SaveFromOptions();
    struct stat st;
    ASSERT_EQ(stat((home + "/config/thalomir").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((home + "/config").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(fs::exists(UserConfig()));
}

TEST_F(UserFilesTest, AnUnwritableConfigFolderKeepsTheSettingsInMemoryAndSaysSoOnce) {
    // A file where the folder should be: not even root can make it.
    std::ofstream(home + "/blocked") << "x";
    ScreensTest::TearDown();
    Point(home + "/blocked/config", home + "/share", home + "/state");
    Start();
    PassLogo();
    hl->ClearLog();
    SaveFromOptions();
    SaveFromOptions();
    EXPECT_EQ(eng->LogCount("Can't save the settings"), 1);
    EXPECT_EQ(game->musicvolume, 20);
    EXPECT_FLOAT_EQ(game->music_sld->GetValue(), 20);
    EXPECT_EQ(eng->ReadFile("Res/config.txt"), DefaultConfig());
}

TEST_F(UserFilesTest, TheGameNamesTheUsersFilesInTheirFolders) {
    Start();
    EXPECT_EQ(game->UserFile(TIDE_CONFIGDIR, "config.txt", false), UserConfig());
    EXPECT_EQ(game->UserFile(TIDE_USERDATADIR, "progress.txt", true),
              home + "/share/thalomir/progress.txt");
    EXPECT_TRUE(fs::is_directory(home + "/share/thalomir"));
    EXPECT_EQ(std::string(eng->tide->System_GetState(TIDE_STATEDIR)), home + "/state/thalomir");
}
