// Unit kinds read from the kinds file: how level files find them, and what
// becomes of a kind the file describes badly.
#include <gtest/gtest.h>

#include <string>

#include "tests/game/battle_world.h"
#include "tests/game/player_bot.h"
#include "units/kinds.h"

namespace {

// A Crab kind as a level maker would write it, borrowing the shipped kinds'
// pictures and sounds; `change` replaces or removes one of its lines.
std::string Crab(const std::string& line, const std::string& replacement) {
    std::string s =
        "\n[Crab]\ntitle=Crab\nside=computer\nsize=1\nattack=shot\nprojectile=spike\n"
        "idle=medu_idle\nmove=medu_move\nmarker_on=medu_on\nmarker_off=medu_off\n"
        "sound_move=mobssnd_move\nsound_attack=medu_attack\n";
    if (!line.empty()) {
        std::size_t at = s.find("\n" + line);
        std::size_t end = s.find('\n', at + 1);
        s.replace(at + 1, end - at, replacement.empty() ? "" : replacement + "\n");
    }
    return s;
}

int Kind(BattleWorld& w, const char* kind) {
    int n = 0;
    for (cUnit* u : w.game->units) n += u->Data().kind == kind;
    return n;
}

}  // namespace

TEST(Kinds, ACrabByFilesAloneAndEachFaultOfItsSection) {
    struct Case {
        const char* line;         // of the Crab's section, "" for none
        const char* replacement;  // "" removes the line
        const char* logged;       // "" when the Crab is fine
    } cases[] = {
        {"", "", ""},
        {"side=", "", "[Crab] has no side=; its units are skipped"},
        {"side=", "side=both", "[Crab] side=both is neither player nor computer"},
        {"size=", "size=3", "[Crab] size=3 is not a whole number from 1 to 2"},
        {"attack=", "attack=bite", "[Crab] attack=bite is neither melee nor shot"},
        {"projectile=", "", "[Crab] has no projectile="},
        {"idle=", "", "[Crab] has no idle="},
        {"marker_off=", "", "[Crab] has no marker_off="},
        {"title=", "", ""},        // the panel shows the section's name
        {"sound_move=", "", ""},   // a silent kind
        {"projectile=", "projectile=torpedo", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " -> " + c.replacement);
        BattleWorld w;
        w.eng.WriteFile("res/kinds.txt", ShippedDataText("kinds.txt") + Crab(c.line, c.replacement));
        w.eng.WriteFile("Res/config.txt", std::string(BattleWorld::kConfig) +
                                              "[crab]\nhealth=7\ndmg=2\narmor=1\nrange=2.5\n");
        w.Restart();
        w.Start({{"Aqua", 1, 1}, {"crabby", 5, 5}, {"CRAB", 7, 7}, {"Medu", 9, 9}});
        bool fine = std::string(c.logged).empty();
        EXPECT_EQ(Kind(w, "Crab"), fine ? 2 : 0);
        EXPECT_EQ(Kind(w, "Aqua") + Kind(w, "Medu"), 2) << "the other kinds play on";
        EXPECT_EQ(w.eng.LogCount("unknown unit"), 0);
        if (!fine) {
            EXPECT_EQ(w.eng.LogCount(std::string("res\\kinds.txt: ") + c.logged), 1);
            continue;
        }
        cUnit* crab = w.UnitAt(5, 5);
        ASSERT_NE(crab, nullptr);
        EXPECT_FALSE(crab->IsPlayerControlled());
        EXPECT_EQ(crab->GetHealth(), 7);
        EXPECT_EQ(crab->Data().shot, 2) << "a shot carries its own kind's damage";
        EXPECT_STREQ(crab->title, "Crab");
        EXPECT_NE(crab->idle, nullptr);
        // A saved battle names the kind as the kinds file does, and reads back.
        std::string text = WriteBattle(cGame::battle);
        BattleState back;
        ASSERT_EQ(ReadBattle(text, back), BattleRead::Ok);
        EXPECT_EQ(back, cGame::battle);
    }
}

TEST(Kinds, WithoutAKindsFileEveryUnitIsUnknownAndNothingBreaks) {
    BattleWorld w;
    w.eng.WriteFile("res/kinds.txt", "");
    w.Restart();
    w.Start({{"Aqua", 1, 1}, {"Medu", 9, 9}});
    EXPECT_TRUE(w.game->units.empty());
    EXPECT_EQ(w.eng.LogCount("res\\kinds.txt: no unit kinds"), 1);
    EXPECT_EQ(w.eng.LogCount("unknown unit: Aqua"), 1);
    for (int i = 0; i < 5; ++i) w.Frame();
    EXPECT_NE(w.game->gamestate, GS_GAME) << "a level without both sides ends";
}

TEST(LevelFile, PlayedAtOnceWithoutProgressAndEndsAtTheLevelChoice) {
    BattleWorld w;
    std::string file = w.eng.Path("mine.txt");
    w.eng.WriteFile("mine.txt", "[unit1]\nname=Aqua\nx=1\ny=1\n[unit2]\nname=Medu\nx=3\ny=1\n");
    EXPECT_EQ(LevelFileFault(file), "");
    w.game->PlayLevelFile(file);
    cGame& g = *w.game;
    EXPECT_EQ(g.gamestate, GS_GAME);
    EXPECT_FALSE(g.briefing);
    EXPECT_EQ(g.units.size(), 2u);
    EXPECT_EQ(g.curlvl, 0);
    bot::PlayBattle(w, 30);
    EXPECT_EQ(g.gamestate, GS_CHLVL);
    EXPECT_TRUE(g.progress.levels.empty()) << "nothing of it is kept";
    EXPECT_FALSE(g.savedBattle);

    w.eng.WriteFile("plain.txt", "[options]\nmusic=1\n");
    EXPECT_NE(LevelFileFault(w.eng.Path("plain.txt")).find("not a level file"), std::string::npos);
    EXPECT_NE(LevelFileFault(w.eng.Path("none.txt")), "");
    EXPECT_NE(LevelFileFault(w.eng.dir), "") << "a folder";
}
