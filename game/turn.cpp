// Turn order: every unit acts once per turn, in an order drawn anew each turn
// from the battle's own dice (the rules in battle_rules.cpp); here the views
// follow.
#include "game/game.h"
#include "units/unit.h"

void cGame::NextStep() {
    battle::NextStep(battle);
    SyncViews();
    SelectUnit(static_cast<int>(step));
}

void cGame::NextTurn() {
    battle::NextTurn(battle);
    SyncViews();
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
