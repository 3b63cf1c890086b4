// The user's own files: settings layered over the shipped configuration and
// written only into the user's folder, and a game that still plays when that
// folder cannot be made.
#include <stdlib.h>
#include <sys/stat.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>

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
        SetEnv("XDG_CONFIG_HOME", config.c_str());
        SetEnv("XDG_DATA_HOME", data.c_str());
        SetEnv("XDG_STATE_HOME", state.c_str());
        SetEnv("HOME", home.c_str());
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
    for (const std::string& folder : {home + "/config/thalomir", home + "/config"}) {
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
#ifndef _WIN32 // Windows folders take their rights from the user's folder they are in
        EXPECT_EQ(unsigned(fs::status(folder).permissions() & fs::perms::all), 0700u) << folder;
#endif
    }
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

TEST_F(UserFilesTest, TheUsersFoldersAreTakenExactlyAsGiven) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names ignore case and take a back slash as a separator: "
                    "there, these spellings name the same folder";
#endif
    // Folders that differ from the given ones only in case, or by a back
    // slash read as a separator, are other folders and stay untouched.
    fs::create_directories(home + "/Cfg/thalomir");
    std::ofstream(home + "/Cfg/thalomir/config.txt") << "[options]\nmusic=99\n";
    fs::create_directories(home + "/a/b/thalomir");
    std::ofstream(home + "/a/b/thalomir/config.txt") << "[options]\nmusic=98\n";
    fs::create_directories(home + "/Share/thalomir");
    std::ofstream(home + "/Share/thalomir/progress.txt")
        << "; Thalomir saved progress\n[progress]\nmaxlvl=3\nwon=1,2\n";
    for (const std::string& config : {home + "/cfg", home + "/a\\b"}) {
        SCOPED_TRACE(config);
        ScreensTest::TearDown();
        Point(config, home + "/share", home + "/state");
        Start();
        EXPECT_EQ(game->musicvolume, 30);  // the shipped value
        EXPECT_EQ(game->MaxOpenLevel(), 1);
        PassLogo();
        SaveFromOptions();
        EXPECT_NE(Read(config + "/thalomir/config.txt").find("music=20"), std::string::npos);
    }
    EXPECT_EQ(Read(home + "/Cfg/thalomir/config.txt"), "[options]\nmusic=99\n");
    EXPECT_EQ(Read(home + "/a/b/thalomir/config.txt"), "[options]\nmusic=98\n");
}

// Two games running: a setting one of them did not change keeps what the
// other saved, however often the first one saves.
TEST_F(UserFilesTest, TwoGamesSavingSettingsKeepEachOthersChanges) {
    Start();
    PassLogo();
    fs::create_directories(home + "/config/thalomir");
    std::ofstream(UserConfig()) << "[options]\nmusic=30\nsound=70\nspeed=50\n";  // the other game's save
    for (int save = 0; save < 2; ++save) {
        SaveFromOptions();  // music to 20, nothing else
        std::string user = Read(UserConfig());
        EXPECT_NE(user.find("music=20"), std::string::npos) << user;
        EXPECT_NE(user.find("sound=70"), std::string::npos) << user;
        EXPECT_NE(user.find("speed=50"), std::string::npos) << user;
    }
    // What this game changes is saved over the other game's value.
    Click(512, 571);
    Click(178 + 160 * 0.9f, 519);  // sound to 90
    Click(512, 618);
    EXPECT_NE(Read(UserConfig()).find("sound=90"), std::string::npos) << Read(UserConfig());
}

