// What the player reaches by keyboard and the ways out: Escape as back, the
// arrow keys and Enter or Space on menu buttons, the help overlay, "Leave
// battle", the victory sound, and the sliders' value and labels.
#include <set>

#include "gfx/font.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "tests/screens/screens_fixture.h"
#include "tools/replay_script.h"
#include "units/unit.h"

namespace {

const float kMenuX = 512, kLevelChoiceY = 521, kOptionsY = 571;
const float kLeaveX = 512, kLeaveY = 671;

}  // namespace

class PlayerKeysTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        StartAtMenu();
    }
    // The quads of the last frame drawn with the font's texture.
    size_t TextQuads() const { return QuadsWith(cGame::fnt1->hTexture).size(); }
};

TEST_F(PlayerKeysTest, EscapeIsBackAndEnterOrSpacePressTheFocusedButton) {
    Click(kMenuX, kOptionsY);
    ASSERT_EQ(game->gamestate, GS_OPTIONS);
    Key(TIDEK_ESCAPE);
    EXPECT_EQ(game->gamestate, GS_MMENU);

    Click(kMenuX, kLevelChoiceY);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    Key(TIDEK_ESCAPE);
    EXPECT_EQ(game->gamestate, GS_MMENU);

    // Every screen opens on its first control: Down from there to options.
    EXPECT_EQ(game->gui->GetFocus(), 1);
    Key(TIDEK_DOWN);
    EXPECT_EQ(game->gui->GetFocus(), 2);
    Key(TIDEK_ENTER);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    Key(TIDEK_ESCAPE);
    EXPECT_EQ(game->gui->GetFocus(), 1);
    Key(TIDEK_SPACE);
    EXPECT_EQ(game->gamestate, GS_CHLVL);

    // With a battle to continue the menu opens on Continue, above Start.
    game->savedBattle = true;
    Key(TIDEK_ESCAPE);
    EXPECT_EQ(game->gui->GetFocus(), ID_CONTINUE);
    Key(TIDEK_DOWN);
    EXPECT_EQ(game->gui->GetFocus(), 1);
    Key(TIDEK_DOWN);
    Key(TIDEK_ENTER);
    ASSERT_EQ(game->gamestate, GS_OPTIONS);
    Key(TIDEK_ESCAPE);
    EXPECT_EQ(game->gui->GetFocus(), ID_CONTINUE);
}

// A battle left by quitting comes back through Continue, above Start and
// focused: Enter (or a click) resumes it as it was; once given up, it is gone.
TEST_F(PlayerKeysTest, ContinueHasTheFocusAndResumesTheBattleLeftByQuitting) {
    tideGUIObject* cont = game->gui->GetCtrl(ID_CONTINUE);
    ASSERT_NE(cont, nullptr);
    EXPECT_FALSE(cont->bVisible);
    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    const BattleState left = cGame::battle;
    for (bool byKey : {true, false}) {
        Stop();
        Start();
        Frame();
        cont = game->gui->GetCtrl(ID_CONTINUE);
        ASSERT_TRUE(cont->bVisible) << byKey;
        EXPECT_EQ(game->gui->GetFocus(), ID_CONTINUE);
        if (byKey)
            Key(TIDEK_ENTER);
        else
            Click(512, 471);
        ASSERT_EQ(game->gamestate, GS_GAME) << byKey;
        EXPECT_EQ(cGame::battle, left) << byKey;
    }
    Key(TIDEK_ESCAPE);
    Click(kLeaveX, kLeaveY);
    Key(TIDEK_ENTER);
    ASSERT_EQ(game->gamestate, GS_CHLVL);
    Key(TIDEK_ESCAPE);
    Frame();
    EXPECT_FALSE(game->gui->GetCtrl(ID_CONTINUE)->bVisible);
    EXPECT_NE(game->gui->GetFocus(), ID_CONTINUE);
}

