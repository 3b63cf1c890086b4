#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <unistd.h>

#include "engine/ini.h"
#include "engine/paths.h"
#include "tests/support/test_support.h"

namespace {

TEST(IniText, SectionsAndKeysIgnoreCaseAndValuesRunToLineEnd) {
    std::string text =
        "; settings\r\n[Options]\r\nMusic = 30 \r\nname= Deep Blue Sea \r\n[unit1]\nname=Aqua\n";
    std::string v;
    ASSERT_TRUE(tideIni::Get(text, "options", "MUSIC", v));
    EXPECT_EQ(v, "30");
    ASSERT_TRUE(tideIni::Get(text, "OPTIONS", "name", v));
    EXPECT_EQ(v, "Deep Blue Sea");
    ASSERT_TRUE(tideIni::Get(text, "Unit1", "Name", v));
    EXPECT_EQ(v, "Aqua");
    EXPECT_FALSE(tideIni::Get(text, "options", "sound", v));
    EXPECT_FALSE(tideIni::Get(text, "missing", "music", v));
    // A key of another section is not found through this one.
    EXPECT_FALSE(tideIni::Get(text, "unit1", "music", v));
}

TEST(IniText, CommentsAndKeysBeforeAnySectionAreNotValues) {
    std::string text = "music=1\n[options]\n;music=2\n  # music=3\nmusic=4\n";
    std::string v;
    ASSERT_TRUE(tideIni::Get(text, "options", "music", v));
    EXPECT_EQ(v, "4");
}

TEST(IniText, NumbersReadLikeAtoiAndAtof) {
    EXPECT_EQ(tideIni::ToInt("12.7"), 12);
    EXPECT_EQ(tideIni::ToInt("-5abc"), -5);
    EXPECT_EQ(tideIni::ToInt("abc"), 0);
    EXPECT_EQ(tideIni::ToInt("99999999999999"), 2147483647);
    EXPECT_FLOAT_EQ(tideIni::ToFloat("1.5x"), 1.5f);
    EXPECT_FLOAT_EQ(tideIni::ToFloat("nope"), 0.0f);
    EXPECT_TRUE(std::isinf(tideIni::ToFloat("1e300")));
}

TEST(IniText, SetChangesTheValueInPlaceKeepingEverythingElse) {
    std::string text = "; my config\n[options]\nMusic = 50   \nsound=7\n\n[aqua]\nhealth=20\n";
    std::string out = tideIni::Set(text, "OPTIONS", "music", "0");
    EXPECT_EQ(out, "; my config\n[options]\nMusic = 0\nsound=7\n\n[aqua]\nhealth=20\n");
}

TEST(IniText, SetAppendsToTheSectionOrAddsTheSection) {
    std::string text = "[options]\nmusic=50\n\n[aqua]\nhealth=20";
    std::string out = tideIni::Set(text, "options", "speed", "60");
    EXPECT_EQ(out, "[options]\nmusic=50\nspeed=60\n\n[aqua]\nhealth=20");
    out = tideIni::Set(out, "aqua", "dmg", "3");
    EXPECT_EQ(out, "[options]\nmusic=50\nspeed=60\n\n[aqua]\nhealth=20\ndmg=3\n");
    out = tideIni::Set(out, "torp", "range", "1.5");
    EXPECT_EQ(out, "[options]\nmusic=50\nspeed=60\n\n[aqua]\nhealth=20\ndmg=3\n[torp]\nrange=1.5\n");
    EXPECT_EQ(tideIni::Set("", "options", "music", "1"), "[options]\nmusic=1\n");
}

TEST(IniText, SetKeepsWindowsLineEnds) {
    std::string out = tideIni::Set("[options]\r\nmusic=50\r\n", "options", "music", "9");
    EXPECT_EQ(out, "[options]\r\nmusic=9\r\n");
    out = tideIni::Set(out, "options", "sound", "3");
    EXPECT_EQ(out, "[options]\r\nmusic=9\r\nsound=3\r\n");
}

class IniFile : public ::testing::Test {
protected:
    HeadlessEngine e;
};

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheDefaultAndOneLogLine) {
    e.tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    EXPECT_EQ(e.tide->Ini_GetInt("options", "music", 50), 50);
    EXPECT_FLOAT_EQ(e.tide->Ini_GetFloat("aqua", "range", 100500), 100500.f);
    EXPECT_STREQ(e.tide->Ini_GetString("unit1", "name", "empty"), "empty");
    EXPECT_EQ(e.LogCount("config.txt"), 1);

    e.WriteFile("res/CONFIG.TXT", "[Options]\nmusic=30\nsound=\n");
    EXPECT_EQ(e.tide->Ini_GetInt("options", "music", 50), 30);
    EXPECT_EQ(e.tide->Ini_GetInt("options", "sound", 50), 50); // empty value: default
    EXPECT_EQ(e.tide->Ini_GetInt("options", "speed", 50), 50);
    EXPECT_EQ(e.tide->Ini_GetInt("aqua", "music", 11), 11);
}

TEST_F(IniFile, SetIntUpdatesInPlaceAndCreatesAMissingFile) {
    e.WriteFile("res/config.txt", "; keep me\n[aqua]\nhealth=20\n[options]\nmusic=50\n");
    e.tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    e.tide->Ini_SetInt("options", "music", 0);
    e.tide->Ini_SetInt("options", "sound", 80);
    EXPECT_EQ(e.ReadFile("res/config.txt"),
              "; keep me\n[aqua]\nhealth=20\n[options]\nmusic=0\nsound=80\n");

    e.tide->System_SetState(TIDE_INIFILE, "res\\new.txt");
    e.tide->Ini_SetInt("options", "speed", 75);
    EXPECT_EQ(e.ReadFile("res/new.txt"), "[options]\nspeed=75\n");
    EXPECT_EQ(e.tide->Ini_GetInt("OPTIONS", "SPEED", 0), 75);
}

TEST_F(IniFile, ASaveInterruptedBeforeTheRenameLeavesTheOldFileIntact) {
    const std::string before = "[options]\nmusic=50\nsound=50\nspeed=50\n";
    e.WriteFile("res/config.txt", before);
    e.tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        tideBeforeRenameHook = [] { _exit(3); }; // the crash, right before the rename
        e.tide->Ini_SetInt("options", "music", 0);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(e.ReadFile("res/config.txt"), before);
    EXPECT_EQ(e.tide->Ini_GetInt("options", "music", -1), 50);
}

// A file that exists but cannot be read is not an empty file: writing one key
// over it would lose every other setting.
TEST_F(IniFile, AFileThatCannotBeReadIsLeftAloneWithOneLogLine) {
    e.WriteFile("res/keep.txt", "");
    // Reading /proc/self/mem from offset 0 fails with EIO, even for root.
    ASSERT_EQ(symlink("/proc/self/mem", e.Path("res/config.txt").c_str()), 0);
    e.tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    e.hl->ClearLog();
    e.tide->Ini_SetInt("options", "music", 0);
    e.tide->Ini_SetFloat("options", "speed", 1.5f);
    e.tide->Ini_SetString("options", "name", "x");
    char target[64] = {};
    EXPECT_GT(readlink(e.Path("res/config.txt").c_str(), target, sizeof(target) - 1), 0)
        << "the unreadable file was replaced";
    EXPECT_STREQ(target, "/proc/self/mem");
    EXPECT_EQ(e.LogCount("config.txt: Input/output error"), 3);
    EXPECT_EQ(e.LogCount("Can't read INI file"), 3);
}

}  // namespace