TEST_F(UserFilesTest, ASaveKeepsTheFilesModeAndLeavesAReadOnlyFileAlone) {
    fs::create_directories(home + "/config/thalomir");
    const std::string before = "[options]\nmusic=30\n";
    for (unsigned mode : {0600u, 0640u, 0444u}) {
        SCOPED_TRACE(mode);
        std::error_code ec;
        fs::permissions(UserConfig(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove(UserConfig(), ec);
        std::ofstream(UserConfig(), std::ios::binary) << before;
        fs::permissions(UserConfig(), fs::perms(mode));
        hl->ClearLog();
        Start();
        PassLogo();
        SaveFromOptions();
        SaveFromOptions();
#ifdef _WIN32
        // Windows keeps one bit of a mode: read-only or not.
        const unsigned kept = mode & 0200 ? 0666 : 0444;
#else
        const unsigned kept = mode;
#endif
        EXPECT_EQ(unsigned(fs::status(UserConfig()).permissions() & fs::perms::all), kept);
        bool readOnly = mode == 0444u;
        EXPECT_EQ(Read(UserConfig()) == before, readOnly) << Read(UserConfig());
        EXPECT_EQ(eng->LogCount("Can't save the settings"), readOnly ? 1 : 0);
        if (readOnly) {
            EXPECT_TRUE(eng->LogHas("read-only"));
        }
        Stop();
    }
}

// FIFOs, devices and files far larger than settings ever are, in place of
// the user's files: refused at once with a log line, never waited for, never
// read without end, and never written over.
TEST_F(UserFilesTest, WhatIsNoFileOfTheRightSizeIsRefusedAtOnce) {
#ifndef _WIN32
    alarm(120);  // a FIFO waited for would hang the test here
#endif
    const std::string progress = home + "/share/thalomir/progress.txt";
    fs::create_directories(home + "/config/thalomir");
    fs::create_directories(home + "/share/thalomir");
    struct Case {
        const char* what;
        const char* logged;
        std::function<void(const std::string&)> make;
    };
    const Case cases[] = {
#ifndef _WIN32 // Windows has no FIFOs, and Wine makes no links
        {"fifo", "not a regular file",
         [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
        {"device", "not a regular file",
         [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); }},
#endif
        {"huge", "larger than 1 MiB",
         [](const std::string& p) { std::ofstream(p) << "[options]\nmusic=5\n" << std::string(2 << 20, ';'); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& p : {UserConfig(), progress}) {
            fs::remove(p);
            c.make(p);
        }
        // A fresh engine: each refusal is logged once a run.
        ScreensTest::TearDown();
        Point(home + "/config", home + "/share", home + "/state");
        Start();
        EXPECT_EQ(game->musicvolume, 30);  // the shipped value
        EXPECT_EQ(game->MaxOpenLevel(), 1);
        EXPECT_EQ(eng->LogCount(c.logged), 2) << "the settings and the progress";
        PassLogo();
        SaveFromOptions();
        EXPECT_EQ(eng->LogCount("Can't save the settings"), 1);
        Stop();
        // The settings stay for the user to mend; the progress is kept aside.
        EXPECT_TRUE(fs::exists(fs::symlink_status(UserConfig())));
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(UserConfig())) &&
                     fs::file_size(UserConfig()) < 1000);
        EXPECT_FALSE(fs::exists(fs::symlink_status(progress)));
        for (const auto& e : fs::directory_iterator(home + "/share/thalomir"))
            if (e.path().filename().string().rfind("progress.txt.bad", 0) == 0) fs::remove(e.path());
    }
#ifndef _WIN32
    alarm(0);
#endif
}

TEST_F(UserFilesTest, ASettingThatIsNoNumberKeepsItsDefaultAndIsNamed) {
    fs::create_directories(home + "/config/thalomir");
    std::ofstream(UserConfig()) << "[options]\nspeed=abc\nsound=\n";
    Start();
    EXPECT_EQ(game->speed, 50);
    EXPECT_EQ(game->soundvolume, 50);
    EXPECT_EQ(eng->LogCount("speed=abc is not a number; 50 used"), 1);
}

TEST_F(UserFilesTest, LoadingALevelLeavesTheSettingsFileAsItWas) {
    Start();
    PassLogo();
    eng->tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    EXPECT_EQ(game->units.size(), 2u);
    EXPECT_STREQ(eng->tide->System_GetState(TIDE_INIFILE), "Res\\config.txt");
}
