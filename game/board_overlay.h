// The battle's information layer: what the acting unit can do (move tint,
// enemies in reach, damage preview), the unit panels, the turn-order bar's
// marks and the turn counter. Everything sits on cells the unit may enter,
// at the edges of cells, or off the playable board, so no unit is hidden.
#pragma once

class cGame;
class cUnit;
class tideSprite;

namespace boardview {

// The acting unit is the player's and may act now.
bool PlayerMayAct(const cGame& g);
// Drawn over the grid, under the pointer box and the units.
void RenderUnderUnits(cGame& g);
// Drawn over the units and the projectile, under the cursor. `hover` is the
// unit under the pointer on the playable board, or null.
void RenderOverUnits(cGame& g, cUnit* hover);
// The pointer over an enemy the acting unit cannot reach.
tideSprite* OutOfRangeCursor();

}  // namespace boardview
