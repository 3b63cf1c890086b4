// What the menus add for the keyboard, the gamepad and for leaving a battle:
// arrow keys (or the D-pad) and Tab move the focus, Enter, Space or A press
// the focused button (guiButton), Left and Right change the focused slider,
// and the options screen opened from a battle offers "Leave battle".
#include "game/game.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "gui/guiButton.h"
#include "res/resource_manager.h"

void cGame::SetupMenuKeys() {
    const int nav = GUINAV_UPDOWN | GUINAV_LEFTRIGHT | GUINAV_CYCLED;
    for (tideGUI* g : {gui, chlvlgui})
        if (g) g->SetNavMode(nav);
    if (!guioptions) return;
    // Left and Right belong to the sliders and the difficulty here; the focus
    // goes along the sliders, to the difficulty under them, then the buttons.
    guioptions->SetNavMode(GUINAV_UPDOWN | GUINAV_CYCLED);
    guioptions->SetFocusOrder(
        {ID_SOUND_SLIDER, ID_MUSIC_SLIDER, ID_SPEED_SLIDER, ID_DIFFICULTY, ID_OPTIONS_BACK, ID_LEAVE_BATTLE});
    // Under the back button; shown only while a battle waits behind the screen.
    guioptions->AddCtrl(new guiButton(ID_LEAVE_BATTLE, 428, 650, 168, 43, NeedSprite("leavebattle"),
                                      NeedSprite("leavebattleover"),
                                      resman->GetEffect("button_over", 0)));
    for (tideGUISlider* s : {sound_sld, music_sld, speed_sld})
        if (s) s->SetFont(fnt1);
    if (speed_sld) speed_sld->SetLabels("slow", "fast");
}

void cGame::LeaveBattle() {
    // Given up, not lost: nothing is unlocked, no banner is shown and the
    // saved battle goes.
    ForgetBattle();
    SaveOptions();
    banner = BANNER_NONE;
    fx.Clear();
    gamestate = GS_CHLVL;
}

bool cGame::BackPressed() {
    return tide->Input_KeyDown(TIDEK_ESCAPE) || tide->Input_KeyDown(TIDEK_PAD_B);
}

bool cGame::PointerShown() { return tide->Input_GetDevice() != TIDE_DEVICE_TOUCH; }

void cGame::FocusOnOpen() {
    if (gamestate == focusstate) return;
    focusstate = gamestate;
    switch (gamestate) {
    case GS_MMENU:
        // Continue, when a battle waits, else Start.
        if (gui) {
            const tideGUIObject* resume = gui->GetCtrl(ID_CONTINUE);
            if (resume && resume->Focusable())
                gui->SetFocus(ID_CONTINUE);
            else
                gui->FocusFirst();
        }
        break;
    case GS_CHLVL:
        // The newest level open is the one a player most likely starts.
        if (chlvlgui) chlvlgui->SetFocus(ID_LEVEL_FIRST + MaxOpenLevel() - 1);
        lockedLevel = 0;  // a notice from an earlier visit is old news
        break;
    case GS_OPTIONS:
        if (guioptions) guioptions->FocusFirst();
        break;
    case GS_GAME:
        cursorunit = nullptr;  // the board cursor starts on the acting unit
        break;
    default:
        break;
    }
}
