// The enemy AI: attack the weakest player unit in range, otherwise step
// toward the nearest one, otherwise wait. Also the distance measure that
// decides ranges for both sides.
#include <cmath>
#include <cstdint>

#include "game/game.h"
#include "units/unit.h"

namespace {

const int kNoHealth = INT32_MAX;
const float kFar = 1e20f;

int Sign(int v) { return (v > 0) - (v < 0); }

float Distance(int ax, int ay, int bx, int by) {
    double dx = ax - bx, dy = ay - by;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

}  // namespace

void cGame::AIMove() {
    cUnit* u = selunit;
    if (!u) return;
    if (cUnit* target = AIFindPriorityTarget(u)) {
        tide->System_Log("i can shoot!!!");
        u->Shoot(target->GetParent());
    } else if (turn <= 2 && u->IsMedu()) {
        // Medusae hold back during the first two turns of a level.
        u->Stay();
    } else {
        // A refused step spends the action all the same, and the unit's
        // turn mark must say so.
        cCell* cell = AIFindCellToMove(u);
        if (!cell || !u->Move(cell)) u->Stay();
    }
    NextStep();
}

cUnit* cGame::AIFindPriorityTarget(cUnit* u) {
    int best = kNoHealth;
    cUnit* target = nullptr;
    for (cUnit* p : units) {
        if (!p->IsPlayerControlled()) continue;
        if (!(UnitDistance(u, p) <= u->GetRange())) continue;
        if (p->GetHealth() < best) {
            best = p->GetHealth();
            target = p;
        }
    }
    return target;
}

cCell* cGame::AIFindCellToMove(cUnit* u) {
    cUnit* nearest = nullptr;
    float min = kFar;
    for (cUnit* p : units) {
        if (!p->IsPlayerControlled()) continue;
        float d = UnitDistance(p, u);
        if (d < min) {
            nearest = p;
            min = d;
        }
    }
    if (!nearest || !nearest->GetParent() || !u->GetParent()) return nullptr;
    const cCell* from = u->GetParent();
    const cCell* to = nearest->GetParent();
    int dx = Sign(to->GetX() - from->GetX());
    int dy = Sign(to->GetY() - from->GetY());
    if (dx == 0 && dy == 0) return nullptr;
    return GetCell(tcellpos(from->GetX() + dx, from->GetY() + dy));
}

float cGame::UnitDistance(cUnit* a, cUnit* b) {
    if (a == b) return 0;
    const cCell* pa = a->GetParent();
    const cCell* pb = b->GetParent();
    if (!pa || !pb) return 0;
    int sa = a->GetSize(), sb = b->GetSize();
    if (sa + sb < 2 || sa + sb > 4 || sa < 1 || sb < 1) return 0;
    // Every cell of one footprint against every cell of the other; the
    // first of equal minima is kept.
    float best = kFar;
    for (int j = 0; j < sa * sa; ++j) {
        for (int l = 0; l < sb * sb; ++l) {
            float d = Distance(pa->GetX() + j % sa, pa->GetY() + j / sa, pb->GetX() + l % sb,
                               pb->GetY() + l / sb);
            if (d < best) best = d;
        }
    }
    return best;
}

float cGame::CellDistance(cCell* a, cCell* b) {
    if (!a || !b) return 0;
    return Distance(a->GetX(), a->GetY(), b->GetX(), b->GetY());
}
