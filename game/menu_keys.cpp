// What the menus add for the keyboard and for leaving a battle: arrow keys
// move the focus, Enter or Space press the focused button (guiButton), and
// the options screen opened from a battle offers "Leave battle".
#include "game/game.h"
#include "gui/controls.h"
#include "gui/gui.h"
#include "gui/guiButton.h"
#include "res/resource_manager.h"

void cGame::SetupMenuKeys() {
    const int nav = GUINAV_UPDOWN | GUINAV_LEFTRIGHT | GUINAV_CYCLED;
    for (tideGUI* g : {gui, chlvlgui, guioptions})
        if (g) g->SetNavMode(nav);
    if (!guioptions) return;
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
