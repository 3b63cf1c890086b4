#include "game/board_info.h"

#include <algorithm>

#include "game/game.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace boardinfo {

bool OnPlayfield(tcellpos c) {
    return c.first >= 1 && c.first <= 14 && c.second >= 1 && c.second <= 9;
}

std::vector<cCell*> MoveTargets(cGame& g, const cUnit* u) {
    std::vector<cCell*> out;
    const cCell* p = u ? u->GetParent() : nullptr;
    if (!p) return out;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            cCell* c = g.GetCell(tcellpos(p->GetX() + dx, p->GetY() + dy));
            if (c && u->CanMove(c)) out.push_back(c);
        }
    return out;
}

std::vector<cCell*> StepCells(cGame& g, const cUnit* u) {
    std::vector<cCell*> out;
    for (cCell* anchor : MoveTargets(g, u)) {
        cCell* fp[4];
        int n = u->Footprint(anchor, fp);
        for (int i = 0; i < n; ++i)
            if (fp[i] && fp[i]->GetUnit() != u) out.push_back(fp[i]);
    }
    auto rowOrder = [](const cCell* a, const cCell* b) {
        return a->GetY() != b->GetY() ? a->GetY() < b->GetY() : a->GetX() < b->GetX();
    };
    std::sort(out.begin(), out.end(), rowOrder);
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool InReach(cGame& g, cUnit* a, cUnit* t) {
    return a && t && t->IsPlayerControlled() != a->IsPlayerControlled() &&
           g.UnitDistance(a, t) <= a->GetRange();
}

int AttackDamage(const cUnit* a, const cUnit* t) {
    return a && t ? battle::AttackDamage(a->Data(), t->Data()) : 0;
}

}  // namespace boardinfo
