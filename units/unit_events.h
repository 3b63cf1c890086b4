// How units tell the game what to show and play, so that they need not know
// the game itself.
#pragma once

#include "engine/tide.h"

class cUnit;

class cUnitEvents {
public:
    // `u` lost `lost` health to a hit (0 when its armor took it all);
    // `killed`: the hit left it dead.
    virtual void UnitHit(const cUnit& u, int lost, bool killed) = 0;
    virtual void UnitSound(HEFFECT snd) = 0;

protected:
    ~cUnitEvents() = default;
};