// Enter, Enter from the menu into a battle; the options reached from there
// by Escape, a slider changed by keys and the battle back by Escape; and the
// same with a gamepad's buttons.
TEST_F(PlayerKeysTest, KeysAloneLeadIntoABattleAndChangeTheSliders) {
    struct Keys {
        int enter, back, down;
    };
    for (Keys k : {Keys{TIDEK_ENTER, TIDEK_ESCAPE, TIDEK_TAB},
                   Keys{TIDEK_PAD_A, TIDEK_PAD_B, TIDEK_PAD_DOWN}}) {
        game->sound_sld->SetValue(50);
        game->music_sld->SetValue(50);
        Key(k.enter);
        ASSERT_EQ(game->gamestate, GS_CHLVL);
        EXPECT_EQ(game->chlvlgui->GetFocus(), ID_LEVEL_FIRST + game->MaxOpenLevel() - 1);
        Key(k.enter);
        ASSERT_EQ(game->gamestate, GS_GAME);
        Key(TIDEK_ESCAPE);
        ASSERT_EQ(game->gamestate, GS_OPTIONS);
        EXPECT_EQ(game->guioptions->GetFocus(), 8);  // the first slider
        Key(TIDEK_RIGHT);
        EXPECT_EQ(game->soundvolume, 55);
        Key(k.down);
        Key(TIDEK_HOME);
        EXPECT_EQ(game->musicvolume, 0);
        EXPECT_EQ(game->sound_sld->GetValue(), 55);
        Key(k.back);
        EXPECT_EQ(game->gamestate, GS_GAME);
        // Through "Leave battle" back to the level choice, and to the menu.
        Key(TIDEK_ESCAPE);
        for (int i = 0; i < 5; i++) Key(TIDEK_DOWN);  // past the sliders and the difficulty
        EXPECT_EQ(game->guioptions->GetFocus(), ID_LEAVE_BATTLE);
        Key(k.enter);
        EXPECT_TRUE(game->leavePrompt);
        Key(k.enter);  // yes, give it up
        EXPECT_EQ(game->gamestate, GS_CHLVL);
        Key(k.back);
        ASSERT_EQ(game->gamestate, GS_MMENU);
    }
}

TEST_F(PlayerKeysTest, HelpOverlayOpensOverAScreenAndClosesOnAnyKeyOrClick) {
    // F1 held a little long: its auto-repeats are no new key press.
    hl->Key(TIDEK_F1, true);
    Frame();
    hl->Key(TIDEK_F1, true);
    Frame();
    hl->Key(TIDEK_F1, false);
    Frame();
    EXPECT_TRUE(game->showhelp);
    EXPECT_FALSE(QuadsWith(Texture("helppanel")).empty());
    // The click closes the overlay and reaches nothing under it.
    Click(kMenuX, kOptionsY);
    EXPECT_FALSE(game->showhelp);
    EXPECT_EQ(game->gamestate, GS_MMENU);
    EXPECT_TRUE(QuadsWith(Texture("helppanel")).empty());

    hl->Char('?');
    Frame();
    EXPECT_TRUE(game->showhelp);
    Key(TIDEK_A);
    EXPECT_FALSE(game->showhelp);
}

TEST_F(PlayerKeysTest, LeaveBattleIsOfferedOnlyFromABattleAndUnlocksNothing) {
    tideGUIObject* leave = game->guioptions->GetCtrl(ID_LEAVE_BATTLE);
    ASSERT_NE(leave, nullptr);
    Click(kMenuX, kOptionsY);
    EXPECT_FALSE(leave->bVisible);
    Click(kLeaveX, kLeaveY);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    Key(TIDEK_ESCAPE);

    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    Key(TIDEK_ESCAPE);
    ASSERT_EQ(game->gamestate, GS_OPTIONS);
    EXPECT_TRUE(leave->bVisible);
    // It asks first: Escape keeps the battle, Enter gives it up.
    Click(kLeaveX, kLeaveY);
    EXPECT_TRUE(game->leavePrompt);
    Key(TIDEK_ESCAPE);
    EXPECT_FALSE(game->leavePrompt);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    Click(kLeaveX, kLeaveY);
    Key(TIDEK_ENTER);
    EXPECT_EQ(game->gamestate, GS_CHLVL);
    EXPECT_EQ(game->MaxOpenLevel(), 1);
    EXPECT_EQ(game->banner, BANNER_NONE);
}

