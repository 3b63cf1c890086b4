// The battle's information layer: what the acting unit can do (move tint,
// enemies in reach, damage preview), where the enemies could strike (threat
// view), the unit panels, the turn-order bar's marks and the turn counter. Everything sits on cells the unit may enter,
// at the edges of cells, or off the playable board, so no unit is hidden.
#pragma once

#include <vector>

#include "battle/cell.h"

class cGame;
class cUnit;
class tideSprite;

namespace boardview {

// The acting unit is the player's and may act now.
bool PlayerMayAct(const cGame& g);
// The threat view: the cells the computer's units could strike before they
// act twice (from where they stand or one step away): every one of them
// while `T` is held, else the one under the pointer. The hatched cells.
std::vector<tcellpos> ThreatenedCells(cGame& g, const cUnit* hover);
// Drawn over the grid, under the pointer box and the units. `hover` is the
// unit under the pointer on the playable board, or null.
void RenderUnderUnits(cGame& g, cUnit* hover);
// The damage preview: drawn over the units and the projectile, under the
// cursor. `hover` is the unit under the pointer on the playable board, or null.
void RenderOverUnits(cGame& g, cUnit* hover);
// The unit panels in the surface strip and the turn bar's marks and texts in
// the shelf: off the playable board, so drawn with the board's steady layer
// under the units.
void RenderPanels(cGame& g, cUnit* hover);
// The pointer over an enemy the acting unit cannot reach.
tideSprite* OutOfRangeCursor();

}  // namespace boardview
