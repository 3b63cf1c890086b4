#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "engine/file_sys.h"
#include "engine/paths.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

// A resolved name as the file system tells names apart: on Windows, where
// case does not count, the found file may be named in any case.
std::string Spelling(std::string path) {
#ifdef _WIN32
    for (char& c : path) c = char(std::tolower(static_cast<unsigned char>(c)));
#endif
    return path;
}

class Paths : public ::testing::Test {
protected:
    HeadlessEngine e;
};

TEST_F(Paths, BackSlashesAndAnyCaseFindTheFile) {
    e.WriteFile("res/allres.txt", "x");
    e.WriteFile("Res2/Sub/Level1.TXT", "y");
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "Res\\allres.txt", false)),
              Spelling(e.dir + "/res/allres.txt"));
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "RES/ALLRES.TXT", false)),
              Spelling(e.dir + "/res/allres.txt"));
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "res2\\sub\\level1.txt", false)),
              Spelling(e.dir + "/Res2/Sub/Level1.TXT"));
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, ".\\res\\\\allres.txt", false)),
              Spelling(e.dir + "/res/allres.txt"));
    EXPECT_EQ(tideResolvePath(e.dir, "res\\missing.txt", false), "");
    EXPECT_EQ(tideResolvePath(e.dir, "nores\\allres.txt", false), "");
    EXPECT_EQ(tideResolvePath(e.dir, "", false), "");
    // Two spellings of one folder: the file is found in whichever holds it.
    e.WriteFile("RES/config.txt", "z");
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "res\\config.txt", false)),
              Spelling(e.dir + "/RES/config.txt"));
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "res\\config.txt", true)),
              Spelling(e.dir + "/RES/config.txt"));
}

TEST_F(Paths, AFileToCreateKeepsItsNameInTheExistingFolder) {
    e.WriteFile("res/a.txt", "x");
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "Res\\New.txt", true)),
              Spelling(e.dir + "/res/New.txt"));
    EXPECT_EQ(Spelling(tideResolvePath(e.dir, "Res\\A.TXT", true)), Spelling(e.dir + "/res/a.txt"));
    EXPECT_EQ(tideResolvePath(e.dir, "nofolder\\New.txt", true), "");
    // An absolute name starts from its own root ("/", or a drive on Windows).
    EXPECT_EQ(Spelling(tideResolvePath("elsewhere", (e.dir + "/RES/A.TXT").c_str(), false)),
              Spelling(e.dir + "/res/a.txt"));
    EXPECT_EQ(Spelling(tideResolvePath("elsewhere", (e.dir + "/res/b.txt").c_str(), true)),
              Spelling(e.dir + "/res/b.txt"));
}

