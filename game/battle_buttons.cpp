// The battle's buttons, for a mouse and above all for a finger, which has no
// keys: Undo left of the turn shelf, Pass right of it, Menu (the options) in
// the top right corner. All lie off the playable board. Pass and Menu act
// only while the player's unit may act, so a tap never lands in the
// creatures' turn or an action playing out; a pass is taken back by Undo like
// any action. They are drawn with the steady layer: each look changes only
// with the battle and the pointer.
#include <iterator>

#include "game/board_overlay.h"
#include "game/game.h"
#include "gfx/sprite.h"

namespace {

struct ButtonLook {
    const char* sprite;
    const char* over;
    float x, y, w, h;  // top-left corner and size
};

// In the order of cGame::BattleButton.
const ButtonLook kButtons[] = {
    {"undo", "undoover", 8, 680, 96, 40},
    {"pass", "passover", 920, 680, 96, 40},
    {"menu", "menuover", 956, 12, 64, 40},
};

}  // namespace

cGame::BattleButton cGame::BattleButtonAt(float x, float y) const {
    for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
        const ButtonLook& b = kButtons[i];
        if (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h) return static_cast<BattleButton>(i);
    }
    return BattleButton::None;
}

bool cGame::BattleButtonLive(BattleButton b) const {
    // Undo takes a press at any time: it says why when there is nothing to
    // take back, and waits for an action playing out.
    return b == BattleButton::Undo ? !undo.empty() : boardview::PlayerMayAct(*this);
}

bool cGame::UpdateBattleButtons() {
    if (!tide->Input_KeyDown(TIDEK_LBUTTON)) return false;
    const BattleButton b = BattleButtonAt(mx, my);
    if (b == BattleButton::None) return false;
    // The finger's last tap on the board no longer waits to be confirmed.
    touchshown = false;
    if (b == BattleButton::Undo) {
        RequestUndo();
    } else if (BattleButtonLive(b)) {
        if (b == BattleButton::Pass) {
            Perform(battle::Action::StayPut());
        } else {
            OpenOptions();
        }
    }
    return true;
}

void cGame::RenderBattleButtons() {
    if (banner != BANNER_NONE) return;
    // A finger leaves the pointer where it was: no hover look for it.
    const BattleButton pointed = PointerShown() ? BattleButtonAt(mx, my) : BattleButton::None;
    for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
        const ButtonLook& look = kButtons[i];
        const auto b = static_cast<BattleButton>(i);
        const bool live = BattleButtonLive(b);
        if (tideSprite* s = NeedSprite(live && b == pointed ? look.over : look.sprite)) {
            // Faded while it would do nothing.
            s->SetColor(live ? 0xFFFFFFFF : 0xA0FFFFFF);
            s->Render(look.x, look.y);
            s->SetColor(0xFFFFFFFF);
        }
    }
}
