// What the board tells the player about the acting unit: where it may step,
// which enemies it reaches and what an attack would do. The drawing and the
// player's clicks ask the same questions here, so they never disagree.
#pragma once

#include <vector>

#include "battle/cell.h"

class cGame;
class cUnit;

namespace boardinfo {

// The playable board, where units stand and the pointer box is drawn:
// columns 1 to 14, rows 1 to 9.
bool OnPlayfield(tcellpos c);

// The anchor cells `u`'s Move accepts now, in row order.
std::vector<cCell*> MoveTargets(cGame& g, const cUnit* u);

// The cells a step would bring `u` onto, the cells it stands on excluded:
// the move targets themselves for a single cell unit, every cell of the
// accepted blocks for a 2x2 one. In row order, each cell once.
std::vector<cCell*> StepCells(cGame& g, const cUnit* u);

// True when `t` is an enemy of `a` within `a`'s range: a click on it attacks.
bool InReach(cGame& g, cUnit* a, cUnit* t);

// The health `t` loses when `a` attacks it: the strike's or projectile's
// damage less `t`'s armor, never below 0.
int AttackDamage(const cUnit* a, const cUnit* t);

}  // namespace boardinfo
