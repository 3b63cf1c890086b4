// The help overlay: one screen with the controls over whatever screen is up,
// opened with F1, "?" or a gamepad's Back button, closed by any key, button,
// click or tap. It lists the controls of the device the player used last:
// keyboard and mouse, gamepad, or touch. The screen under it waits, a battle
// included.
#include "game/game.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"
#include "res/strtable.h"

namespace {

const float kPanelX = 512, kPanelY = 384;
const float kPanelW = 640, kPanelH = 440;

const char* HelpText(const char* name) {
    tideStringTable* t = cGame::resman ? cGame::resman->GetStringTable("texts") : nullptr;
    const char* s = t ? t->GetString(name) : nullptr;
    return s ? s : "";
}

}  // namespace

bool cGame::AnyPress() {
    int key = tide->Input_GetKey();
    return tide->Input_KeyDown(TIDEK_LBUTTON) || tide->Input_KeyDown(TIDEK_RBUTTON) ||
           (key != 0 && tide->Input_KeyDown(key));
}

bool cGame::UpdateHelp() {
    if (showhelp) {
        // A held F1 repeating must not close what it just opened.
        if (AnyPress()) showhelp = false;
        return true;
    }
    if (tide->Input_KeyDown(TIDEK_F1) || tide->Input_GetChar() == '?' ||
        tide->Input_KeyDown(TIDEK_PAD_BACK)) {
        showhelp = true;
        helpdevice = tide->Input_GetDevice();
        return true;
    }
    return false;
}

void cGame::RenderHelp() {
    if (tideSprite* panel = NeedSprite("helppanel")) panel->Render(kPanelX, kPanelY);
    float left = kPanelX - kPanelW / 2 + 40, top = kPanelY - kPanelH / 2 + 24;
    if (tideFont* big = NeedFont("bannerfont")) {
        big->SetColor(0xFFFFE066);
        big->Render(kPanelX, top, TEXT_CENTER, HelpText("help_title"));
        big->SetColor(0xFFFFFFFF);
        top += big->GetHeight() + 8;
    }
    const char* body = helpdevice == TIDE_DEVICE_GAMEPAD ? "help_pad"
                       : helpdevice == TIDE_DEVICE_TOUCH ? "help_touch"
                                                         : "help_keys";
    if (fnt1) fnt1->Render(left, top, TEXT_LEFT, HelpText(body));
    if (cur && PointerShown()) cur->Render(mx, my);
}
