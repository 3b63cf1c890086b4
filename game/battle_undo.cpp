// Undo: the player takes back their most recent action with everything that
// followed it (the computer's actions, a new turn and its order), dice
// included, so the same action again gives the same result. Easy and Normal
// go back as far as the battle's start, Hard only the last action. U, Ctrl+Z
// (the keys that type those letters), a gamepad's Y or the Undo button
// (battle_buttons.cpp).
#include "game/game.h"
#include "gfx/font.h"
#include "gfx/sprite.h"

namespace {

// A notice shows this long, above the shelf.
const float kNoticeSeconds = 2.0f;
const float kNoticeY = 655, kNoticeW = 420, kNoticeH = 30;

int Letter(char c) { return TIDEK_A + (c - 'A'); }

}  // namespace

void cGame::RememberForUndo() {
    // Hard keeps only the action about to be taken.
    if (battle.difficulty == Difficulty::Hard) undo.clear();
    undo.push_back(battle);
}

void cGame::Notice(const char* text) {
    notice = text;
    noticetime = 0;
}

void cGame::RequestUndo() {
    if (battle.outcome != BattleOutcome::None || banner != BANNER_NONE) {
        Notice("The battle is over");
    } else if (undo.empty()) {
        bool hard = battle.difficulty == Difficulty::Hard && battle.stats.actions > 0;
        Notice(hard ? "On Hard only the last action can be taken back" : "Nothing to take back");
    } else if (IsControlLocked() || battle.pending) {
        // Taken back as soon as the action on screen has played out.
        undoWanted = true;
    } else {
        UndoNow();
    }
}

bool cGame::UndoNow() {
    undoWanted = false;
    if (undo.empty() || battle.outcome != BattleOutcome::None || IsControlLocked() || battle.pending)
        return false;
    int undone = battle.stats.undone;
    BattleStats::Count(undone, 1);
    battle = std::move(undo.back());
    undo.pop_back();
    battle.stats.undone = undone;
    fx.Clear();
    SyncViews();
    SelectUnit(static_cast<int>(step));
    Notice("Action taken back");
    return true;
}

void cGame::UpdateUndo(float dt) {
    noticetime += dt;
    bool ctrl = tide->Input_GetKeyState(TIDEK_CTRL);
    if (tide->Input_KeyDown(Letter('U')) || (ctrl && tide->Input_KeyDown(Letter('Z'))) ||
        tide->Input_KeyDown(TIDEK_PAD_Y))
        RequestUndo();
}

void cGame::RenderNotice() {
    if (notice.empty() || noticetime >= kNoticeSeconds) return;
    if (tideSprite* plate = NeedSprite("info_panel"))
        plate->RenderStretch(512 - kNoticeW / 2, kNoticeY, 512 + kNoticeW / 2, kNoticeY + kNoticeH);
    if (fnt1) {
        float scale = fnt1->GetScale();
        fnt1->SetScale(0.8f);
        fnt1->Render(512, kNoticeY + (kNoticeH - fnt1->GetHeight() * 0.8f) / 2, TEXT_CENTER, notice.c_str());
        fnt1->SetScale(scale);
    }
}