TEST_F(Paths, ResourceLoadReadsWholeFilesAndLogsMissingOnes) {
    e.WriteFile("res/data.bin", std::string("ab\0cd", 5));
    DWORD size = 0;
    char* d = static_cast<char*>(e.tide->Resource_Load("Res\\DATA.bin", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(d, 5), std::string("ab\0cd", 5));
    EXPECT_EQ(d[5], 0); // NUL-padded for text parsers
    e.tide->Resource_Free(d);

    EXPECT_EQ(e.tide->Resource_Load("res\\nothing.txt", &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(e.LogHas("res\\nothing.txt"));
    EXPECT_EQ(e.tide->Resource_Load("res", &size), nullptr); // a folder is no file
}

TEST(DataFolder, TheFirstPlaceHoldingAResFolderWins) {
    std::string dir = MakeTempDir();
    for (const char* sub : {"/a", "/b/RES", "/c/res"}) fs::create_directories(dir + sub);
    EXPECT_EQ(tidePickDataPath({dir + "/a", dir + "/b", dir + "/c"}), dir + "/b");
    EXPECT_EQ(tidePickDataPath({dir + "/missing", dir + "/c"}), dir + "/c");
    fs::remove_all(dir);
}

TEST(DataFolder, BesideTheExecutableComesFirstAndTheWorkingDirectoryLast) {
    std::vector<std::string> c = tideDataPathCandidates("/usr/share/thalomir");
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ(c[0].substr(c[0].size() - 5), "/data");
    EXPECT_EQ(c[c.size() - 3], "/usr/share/thalomir");
    EXPECT_EQ(c.back(), fs::current_path().generic_string());
}

}  // namespace

namespace {

TEST_F(Paths, MemoryFilesAreReadBeforeTheDataFolder) {
    e.WriteFile("res/a.txt", "disk");
    e.hl->SetMemoryFile("Res\\A.TXT", "memory");
    e.hl->SetMemoryFile("res/only.txt", std::string("x\0y", 3));
    DWORD size = 0;
    char* d = static_cast<char*>(e.tide->Resource_Load("res/a.txt", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d, size), "memory");
    e.tide->Resource_Free(d);
    d = static_cast<char*>(e.tide->Resource_Load(".\\RES\\\\only.txt", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d, size), std::string("x\0y", 3));
    e.tide->Resource_Free(d);
    e.hl->ClearMemoryFiles();
    d = static_cast<char*>(e.tide->Resource_Load("res/a.txt", &size));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(std::string(d, size), "disk");
    e.tide->Resource_Free(d);
}

}  // namespace

namespace {

#ifdef _WIN32
// Windows: the XDG variables when set (a drive letter or a share makes one
// absolute), else the application data folders the system names: roaming
// (%APPDATA%) for settings and progress, this machine's (%LOCALAPPDATA%) for
// the log, whatever HOME says.
TEST(UserFolders, XdgVariablesWhenSetElseTheApplicationDataFolders) {
    auto thalomir = [](const char* var) {
        std::string s = std::getenv(var) ? std::getenv(var) : "";
        for (char& c : s)
            if (c == '\\') c = '/';
        return s + "/thalomir";
    };
    const std::string roaming = thalomir("APPDATA"), local = thalomir("LOCALAPPDATA");
    ASSERT_EQ(tideSys::RootLength(roaming), 3u) << roaming;
    ASSERT_NE(roaming, local);
    struct Case {
        const char *config, *data, *state;
        std::string wantConfig, wantData, wantState;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, roaming, roaming, local},
        {"C:/c", "D:\\d", "\\\\server\\share\\s", "C:/c/thalomir", "D:/d/thalomir",
         "//server/share/s/thalomir"},
        {"rel", "", "c:rel", roaming, roaming, local},
    };
    for (const Case& c : cases) {
        ScopedEnv env{{"HOME", "C:/h"}, {"XDG_CONFIG_HOME", c.config}, {"XDG_DATA_HOME", c.data},
                {"XDG_STATE_HOME", c.state}};
        SCOPED_TRACE(c.wantConfig);
        EXPECT_EQ(tideUserDir(tideUserKind::Config, false, "C:/data"), c.wantConfig);
        EXPECT_EQ(tideUserDir(tideUserKind::Data, false, "C:/data"), c.wantData);
        EXPECT_EQ(tideUserDir(tideUserKind::State, false, "C:/data"), c.wantState);
    }
}
#else
TEST(UserFolders, XdgVariablesThenHomeThenNone) {
    struct Case {
        const char *home, *config, *data, *state;
        std::string wantConfig, wantData, wantState;
    };
    const Case cases[] = {
        {"/h", nullptr, nullptr, nullptr, "/h/.config/thalomir", "/h/.local/share/thalomir",
         "/h/.local/state/thalomir"},
        {"/h", "/c", "/d", "/s", "/c/thalomir", "/d/thalomir", "/s/thalomir"},
        // Relative values are not to be used, and an empty one is unset.
        {"/h", "rel", "", "./s", "/h/.config/thalomir", "/h/.local/share/thalomir",
         "/h/.local/state/thalomir"},
        {nullptr, "/c", nullptr, nullptr, "/c/thalomir", "", ""},
        {"", nullptr, nullptr, nullptr, "", "", ""},
    };
    for (const Case& c : cases) {
        ScopedEnv env{{"HOME", c.home}, {"XDG_CONFIG_HOME", c.config}, {"XDG_DATA_HOME", c.data},
                {"XDG_STATE_HOME", c.state}};
        SCOPED_TRACE(std::string("HOME=") + (c.home ? c.home : "(unset)"));
        EXPECT_EQ(tideUserDir(tideUserKind::Config, false, "/data"), c.wantConfig);
        EXPECT_EQ(tideUserDir(tideUserKind::Data, false, "/data"), c.wantData);
        EXPECT_EQ(tideUserDir(tideUserKind::State, false, "/data"), c.wantState);
    }
}
#endif

TEST(UserFolders, PortableKeepsEverythingWithTheDataFolder) {
    std::string dir = MakeTempDir();
    fs::create_directories(dir + "/Res");
    ScopedEnv env{{"XDG_CONFIG_HOME", "/c"}};
    EXPECT_EQ(tideUserDir(tideUserKind::Config, true, dir), dir + "/Res");
    EXPECT_EQ(tideUserDir(tideUserKind::Data, true, dir), dir + "/Res");
    EXPECT_EQ(tideUserDir(tideUserKind::State, true, dir), dir);
    fs::remove_all(dir);
}

TEST(UserFolders, MadeWithTheUsersRightsOnlyAndNotThroughAFile) {
    std::string dir = MakeTempDir();
    EXPECT_TRUE(tideMakeUserDir(dir + "/a/b"));
    for (const char* sub : {"/a", "/a/b"}) {
        ASSERT_TRUE(fs::is_directory(dir + sub)) << sub;
#ifndef _WIN32 // Windows folders take their rights from the user's folder they are in
        struct stat st;
        ASSERT_EQ(stat((dir + sub).c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << sub;
#endif
    }
    EXPECT_TRUE(tideMakeUserDir(dir + "/a/b")) << "an existing folder is fine";
    ASSERT_TRUE(tideWriteFileAtomic(dir + "/file", ""));
    EXPECT_FALSE(tideMakeUserDir(dir + "/file/x"));
    EXPECT_FALSE(tideMakeUserDir(""));
    fs::remove_all(dir);
}

TEST(UserFolders, TheLogGoesToTheStateFolderWhateverTheWorkingDirectory) {
    std::string dir = MakeTempDir();
    ScopedEnv env{{"XDG_STATE_HOME", (dir + "/state").c_str()}};
    {
        HeadlessEngine e("", false);
        e.tide->System_SetState(TIDE_LOGFILE, "log.txt");
        e.tide->System_Log("hello");
    }
    std::string text;
    EXPECT_TRUE(tideReadFile(dir + "/state/thalomir/log.txt", text));
    EXPECT_EQ(text, "hello\n");
#ifndef _WIN32
    struct stat st;
    ASSERT_EQ(stat((dir + "/state/thalomir").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
#endif
    fs::remove_all(dir);
}

TEST(UserFolders, TheLastRunsLogIsKeptAndALinkOrFifoThereIsNeitherFollowedNorWaitedFor) {
    std::string dir = MakeTempDir();
    ScopedEnv env{{"XDG_STATE_HOME", (dir + "/state").c_str()}};
    const std::string log = dir + "/state/thalomir/log.txt", old = dir + "/state/thalomir/log.old.txt";
    auto run = [](const char* line) {
        HeadlessEngine e("", false);
        e.tide->System_SetState(TIDE_LOGFILE, "log.txt");
        e.tide->System_Log("%s", line);
    };
    auto read = [](const std::string& path) {
        std::string text;
        tideReadFile(path, text);
        return text;
    };
    run("first");
    run("second");
    run("third");
    EXPECT_EQ(read(log), "third\n");
    EXPECT_EQ(read(old), "second\n") << "the run before, with its crash report";

#ifndef _WIN32 // Wine makes no links, Windows has no FIFOs
    alarm(60);  // a FIFO waited for would hang the test here
    const std::string victim = dir + "/victim";
    ASSERT_TRUE(tideWriteFileAtomic(victim, "precious"));
    ASSERT_EQ(unlink(log.c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), log.c_str()), 0);
    run("fourth");
    EXPECT_EQ(read(victim), "precious");
    EXPECT_EQ(read(log), "fourth\n");
    struct stat st;
    ASSERT_EQ(lstat(old.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link moved aside as it was";

    ASSERT_EQ(unlink(log.c_str()), 0);
    ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
    run("fifth");
    EXPECT_EQ(read(log), "fifth\n");
    ASSERT_EQ(lstat(old.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(lstat(log.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    alarm(0);
#endif
    fs::remove_all(dir);
}

}  // namespace