TEST_F(PlayerKeysTest, VictoryPlaysItsSoundUnderTheBanner) {
    hl->ClearSounds();
    PlayLevel1Until([&] { return game->banner != BANNER_NONE; });
    ASSERT_EQ(game->banner, BANNER_VICTORY);
    EXPECT_FALSE(QuadsWith(Texture("bannerplate")).empty());
    bool played = false;
    for (const tideSoundEvent& e : hl->Sounds()) played |= e.name.find("victory") != std::string::npos;
    EXPECT_TRUE(played);
}

TEST_F(PlayerKeysTest, SlidersShowTheirValueWhileHoveredAndTheKnobIsGrabbedPastTheTrack) {
    Click(kMenuX, kOptionsY);
    Move(100, 300);
    Frame();
    // The speed slider's "slow" and "fast"; "Difficulty", "<", "Normal", ">".
    size_t idle = TextQuads();
    EXPECT_EQ(idle, 26u);
    Move(428 + 80, 519);  // over the music slider: "30"
    Frame();
    EXPECT_EQ(TextQuads(), idle + 2);

    // The sound knob at 0 hangs 9.5 pixels left of the track: grab it there.
    game->sound_sld->SetValue(0);
    Drag(178 - 8, 519, 178 + 40, 519);
    EXPECT_FLOAT_EQ(game->sound_sld->GetValue(), 25);
    // Left of the knob is still nothing.
    Drag(178 - 12, 519, 178 + 80, 519);
    EXPECT_FLOAT_EQ(game->sound_sld->GetValue(), 25);
}

// Progress leaves as the text the game saves and comes back only when the
// game's own reading accepts it.
TEST_F(PlayerKeysTest, ProgressExportedImportsAndAnythingElseChangesNothing) {
    game->progress.Win("lvl1.txt");
    const std::string saved = game->ExportProgress();
    for (const char* bad : {"", "<html>not progress</html>", "[progress]\nmaxlvl=3\nextra=1\n",
                            "[progress]\nversion=9\n[level lvl4.txt]\nwon=1\n"}) {
        EXPECT_FALSE(game->ImportProgress(bad)) << bad;
        EXPECT_EQ(game->MaxOpenLevel(), 2) << bad;
    }
    EXPECT_TRUE(game->ImportProgress("[progress]\nversion=2\n[level lvl4.txt]\nwon=1\n"));
    EXPECT_EQ(game->MaxOpenLevel(), 5);
    // Saved: a new game starts from what was imported.
    Stop();
    Start();
    EXPECT_EQ(game->MaxOpenLevel(), 5);
    // An older export adds its wins to the saved ones and takes none away.
    EXPECT_TRUE(game->ImportProgress(saved));
    EXPECT_TRUE(game->progress.Won("lvl4.txt"));
    EXPECT_TRUE(game->progress.Won("lvl1.txt"));
}

// On the board a tap shows, a second tap on the same cell acts, a tap
// elsewhere shows that cell instead, and a long press only shows.
TEST_F(PlayerKeysTest, TouchShowsWithOneTapAndActsWithTheSecond) {
    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    for (int i = 0; i < 600 && !PlayerMayAct(); ++i) Frame();
    ASSERT_TRUE(PlayerMayAct());
    cUnit* aqua = game->selunit;
    auto tap = [&](int cx, int cy, int heldFrames = 1) {
        const float x = cx * 64 + 32.0f, y = cy * 64 + 32.0f;
        hl->Touch(x, y, true);
        Frame();
        for (int i = 1; i < heldFrames; ++i) Frame();
        hl->Touch(x, y, false);
        Frame();
    };
    cUnit* medu = nullptr;
    for (cUnit* u : game->units)
        if (!u->IsPlayerControlled()) medu = u;
    ASSERT_NE(medu, nullptr);
    const int hp = medu->GetHealth();
    tap(kMeduX, kRow, 40);  // a long press: nothing
    tap(kAquaX, kRow - 1);  // shows the cell above
    tap(kMeduX, kRow);      // shows the attack instead
    EXPECT_EQ(aqua->actionpoint, 1);
    EXPECT_EQ(medu->GetHealth(), hp);
    // The game's pointer is not drawn while a finger plays.
    EXPECT_TRUE(QuadsWith(Texture("cursor")).empty());
    EXPECT_TRUE(QuadsWith(Texture("cursor_attack")).empty());
    tap(kMeduX, kRow);  // does it
    EXPECT_NE(aqua->actionpoint, 1);
}

