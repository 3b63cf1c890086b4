// The enemy AI on screen: the acting computer unit's decision comes from the
// battle state, by the battle's difficulty (ai_choose.cpp), and is played like
// any action. Also the
// distance measure that decides ranges for both sides.
#include <cmath>

#include "game/ai_choose.h"
#include "game/battle_ai.h"
#include "game/game.h"
#include "units/unit.h"

void cGame::AIMove() {
    if (!selunit) return;
    battle::Action a = battle::AIChoose(battle);
    if (a.kind == battle::Action::Attack) tide->System_Log("i can shoot!!!");
    // The step passes on whatever happens.
    if (!Perform(a)) NextStep();
}

cUnit* cGame::AIFindPriorityTarget(cUnit* u) {
    const BattleUnit* t = u ? battle::PriorityTarget(battle, u->Data()) : nullptr;
    return t ? ViewOf(t->id) : nullptr;
}

cCell* cGame::AIFindCellToMove(cUnit* u) {
    tcellpos c;
    return u && battle::CellToMove(battle, u->Data(), c) ? GetCell(c) : nullptr;
}

float cGame::UnitDistance(cUnit* a, cUnit* b) {
    if (a == b) return 0;
    return battle::UnitDistance(a->Data(), b->Data());
}

float cGame::CellDistance(cCell* a, cCell* b) {
    if (!a || !b) return 0;
    double dx = a->GetX() - b->GetX(), dy = a->GetY() - b->GetY();
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}
