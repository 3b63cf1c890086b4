// The options screen: live music and effects volume, battle pace, saving on
// the way out and the settings surviving a restart.
#include "gui/controls.h"
#include "tests/screens/screens_fixture.h"
#include "units/unit.h"

namespace {

const float kSliderY = 519;
const float kSoundX = 178, kMusicX = 428, kSpeedX = 678; // left ends
const float kBackX = 512, kBackY = 618;

float At(float left, float value) { return left + 160 * value / 100; }

}  // namespace

class OptionsTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        StartAtMenu();
    }
    void OpenFromMenu() {
        Click(512, 571);
        ASSERT_EQ(game->gamestate, GS_OPTIONS);
    }
    int Saved(const char* section, const char* key) {
        eng->tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
        return eng->tide->Ini_GetInt(section, key, -1);
    }
    void ExpectSaved(int music, int sound, int speed) {
        EXPECT_EQ(Saved("options", "music"), music);
        EXPECT_EQ(Saved("options", "sound"), sound);
        EXPECT_EQ(Saved("options", "speed"), speed);
    }
};

TEST_F(OptionsTest, MusicSliderChangesTheVolumeLiveAndBackSavesIt) {
    OpenFromMenu();
    hl->ClearLog();
    Drag(At(kMusicX, 30), kSliderY, kMusicX - 40, kSliderY);
    EXPECT_EQ(game->musicvolume, 0);
    EXPECT_EQ(hl->ChannelVolume(game->muschan), 0);
    EXPECT_TRUE(eng->LogHas("change music volume: 0"));
    EXPECT_EQ(eng->LogCount("change music volume:"), 5); // press and four moves

    Click(kBackX, kBackY);
    EXPECT_EQ(game->gamestate, GS_MMENU);
    ExpectSaved(0, 50, 50);
    // The unit sections are left as they were.
    EXPECT_EQ(Saved("aqua", "health"), 5);
    EXPECT_EQ(Saved("aqua", "dmg"), 10);
    EXPECT_EQ(Saved("aqua", "range"), 5);
    EXPECT_EQ(Saved("medu", "health"), 1);

    Stop();
    hl->ClearSounds();
    Start();
    EXPECT_EQ(game->musicvolume, 0);
    EXPECT_FLOAT_EQ(game->music_sld->GetValue(), 0);
    ASSERT_FALSE(hl->Sounds().empty());
    EXPECT_EQ(hl->Sounds().back().volume, 0);
}

TEST_F(OptionsTest, AClickOnTheMusicSliderSetsTheClickedPoint) {
    OpenFromMenu();
    hl->ClearLog();
    Click(At(kMusicX, 75), kSliderY);
    EXPECT_EQ(game->musicvolume, 75);
    EXPECT_EQ(eng->LogCount("change music volume: 75"), 1);
    EXPECT_EQ(eng->LogCount("change music volume:"), 1);
}

TEST_F(OptionsTest, SoundAndSpeedTakeEffectAndSurviveARestart) {
    OpenFromMenu();
    HCHANNEL music = game->muschan;
    hl->ClearSounds();
    Click(At(kSoundX, 20), kSliderY);
    EXPECT_EQ(game->soundvolume, 20);
    EXPECT_EQ(eng->tide->System_GetState(TIDE_FXVOLUME), 20);
    Drag(At(kSpeedX, 50), kSliderY, kSpeedX + 200, kSliderY);
    EXPECT_EQ(game->speed, 100);
    EXPECT_FLOAT_EQ(game->BattleSpeedFactor(), 4);
    // Neither slider touches the music.
    EXPECT_EQ(game->muschan, music);
    EXPECT_EQ(hl->ChannelVolume(music), 30);
    for (const tideSoundEvent& e : hl->Sounds()) EXPECT_NE(e.kind, TIDE_SND_VOLUME);
    EXPECT_FALSE(eng->LogHas("change music volume"));

    Click(kBackX, kBackY);
    ExpectSaved(30, 20, 100);

    Stop();
    Start();
    EXPECT_FLOAT_EQ(game->sound_sld->GetValue(), 20);
    EXPECT_FLOAT_EQ(game->speed_sld->GetValue(), 100);
    EXPECT_EQ(eng->tide->System_GetState(TIDE_FXVOLUME), 20);
}

