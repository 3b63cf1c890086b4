// The briefing: a campaign level's few lines of story over its board before
// the battle starts. Enter, Space, a click or a gamepad's A dives in; Escape
// (B) goes back to the level choice. The battle waits under it untouched.
#include "game/game.h"
#include "gfx/font.h"
#include "gfx/sprite.h"

namespace {

// On the end-of-battle summary's plate: one look for what frames a battle.
const float kPlateX = 512, kPlateY = 384;
const float kPlateW = 600, kPlateH = 312;
const float kMargin = 40;

}  // namespace

bool cGame::UpdateBriefing() {
    if (!briefing) return false;
    if (gamestate != GS_GAME) {
        EndBriefing();
        return false;
    }
    if (BackPressed()) {
        EndBriefing();
        LeaveBattle();
    } else if (tide->Input_KeyDown(TIDEK_ENTER) || tide->Input_KeyDown(TIDEK_SPACE) ||
               tide->Input_KeyDown(TIDEK_LBUTTON) || tide->Input_KeyDown(TIDEK_PAD_A)) {
        EndBriefing();
    }
    return true;
}

// The plates' picture (the briefing's, the end banner's, the help's) is big
// and next drawn only when the battle ends: given back meanwhile, it is read
// from its file again then.
void cGame::EndBriefing() {
    briefing = false;
    if (tideSprite* plate = NeedSprite("summaryplate")) tide->Texture_Evict(plate->GetTexture());
}

void cGame::RenderBriefing() {
    const cLevelInfo* l = campaign.Level(curlvl);
    if (!briefing || gamestate != GS_GAME || !l) return;
    if (tideSprite* plate = NeedSprite("summaryplate")) plate->Render(kPlateX, kPlateY);
    float left = kPlateX - kPlateW / 2 + kMargin, top = kPlateY - kPlateH / 2 + 30;
    float width = kPlateW - 2 * kMargin;
    if (tideFont* big = NeedFont("bannerfont")) {
        big->SetColor(0xFFFFE066);
        big->Render(kPlateX, top, TEXT_CENTER, l->title.c_str());
        big->SetColor(0xFFFFFFFF);
        top += big->GetHeight() + 14;
    }
    if (!fnt1) return;
    fnt1->printfb(left, top, width, 0, TEXT_LEFT, "%s", l->briefing.c_str());
    float bottom = kPlateY + kPlateH / 2 - 26 - fnt1->GetHeight();
    if (l->par > 0) fnt1->printf(left, bottom, TEXT_LEFT, "Par: %d turns", l->par);
    fnt1->SetColor(0xFFBFF4FF);
    fnt1->Render(kPlateX + kPlateW / 2 - kMargin, bottom, TEXT_RIGHT, "Enter: dive");
    fnt1->SetColor(0xFFFFFFFF);
}
