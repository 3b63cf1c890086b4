// "Leave battle" asks first: the battle would be given up and its save gone.
// Enter (a gamepad's A) or the "Leave battle" button gives it up; Escape (B)
// or "Back" keeps it.
#include "game/game.h"
#include "gfx/font.h"
#include "gfx/sprite.h"

namespace {

const float kPanelX = 252, kPanelY = 262, kPanelW = 520, kPanelH = 172;
// The two buttons, from their top-left corners.
const float kYesX = 270, kNoX = 586, kButtonsY = 372, kButtonW = 168, kButtonH = 43;

bool Over(float mx, float my, float x) {
    return mx >= x && mx < x + kButtonW && my >= kButtonsY && my < kButtonsY + kButtonH;
}

}  // namespace

void cGame::UpdateLeavePrompt() {
    bool click = tide->Input_KeyDown(TIDEK_LBUTTON);
    const bool yes = tide->Input_KeyDown(TIDEK_ENTER) || tide->Input_KeyDown(TIDEK_PAD_A);
    if (yes || (click && Over(mx, my, kYesX))) {
        leavePrompt = false;
        LeaveBattle();
    } else if (BackPressed() || (click && Over(mx, my, kNoX))) {
        leavePrompt = false;
    }
}

void cGame::RenderLeavePrompt() {
    if (tideSprite* plate = NeedSprite("info_panel"))
        plate->RenderStretch(kPanelX, kPanelY, kPanelX + kPanelW, kPanelY + kPanelH);
    if (tideFont* big = NeedFont("bannerfont"))
        big->Render(kPanelX + kPanelW / 2, kPanelY + 22, TEXT_CENTER, "Give up this battle?");
    if (fnt1) {
        float scale = fnt1->GetScale();
        fnt1->SetScale(0.95f);
        const bool pad = tide->Input_GetDevice() == TIDE_DEVICE_GAMEPAD;
        fnt1->Render(kPanelX + kPanelW / 2, kPanelY + 72, TEXT_CENTER,
                     pad ? "A: give up      B: keep playing" : "Enter: give up      Escape: keep playing");
        fnt1->SetScale(scale);
    }
    const char* names[2][2] = {{"leavebattle", "leavebattleover"}, {"optionsback", "optionsbackover"}};
    const float xs[2] = {kYesX, kNoX};
    for (int i = 0; i < 2; ++i)
        if (tideSprite* s = NeedSprite(names[i][Over(mx, my, xs[i]) ? 1 : 0])) s->Render(xs[i], kButtonsY);
}