// A finger has no keys: Pass, Undo and Menu beside the board act on one tap
// while the player's unit may act, and Pass and Menu do nothing (drawn
// faded) in a creature's turn or while an action plays out.
TEST_F(PlayerKeysTest, TouchButtonsPassTakeBackAndOpenTheOptionsOnlyInThePlayersTurn) {
    const float kPassX = 968, kPassY = 700, kUndoX = 56, kUndoY = 700, kMenuX = 988, kMenuY = 32;
    for (int y = 64; y < 640; y += 4)
        for (int x = 64; x < 960; x += 4)
            ASSERT_EQ(game->BattleButtonAt(static_cast<float>(x), static_cast<float>(y)),
                      cGame::BattleButton::None)
                << x << "," << y;
    StartLevel(1);
    ASSERT_EQ(game->gamestate, GS_GAME);
    for (int i = 0; i < 600 && !PlayerMayAct(); ++i) Frame();
    ASSERT_TRUE(PlayerMayAct());
    cUnit* aqua = game->selunit;
    cUnit* medu = game->units[0] == aqua ? game->units[1] : game->units[0];
    auto press = [&](float x, float y) {
        hl->Touch(x, y, true);
        Frame();
    };
    auto release = [&](float x, float y) {
        hl->Touch(x, y, false);
        Frame();
    };
    auto passAlpha = [&] {
        std::vector<tideQuad> q = QuadsWith(Texture("pass"));
        return q.empty() ? 0u : q.back().v[0].col >> 24;
    };

    // Pressed in the creature's turn, and while an action plays out (the
    // lock held over the release keeps the creature from acting).
    game->SetOrder({medu, aqua});
    press(kPassX, kPassY);
    EXPECT_EQ(passAlpha(), 0xA0u);
    cGame::LockControl();
    release(kPassX, kPassY);
    game->SetOrder({aqua, medu});
    for (std::pair<float, float> at : {std::pair(kPassX, kPassY), std::pair(kMenuX, kMenuY)}) {
        press(at.first, at.second);
        release(at.first, at.second);
    }
    EXPECT_EQ(game->gamestate, GS_GAME);
    EXPECT_TRUE(game->undo.empty());
    EXPECT_EQ(aqua->actionpoint, 1);
    cGame::UnlockControl();
    Frame();
    EXPECT_EQ(passAlpha(), 0xFFu);

    const BattleState before = cGame::battle;
    press(kPassX, kPassY);
    EXPECT_EQ(aqua->actionpoint, 0) << "passed on one tap";
    EXPECT_EQ(game->undo.size(), 1u);
    release(kPassX, kPassY);
    for (int i = 0; i < 600 && !PlayerMayAct(); ++i) Frame();
    ASSERT_TRUE(PlayerMayAct());
    press(kUndoX, kUndoY);
    release(kUndoX, kUndoY);
    EXPECT_EQ(cGame::battle.units, before.units) << "the pass and the creature's answer taken back";
    EXPECT_EQ(game->selunit, aqua);

    press(kMenuX, kMenuY);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    release(kMenuX, kMenuY);
    EXPECT_EQ(game->gamestate, GS_OPTIONS);
    Click(512, 618);  // Back
    EXPECT_EQ(game->gamestate, GS_GAME);
    EXPECT_TRUE(PlayerMayAct());
    EXPECT_EQ(cGame::battle.units, before.units);
}

