// The 16 by 12 board: cell lookup and the conversions between screen pixels
// and board coordinates.
#include "game/game.h"
#include "units/unit.h"

namespace {

// Board origin and pitch on screen: x origin, column pitch, y origin, row pitch.
const int c1 = 0;
const int c2 = 64;
const int c3 = 0;
const int c4 = 64;

}  // namespace

cCell* cGame::GetCell(tcellpos p) {
    if (p.first < 0 || p.first >= gridw || p.second < 0 || p.second >= gridh) return nullptr;
    std::size_t i = static_cast<std::size_t>(p.first + p.second * gridw);
    return i < cells.size() ? &cells[i] : nullptr;
}

tcellpos cGame::screenToCell(int sx, int sy) {
    return tcellpos((sx - c1) / c2, (sy - c3) / c4);
}

tcellpos cGame::cellToScreen(int cx, int cy) {
    return tcellpos(c1 + cx * c2 + c2 / 2, c3 + cy * c4 + c4 / 2);
}

bool cGame::UnitToCell(cUnit* u, int x, int y) {
    cCell* c = GetCell(tcellpos(x, y));
    return c && c->NoUnit() && c->AddUnit(u);
}

bool cGame::MoveToCell(int x1, int y1, int x2, int y2) {
    cCell* from = GetCell(tcellpos(x1, y1));
    cCell* to = GetCell(tcellpos(x2, y2));
    if (!from || !to || from->NoUnit() || !to->NoUnit()) return false;
    cUnit* u = from->GetUnit();
    from->RemUnit();
    to->AddUnit(u);
    u->Move(to);
    return true;
}
