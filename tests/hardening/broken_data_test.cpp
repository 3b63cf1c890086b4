// What the game says about missing and broken data: every missing sprite,
// font or animation and every file that cannot be loaded is named once, a
// configuration without unit values and a level without units are named,
// and the game goes on.
#include <gtest/gtest.h>

#include <map>

#include "tests/hardening/scratch_data.h"
#include "tests/hardening/tour.h"

namespace {

// Lines the game and engine write about missing or unloadable things.
bool AboutAMiss(const std::string& line) {
    return line.rfind("missing ", 0) == 0 || line.rfind("Can't ", 0) == 0;
}

}  // namespace

TEST(BrokenData, WithoutTheScriptEachMissingResourceIsNamedOnce) {
    ScratchData data;
    data.Remove("allres.txt");
    BattleWorld w(data.dir);
    EXPECT_EQ(Tour(w, kEveryKindLevel), "");

    std::map<std::string, int> said;
    for (const std::string& line : w.hl->Log())
        if (AboutAMiss(line)) ++said[line];
    for (const auto& [line, n] : said) EXPECT_EQ(n, 1) << line;
    // Drawn every frame, asked for by every unit, and looked up anew for
    // every button and every mouse-over: still one line each.
    for (const char* line : {"missing sprite: orvo_logo", "missing font: font2",
                             "missing animation: medu_idle", "missing sprite: medu_on",
                             "missing sprite: chlvlbut", "Can't load sound: button_over"})
        EXPECT_EQ(said[line], 1) << line;
}

TEST(BrokenData, ABrokenFileIsNamedOnceUntilItLoads) {
    HeadlessEngine e;
    e.WriteFile("res/ping.wav", Garbage(400, 1));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(e.tide->Effect_Load("res\\ping.wav", 0), 0u);
    EXPECT_EQ(e.LogCount("res\\ping.wav"), 1);

    e.WriteWav("res/ping.wav");
    HEFFECT ok = e.tide->Effect_Load("res\\ping.wav", 0);
    EXPECT_NE(ok, 0u);
    e.tide->Effect_Free(ok);
    e.WriteFile("res/ping.wav", Garbage(400, 2));
    EXPECT_EQ(e.tide->Effect_Load("res\\ping.wav", 0), 0u);
    EXPECT_EQ(e.LogCount("res\\ping.wav"), 2);

    // Data handed over in memory has no name to remember: every failure counts.
    std::string noise = Garbage(64, 3);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(e.tide->Texture_Load(noise.data(), DWORD(noise.size()), false), 0u);
    EXPECT_EQ(e.LogCount("Can't load texture: (memory)"), 2);
}

TEST(BrokenData, ConfigurationWithoutUnitValuesIsNamed) {
    ScratchData data;
    data.Replace("config.txt", "[options]\nmusic=10\n[aqua]\nhealth=5\ndmg=2\narmor=0\nrange=3\n"
                               "[paul]\nhealth=9\n");
    BattleWorld w(data.dir);
    EXPECT_TRUE(w.eng.LogHas("Res\\config.txt: defaults used for torp, bati, medu, shark, paul"));
    EXPECT_EQ(cGame::global.aqua.health, 5);
    EXPECT_EQ(cGame::global.paul.health, 9);
    EXPECT_EQ(cGame::global.paul.dmg, 1);
    EXPECT_EQ(Tour(w, kEveryKindLevel), "");
}

// Values a saved battle could not hold would make every battle begun with
// them one that cannot be continued.
TEST(BrokenData, UnitValuesASavedBattleCannotHoldAreNamed) {
    ScratchData data;
    data.Replace("config.txt",
                 "[aqua]\nhealth=5\ndmg=2000000\narmor=0\nrange=inf\n"
                 "[shark]\nhealth=9\ndmg=3\narmor=-2000000\nrange=-1\n");
    BattleWorld w(data.dir);
    for (const char* line : {"[Aqua] dmg=2000000 is beyond what a saved battle holds; 1 used",
                             "[Aqua] range=inf is beyond what a saved battle holds; 100500 used",
                             "[Shark] armor=-2000000 is beyond what a saved battle holds; 0 used",
                             "[Shark] range=-1 is beyond what a saved battle holds; 100500 used"})
        EXPECT_EQ(w.eng.LogCount(line), 1) << line;
    EXPECT_EQ(cGame::global.aqua.dmg, 1);
    EXPECT_EQ(cGame::global.aqua.health, 5);
    EXPECT_EQ(cGame::global.shark.range, 100500.0f);
    EXPECT_EQ(Tour(w, kEveryKindLevel), "");
}

TEST(BrokenData, LevelWithoutUnitsIsNamedAndEndsAtOnce) {
    ScratchData data;
    data.Replace("lvl2.txt", Garbage(300, 4));
    BattleWorld w(data.dir);
    EXPECT_EQ(Tour(w, 2), "");
    EXPECT_TRUE(w.eng.LogHas("res\\lvl2.txt: no units"));
    EXPECT_EQ(w.game->gamestate, GS_CHLVL);
    EXPECT_TRUE(w.game->units.empty());
}
