// Content as data: a copy of the shipped data folder gains a unit kind and a
// ninth level by files alone, and both are played like the shipped ones.
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/assets/shipped_data.h"
#include "tests/game/battle_world.h"
#include "tests/game/player_bot.h"

namespace fs = std::filesystem;

namespace {

void Append(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::app) << text;
}

}  // namespace

TEST(Content, AKindAndANinthLevelByFilesAlone) {
    std::string dir = MakeTempDir();
    fs::copy(ShippedDataDir() + "/res", dir + "/res", fs::copy_options::recursive);
    // The crab: pictures and sounds borrowed under its own resource names,
    // its kind, its combat values.
    Append(dir + "/res/allres.txt",
           "\nAnimation crab_idle { texture = medu rect = 0, 0, 64, 64 hotspot = 32, 32 frames = 8 "
           "fps = 8 mode = FORWARD, LOOP }\n"
           "Animation crab_move { texture = medu rect = 0, 64, 64, 64 hotspot = 32, 32 frames = 8 "
           "fps = 10 mode = FORWARD, LOOP }\n"
           "Sprite crab_on { texture = markers rect = 2, 242, 44, 44 hotspot = -28, 22 }\n"
           "Sprite crab_off { texture = markers rect = 50, 242, 44, 44 hotspot = -28, 22 }\n");
    Append(dir + "/res/kinds.txt",
           "\n[Crab]\ntitle=Crab\nside=computer\nsize=1\nattack=shot\nprojectile=spike\n"
           "idle=crab_idle\nmove=crab_move\nmarker_on=crab_on\nmarker_off=crab_off\n"
           "sound_move=mobssnd_move\nsound_attack=medu_attack\n");
    Append(dir + "/res/config.txt", "\n[crab]\nhealth=8\ndmg=3\narmor=1\nrange=3\n");
    // The ninth level, at the end of the campaign.
    std::ofstream(dir + "/res/lvl9.txt")
        << "[unit1]\nname=Aqua\nx=1\ny=5\n[unit2]\nname=Torp\nx=2\ny=6\n"
           "[unit3]\nname=Crab\nx=12\ny=5\n[unit4]\nname=Crab2\nx=13\ny=7\n";
    Append(dir + "/res/campaign.txt", "\n[level9]\nfile=res\\lvl9.txt\ntitle=Crab Reef\nx=960\ny=560\n");

    {
        BattleWorld w(dir);
        cGame& g = *w.game;
        ASSERT_EQ(g.campaign.Count(), 9);
        EXPECT_EQ(g.levelmap.Count(), 9);
        w.Start(9);
        int crabs = 0;
        for (cUnit* u : g.units) crabs += u->Data().kind == "Crab";
        EXPECT_EQ(crabs, 2);
        EXPECT_EQ(g.units.size(), 4u);
        EXPECT_FALSE(w.eng.LogHas("unknown unit"));
        EXPECT_FALSE(w.eng.LogHas("missing"));
        bot::PlayBattle(w, 60);
        EXPECT_EQ(g.gamestate, GS_CHLVL) << "the battle came to an end";
    }
    fs::remove_all(dir);
}
