// Turn order: every unit acts once per turn, in an order drawn anew each turn.
#include <vector>

#include "game/game.h"
#include "units/unit.h"

void cGame::NextStep() {
    step += 1;
    if (step >= units.size()) NextTurn();
    SelectUnit(static_cast<int>(step));
}

void cGame::NextTurn() {
    turn += 1;
    step = 0;
    tide->Random_Seed(0);

    // Each position draws source indices until one not taken yet comes up.
    const int n = static_cast<int>(units.size());
    std::vector<bool> taken(units.size(), false);
    std::vector<cUnit*> order;
    order.reserve(units.size());
    for (int i = 0; i < n; ++i) {
        int src;
        do {
            src = tide->Random_Int(0, n - 1);
        } while (src < 0 || src >= n || taken[src]);
        taken[src] = true;
        order.push_back(units[src]);
    }
    units.swap(order);

    PlaceTurnMarkers();
    for (cUnit* u : units) u->NextTurn();
    SelectUnit(0);
}

void cGame::PlaceTurnMarkers() {
    const int n = static_cast<int>(units.size());
    for (int k = 0; k < n; ++k) units[k]->SetPosition(k, n);
}

void cGame::SelectUnit(int i) {
    if (selunit) {
        selunit->Unselect();
        selunit = nullptr;
    }
    // An empty board (or a stale index) leaves nobody acting.
    if (i < 0 || static_cast<std::size_t>(i) >= units.size()) return;
    selunit = units[i];
    selunit->Select();
    selcell = selunit->GetParent();
}
