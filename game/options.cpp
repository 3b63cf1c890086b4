// The options screen: music, sound and speed sliders and the difficulty over
// the rippling menu picture, saved into the configuration file on the way out.
#include <algorithm>
#include <string>

#include "game/game.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "gui/controls.h"
#include "gui/gui.h"

namespace {

int SliderInt(const tideGUISlider* s) { return static_cast<int>(s->GetValue()); }

// The difficulty's row, between the sliders and the back button: a plate with
// the caption at its left and the choice at its right.
const float kRowX = 370, kRowY = 546, kRowW = 284, kRowH = 48;
const float kChoiceX = 484, kChoiceW = 162, kChoiceH = 36;
// Over the sliders, while a battle waits behind the screen.
const float kNoteY = 408;

}  // namespace

void cGame::ReadOptions() {
    // Kept within the sliders' range so the members always match the knobs.
    soundvolume = std::clamp(ConfigInt("options", "sound", 50), 0, 100);
    speed = std::clamp(ConfigInt("options", "speed", 50), 0, 100);
    std::string word = ConfigString("options", "difficulty", "normal");
    difficulty = Difficulty::Normal;
    // An empty value is as good as none; a word the game does not know is said.
    if (word.find_first_not_of(" \t\r") != std::string::npos && !ReadDifficultySetting(word, difficulty))
        tide->System_Log("config.txt: unknown difficulty \"%s\", normal is played", word.c_str());
}

void cGame::AddDifficultyChoice() {
    difficulty_ch = new tideGUIChoice(ID_DIFFICULTY, kChoiceX, kRowY + (kRowH - kChoiceH) / 2, kChoiceW,
                                      kChoiceH, fnt1);
    for (int d = 0; d < kDifficulties; ++d) difficulty_ch->AddItem(DifficultyTitle(static_cast<Difficulty>(d)));
    difficulty_ch->SetChoice(static_cast<int>(difficulty));
    guioptions->AddCtrl(difficulty_ch);
}

void cGame::render_options() {
    if (mmdistort) mmdistort->Render(0, 0);
    if (sliderbg1) sliderbg1->Render(262, 500);
    if (sliderbg2) sliderbg2->Render(512, 500);
    if (sliderbg3) sliderbg3->Render(762, 500);
    if (tideSprite* plate = NeedSprite("info_panel")) plate->RenderStretch(kRowX, kRowY, kRowX + kRowW, kRowY + kRowH);
    if (fnt1) {
        const float y = kRowY + (kRowH - fnt1->GetHeight()) / 2;
        fnt1->Render(kRowX + 14, y, TEXT_LEFT, "Difficulty");
        // A battle keeps the difficulty it began with.
        if (prevgamestate == GS_GAME) {
            const std::string note = std::string("This battle is played on ") + DifficultyTitle(battle.difficulty) +
                                     "; a new difficulty applies from the next battle";
            const float half = fnt1->GetStringWidth(note.c_str()) / 2 + 14;
            if (tideSprite* plate = NeedSprite("info_panel"))
                plate->RenderStretch(512 - half, kNoteY - 8, 512 + half, kNoteY + fnt1->GetHeight() + 8);
            fnt1->Render(512, kNoteY, TEXT_CENTER, note.c_str());
        }
    }
    guioptions->Render();
    if (leavePrompt) RenderLeavePrompt();
}

void cGame::update_options(float dt) {
    static float t = 0;
    RippleMenu(t);
    t += dt;

    bool fromBattle = prevgamestate == GS_GAME;
    if (leavePrompt && fromBattle) {
        UpdateLeavePrompt();
        return;
    }
    leavePrompt = false;
    guioptions->ShowCtrl(ID_LEAVE_BATTLE, fromBattle);
    guioptions->EnableCtrl(ID_LEAVE_BATTLE, fromBattle);

    int id = guioptions->Update(dt);
    if (BackPressed()) id = ID_OPTIONS_BACK;
    switch (id) {
    case ID_OPTIONS_BACK:
        gamestate = prevgamestate;
        SaveOptions();
        break;
    case ID_LEAVE_BATTLE:
        leavePrompt = fromBattle;  // asks first
        break;
    case ID_SOUND_SLIDER:
        soundvolume = SliderInt(sound_sld);
        tide->System_SetState(TIDE_FXVOLUME, soundvolume);
        break;
    case ID_MUSIC_SLIDER:
        musicvolume = SliderInt(music_sld);
        tide->Channel_SetVolume(muschan, musicvolume);
        tide->System_Log("change music volume: %i", musicvolume);
        break;
    case ID_SPEED_SLIDER:
        speed = SliderInt(speed_sld);
        break;
    case ID_DIFFICULTY:
        difficulty = static_cast<Difficulty>(difficulty_ch->GetChoice());
        break;
    default:
        break;
    }
}
