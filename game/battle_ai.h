// The computer's first opponent, on the battle state: attack the weakest
// player unit in range; otherwise step toward the nearest one (a unit that
// waits holds back for its first turns); otherwise stay. No lookahead and no
// memory between steps.
#pragma once

#include "battle/battle_rules.h"

namespace battle {

// The player unit `u` should attack: the weakest in range, the earliest in
// the acting order among equals; null when none is in range.
const BattleUnit* PriorityTarget(const BattleState& s, const BattleUnit& u);
// The player unit nearest to `u`, the earliest in the acting order among
// equals; null when there is none.
const BattleUnit* NearestEnemy(const BattleState& s, const BattleUnit& u);
// The anchor one step (straight or diagonal) from `u` toward the nearest
// player unit, whether or not it may be entered; false when there is no one
// to approach or `u` already shares its anchor's row and column.
bool CellToMove(const BattleState& s, const BattleUnit& u, tcellpos& out);
// The acting unit's whole decision, always Legal: a step it may not take
// becomes Stay.
Action EasyAction(const BattleState& s);

}  // namespace battle