// The board cursor starts on the acting unit; arrows (or the D-pad) move it
// and Enter (or A) acts as a click there would; Tab (or a shoulder) jumps to
// an enemy in reach.
TEST_F(PlayerKeysTest, TheBoardCursorMovesAndAttacksByKeysOrPad) {
    struct Keys {
        int up, act, next;
    };
    for (Keys k : {Keys{TIDEK_UP, TIDEK_ENTER, TIDEK_TAB},
                   Keys{TIDEK_PAD_UP, TIDEK_PAD_A, TIDEK_PAD_RB}}) {
        Key(k.act);
        Key(k.act);
        ASSERT_EQ(game->gamestate, GS_GAME);
        auto waitToAct = [&] {
            for (int i = 0; i < 600 && !PlayerMayAct(); ++i) Frame();
            ASSERT_TRUE(PlayerMayAct());
        };
        waitToAct();
        cUnit* aqua = game->selunit;
        Key(k.act);  // on itself: nothing, as a click there
        EXPECT_EQ(aqua->actionpoint, 1);
        EXPECT_EQ(game->CursorCell(), tcellpos(kAquaX, kRow));
        EXPECT_TRUE(QuadsWith(Texture("cursor")).empty()) << "a frame, not the pointer";
        Key(k.up);
        EXPECT_EQ(game->CursorCell(), tcellpos(kAquaX, kRow - 1));
        Key(k.act);
        EXPECT_EQ(aqua->GetParent()->GetY(), kRow - 1);
        waitToAct();
        EXPECT_EQ(game->CursorCell(), tcellpos(kAquaX, kRow - 1)) << "starts on the acting unit";
        Key(k.next);
        EXPECT_EQ(game->CursorCell(), tcellpos(kMeduX, kRow));
        Key(k.act);
        for (int i = 0; i < 600 && game->banner == BANNER_NONE; ++i) Frame();  // the shot flies
        EXPECT_NE(game->banner, BANNER_NONE) << "the attack won the level";
        Frames(30);
        Key(k.act);  // past the banner
        ASSERT_EQ(game->gamestate, GS_CHLVL);
        Key(TIDEK_ESCAPE);
        ASSERT_EQ(game->gamestate, GS_MMENU);
    }
}

// The whole way by keys, as a replay script: from the logo into level 1, a
// slider changed on the options reached from the battle, a step by the board
// cursor, the attack that wins, past the banner and back to the menu. Frames
// leave each side's action time to play out.
TEST_F(PlayerKeysTest, AReplayOfKeysAloneMovesAttacksWinsAndComesBack) {
    const char* script =
        "130 down 13\n131 up 13\n"  // Start, focused: the level choice
        "140 down 13\n141 up 13\n"  // level 1, focused: the battle
        "150 down 27\n151 up 27\n"  // the options
        "160 down 39\n161 up 39\n"  // the sound slider up a step
        "170 down 27\n171 up 27\n"  // back to the battle
        "400 down 38\n401 up 38\n"  // the cursor a cell up from the acting unit
        "410 down 13\n411 up 13\n"  // and the unit steps there
        "800 down 9\n801 up 9\n"    // the cursor on the enemy in reach
        "810 down 13\n811 up 13\n"  // the attack
        "1100 down 13\n1101 up 13\n"  // past the banner to the level choice
        "1110 down 27\n1111 up 27\n"  // and back to the menu
        "1120 end\n";
    ReplayScript replay;
    std::string error;
    ASSERT_TRUE(replay.Parse(script, error)) << error;
    for (const ReplayCommand& c : replay.Commands())
        ASSERT_TRUE(c.kind == ReplayCommand::Down || c.kind == ReplayCommand::Up || c.kind == ReplayCommand::End);

    Stop();  // from the logo
    Start();
    const int sound = game->soundvolume;
    std::set<int> rows;  // where the player's unit stood in the battle
    for (int f = 0; f <= replay.LastFrame(); ++f) {
        replay.ApplyInput(f, hl);
        Frame();
        if (game->gamestate == GS_GAME)
            for (cUnit* u : game->units)
                if (u->IsPlayerControlled() && u->GetParent()) rows.insert(u->GetParent()->GetY());
    }
    EXPECT_EQ(rows, (std::set<int>{kRow, kRow - 1})) << "the unit stepped up by the cursor";
    EXPECT_EQ(game->soundvolume, sound + 5);
    EXPECT_TRUE(game->progress.Won("lvl1.txt")) << "the attack won level 1";
    EXPECT_EQ(game->gamestate, GS_MMENU);
}
