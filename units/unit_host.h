// What a unit needs of the battle it is shown in, and what it tells it: the
// board's cells, the resources it is drawn and heard with, holding play back
// while its action plays out, the shot it fires, and what befalls it. The game
// implements it and hands it to each unit it makes; units know nothing else
// of the game.
#pragma once

#include "engine/tide.h"

class cCell;
class cProjectile;
class cUnit;
class tideAnimation;
class tideFont;
class tideSprite;

class cUnitHost {
public:
    // The board cell at column x, row y; null off the board.
    virtual cCell* Cell(int x, int y) = 0;

    // Resources by their names in the resource script; null (0 for a sound)
    // when there is none. Animations are shared: a unit plays its own copy.
    virtual tideAnimation* Animation(const char* name) = 0;
    virtual tideSprite* Sprite(const char* name) = 0;
    virtual HEFFECT Effect(const char* name) = 0;
    // The battle font (health numbers).
    virtual tideFont* Font() = 0;

    // An action on screen (a glide, a strike, a shot in flight) holds play
    // back from its start to its end; each start is ended exactly once.
    virtual void ActionStarted() = 0;
    virtual void ActionEnded() = 0;
    // A shot is fired: the host owns `p` from now on, updates and draws it.
    virtual void ShotFired(cProjectile* p) = 0;
    // `u` lost `lost` health to a hit (0 when its armor took it all);
    // `killed`: the hit left it dead.
    virtual void UnitHit(const cUnit& u, int lost, bool killed) = 0;
    virtual void UnitSound(HEFFECT snd) = 0;

protected:
    ~cUnitHost() = default;
};