TEST_F(OptionsTest, BackSavesAllThreeEvenWhenNothingChanged) {
    Stop();
    WriteData("[aqua]\nhealth=7\n");
    Start();
    PassLogo();
    OpenFromMenu();
    Click(kBackX, kBackY);
    EXPECT_EQ(game->gamestate, GS_MMENU);
    ExpectSaved(50, 50, 50);
    EXPECT_EQ(Saved("aqua", "health"), 7);
}

TEST_F(OptionsTest, EscapeInABattleAndBackReturnsToTheSameBattle) {
    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    Frames(5);
    std::vector<cUnit*> units = game->units;
    cUnit* sel = game->selunit;
    int turn = cGame::turn;
    std::vector<int> health;
    for (cUnit* u : units) health.push_back(u->GetHealth());
    HCHANNEL music = game->muschan;

    Key(TIDEK_ESCAPE);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    EXPECT_EQ(game->prevgamestate, GS_GAME);
    Frames(120); // the battle waits
    EXPECT_EQ(hl->ChannelVolume(music), 30); // its music goes on

    Click(kBackX, kBackY);
    EXPECT_EQ(game->gamestate, GS_GAME);
    EXPECT_EQ(game->units, units);
    EXPECT_EQ(game->selunit, sel);
    EXPECT_EQ(cGame::turn, turn);
    for (size_t i = 0; i < units.size(); ++i) EXPECT_EQ(units[i]->GetHealth(), health[i]);
    // Saved into the configuration, not into the level file the battle named.
    EXPECT_EQ(Saved("options", "music"), 30);
    EXPECT_EQ(eng->ReadFile("res/lvl1.txt").find("options"), std::string::npos);
}

TEST_F(OptionsTest, DifficultyIsNormalUnlessTheSettingsNameAnotherAndAppliesFromTheNextBattle) {
    struct Case {
        const char* options;
        Difficulty want;
        int logged;  // lines about an unknown value
    };
    const Case cases[] = {
        {"", Difficulty::Normal, 0},
        {"difficulty=easy\n", Difficulty::Easy, 0},
        {"difficulty= Hard \n", Difficulty::Hard, 0},
        {"difficulty=\n", Difficulty::Normal, 0},
        {"difficulty=brutal\n", Difficulty::Normal, 1},
    };
    for (const Case& c : cases) {
        Stop();
        WriteData(std::string("[options]\n") + c.options);
        int before = eng->LogCount("unknown difficulty");
        Start();
        EXPECT_EQ(game->difficulty, c.want) << c.options;
        EXPECT_EQ(eng->LogCount("unknown difficulty") - before, c.logged) << c.options;
    }

    // A change on the options screen (the choice comes after the three
    // sliders) waits for the next battle, and is saved with the others.
    PassLogo();
    StartLevel(1);
    ASSERT_EQ(cGame::battle.difficulty, Difficulty::Normal);
    Key(TIDEK_ESCAPE);
    ASSERT_EQ(game->difficulty_ch->GetChoice(), static_cast<int>(Difficulty::Normal));
    for (int i = 0; i < 3; ++i) Key(TIDEK_DOWN);
    Key(TIDEK_RIGHT);
    EXPECT_EQ(game->difficulty, Difficulty::Hard);
    EXPECT_EQ(game->sound_sld->GetValue(), 50);  // the sliders kept their values
    Click(kBackX, kBackY);
    ASSERT_EQ(game->gamestate, GS_GAME);
    EXPECT_EQ(cGame::battle.difficulty, Difficulty::Normal);
    eng->tide->System_SetState(TIDE_INIFILE, "Res\\config.txt");
    EXPECT_STREQ(eng->tide->Ini_GetString("options", "difficulty", ""), "hard");
    game->LoadLevel(1);
    EXPECT_EQ(cGame::battle.difficulty, Difficulty::Hard);
    Stop();
    Start();
    EXPECT_EQ(game->difficulty_ch->GetChoice(), static_cast<int>(Difficulty::Hard));
}

// A click on the choice's left end steps back, elsewhere on it forward, each
// going round; the choice and the setting agree after every step.
TEST_F(OptionsTest, ClicksOnTheDifficultyStepItRound) {
    OpenFromMenu();
    const float left = 500, right = 600, y = 570;
    const struct {
        float x;
        Difficulty want;
    } steps[] = {{right, Difficulty::Hard}, {right, Difficulty::Easy}, {left, Difficulty::Hard}, {left, Difficulty::Normal}};
    for (const auto& s : steps) {
        Click(s.x, y);
        EXPECT_EQ(game->difficulty, s.want) << s.x;
        EXPECT_EQ(game->difficulty_ch->GetChoice(), static_cast<int>(s.want));
    }
}
