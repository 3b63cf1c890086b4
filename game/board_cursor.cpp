// The board cursor: keys and a gamepad point at the board as the mouse does.
// The cursor is the game's pointer itself, moved cell by cell, so whatever a
// pointer there shows (highlight, tint, damage, the unit's panel) shows for
// the cursor too, Enter does exactly what a click there would, and moving
// the mouse simply points elsewhere: arrows take over from the pointed cell.
// While keys or a pad are in use a frame marks the cell instead of the
// pointer sprite.
#include "game/board_info.h"
#include "game/game.h"
#include "gui/gui.h"
#include "units/unit.h"

namespace {

bool KeysPlay(Tide* tide) {
    const tideDevice d = tide->Input_GetDevice();
    return d == TIDE_DEVICE_KEYBOARD || d == TIDE_DEVICE_GAMEPAD;
}

tcellpos Centre(tcellpos cell) { return tcellpos(cell.first * 64 + 32, cell.second * 64 + 32); }

// The cell a unit stands on (its top-left one).
tcellpos CellOf(const cUnit* u, tcellpos otherwise) {
    const cCell* c = u ? u->GetParent() : nullptr;
    return c ? tcellpos(c->GetX(), c->GetY()) : otherwise;
}

}  // namespace

void cGame::PointAtCell(tcellpos cell) {
    const tcellpos p = Centre(cell);
    tide->Input_SetMousePos(static_cast<float>(p.first), static_cast<float>(p.second));
    tide->Input_GetMousePos(&mx, &my);
}

bool cGame::CursorConfirms() {
    // A new unit to act starts the cursor on itself.
    if (selunit != cursorunit) {
        cursorunit = selunit;
        if (selunit && KeysPlay(tide)) PointAtCell(CellOf(selunit, CursorCell()));
    }
    const int key = tideNavKey(tide->Input_GetKey());
    tcellpos at = CursorCell();
    switch (key) {
    case TIDEK_LEFT: at.first--; break;
    case TIDEK_RIGHT: at.first++; break;
    case TIDEK_UP: at.second--; break;
    case TIDEK_DOWN: at.second++; break;
    case TIDEK_TAB:
    case TIDEK_PAD_LB:
    case TIDEK_PAD_RB:
        if (tide->Input_KeyDown(tide->Input_GetKey())) {
            const bool back = key == TIDEK_PAD_LB || tide->Input_GetKeyState(TIDEK_SHIFT);
            if (cUnit* t = NextInReach(back)) PointAtCell(CellOf(t, at));
        }
        return false;
    case TIDEK_ENTER:
        return tide->Input_KeyDown(tide->Input_GetKey());
    default:
        return false;
    }
    if (boardinfo::OnPlayfield(at)) PointAtCell(at);
    return false;
}

tcellpos cGame::CursorCell() { return screenToCell(static_cast<int>(mx), static_cast<int>(my)); }

cUnit* cGame::NextInReach(bool back) {
    std::vector<cUnit*> reach;
    for (cUnit* u : units)
        if (boardinfo::InReach(*this, selunit, u)) reach.push_back(u);
    if (reach.empty()) return nullptr;
    const cCell* here = GetCell(CursorCell());
    const cUnit* current = here ? here->GetUnit() : nullptr;
    const int n = static_cast<int>(reach.size());
    int at = -1;
    for (int i = 0; i < n; ++i)
        if (reach[static_cast<size_t>(i)] == current) at = i;
    const int next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? n - 1 : 1)) % n;
    return reach[static_cast<size_t>(next)];
}

bool cGame::RenderBoardCursor() {
    if (!KeysPlay(tide)) return false;
    const tcellpos cell = CursorCell();
    if (!boardinfo::OnPlayfield(cell)) return true;
    // A gold frame just inside the cell's edges, over the highlight.
    const float x = cell.first * 64.0f, y = cell.second * 64.0f;
    tideGUIObject::RenderFocusFrame(tideRect(x + 2, y + 2, x + 62, y + 62), 0xF0FFD24A);
    return true;
}
