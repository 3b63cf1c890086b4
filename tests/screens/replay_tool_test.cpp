// thalomir-replay end to end: the real program on the test data set.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "engine/files.h"
#include "engine/image_decode.h"
#include "tests/screens/screens_fixture.h"
#include "tests/support/child_process.h"

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string LastLine() const {
        std::string s = out;
        while (!s.empty() && s.back() == '\n') s.pop_back();
        return s.substr(s.rfind('\n') + 1);
    }
    // The last line without its closing " state=HASH", and the hash alone.
    std::string Counts() const { return LastLine().substr(0, LastLine().rfind(" state=")); }
    std::string Hash() const {
        std::string l = LastLine();
        std::size_t at = l.rfind(" state=");
        return at == std::string::npos ? "" : l.substr(at + 7);
    }
};

}  // namespace

class ReplayToolTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteData(DefaultConfig());
        // Named outside ASCII, and outside any one Windows code page.
        outDir = eng->Path("Bilder \u00fc \u0398");
        scriptPath = eng->Path("Skript \u00f1 \u0436.txt");
    }

    ToolRun Replay(const std::string& script, const std::string& extra = "--headless") {
        tideWriteFileAtomic(scriptPath, script);
        // Mesa's software renderer leaks a few small blocks and is unloaded
        // before the leak check, so LeakSanitizer can neither name nor
        // suppress them: runs on the real renderer go without leak detection
        // (the variable only matters to AddressSanitizer builds).
        // The user's folders of this test alone.
        const std::string xdg = eng->Path("xdg");
        ScopedEnv env{{"ASAN_OPTIONS", extra == "--headless" ? nullptr : "detect_leaks=0"},
                      {"XDG_CONFIG_HOME", (xdg + "/config").c_str()},
                      {"XDG_DATA_HOME", (xdg + "/data").c_str()},
                      {"XDG_STATE_HOME", (xdg + "/state").c_str()}};
        ChildProcess p;
        ToolRun r;
        if (p.Start(THALOMIR_REPLAY_EXE,
                    {scriptPath, "--out", outDir, "--data", eng->dir, extra}, 120))
            p.Wait();
        r.status = p.exited ? p.status : -1;
        // Windows ends printed lines with "\r\n".
        std::remove_copy(p.out.begin(), p.out.end(), std::back_inserter(r.out), '\r');
        return r;
    }

    // A file the run wrote into outDir, "" when there is none.
    std::string Written(const std::string& name) const {
        std::string text;
        tideReadFile(outDir + "/" + name, text);
        return text;
    }

    std::string outDir, scriptPath;
};

TEST_F(ReplayToolTest, PlaysTheGameFromAScript) {
    ToolRun r = Replay("# logo for two seconds, then the level choice and level 1\n"
                   "125 click 512 521\n"
                   "130 click 100 130\n"       // the test campaign's first spot
                   "140 down 27\n141 up 27\n"   // options from the battle
                   "150 click 512 618\n"        // and back into it
                   "160 end\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.Counts(), "frames=161 gamestate=3 maxlvl=1 units=2") << r.out;
    EXPECT_EQ(r.Hash().size(), 16u) << r.out;
    // The game's own files went where the game keeps them, none into the data.
    eng->tide->System_SetState(TIDE_INIFILE, eng->Path("xdg/config/thalomir/config.txt").c_str());
    EXPECT_EQ(eng->tide->Ini_GetInt("options", "music", -1), 30);
    EXPECT_TRUE(std::filesystem::exists(eng->Path("xdg/state/thalomir/log.txt")));
    EXPECT_EQ(eng->ReadFile("Res/config.txt"), DefaultConfig());
}

// A run's battle is saved in its user folders as the game saves it: a second
// run with the same folders continues it. `state` writes it as the save does.
TEST_F(ReplayToolTest, WritesTheBattleStateAndASecondRunContinuesIt) {
    ToolRun first = Replay("125 click 512 521\n130 click 100 130\n200 state battle\n210 end\n");
    ASSERT_EQ(first.status, 0) << first.out;
    BattleState s;
    ASSERT_EQ(ReadBattle(Written("battle.txt"), s), BattleRead::Ok);
    EXPECT_EQ(s.units.size(), 2u);
    ASSERT_TRUE(std::filesystem::exists(eng->Path("xdg/data/thalomir/battle.txt")));

    ToolRun second = Replay("125 click 512 471\n130 state resumed\n130 end\n");
    ASSERT_EQ(second.status, 0) << second.out;
    EXPECT_EQ(second.Counts(), "frames=131 gamestate=3 maxlvl=1 units=2") << second.out;
    EXPECT_EQ(second.Hash(), first.Hash());
    EXPECT_EQ(Written("resumed.txt"), Written("battle.txt"));
}

TEST_F(ReplayToolTest, ExitButtonEndsTheRunEarly) {
    ToolRun r = Replay("125 click 512 621\n500 end\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.Counts(), "frames=126 gamestate=0 maxlvl=1 units=0") << r.out;
}

TEST_F(ReplayToolTest, MalformedScriptStopsBeforeRunning) {
    ToolRun r = Replay("1 move 5 5\n2 clik 5 5\n");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("line 2: unknown command 'clik'"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("frames="), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(eng->Path("log.txt")));
}

TEST_F(ReplayToolTest, OffscreenRendererWritesSnapshotsAndTimings) {
    ToolRun r = Replay("10 shot logo\n130 shot menu\n130 end\n", "--timing");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("startup to first frame:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("menu:"), std::string::npos) << r.out;
    // Whole opaque pictures of the window, and nothing else in the folder
    // (each is written through a temporary file).
    for (const char* name : {"logo.png", "menu.png"}) {
        tideImage shot;
        std::string why;
        ASSERT_TRUE(tideDecodeImage(Written(name), &shot, &why)) << name << ": " << why;
        EXPECT_EQ(shot.width, 1024) << name;
        EXPECT_EQ(shot.height, 768) << name;
        EXPECT_TRUE(std::all_of(shot.pixels.begin(), shot.pixels.end(), [](DWORD c) { return c >> 24 == 0xFF; }))
            << name;
    }
    EXPECT_EQ(tideListFolder(outDir).size(), 2u);
}
