// cProjectile: a ranged attack in flight, as the player sees it. It flies in
// a straight line from the shooter to its target at a fixed speed and lands
// the battle's pending hit on arrival. Play waits for as long as it exists;
// it flies in the battle its target is shown in (the target's host).
#pragma once

#include "battle/cell.h"
#include "engine/tide.h"

class cUnit;
class cUnitHost;
class tideSprite;

class cProjectile {
public:
    // type: 0 arrow, 1 torpedo, 2 spike; any other value an arrow of damage 1.
    cProjectile(int type, tcellpos _st, tcellpos _dest, cUnit* _target);
    ~cProjectile();

    cProjectile(const cProjectile&) = delete;
    cProjectile& operator=(const cProjectile&) = delete;

    // Damage a projectile of `type` deals on arrival, before armor; `sprite`
    // (when not null) receives the name of the sprite it is drawn with.
    static int Ammo(int type, const char** sprite = nullptr);

    void update(float dt);
    void render();
    bool IsDead() const { return dead; }

    cUnit* target;
    int dmg = 1;
    bool dead = false;
    float time = 0;
    float ftime = 0;
    tcellpos start;
    tcellpos dest;
    float angle = 0;
    tideSprite* spr = nullptr;

private:
    Tide* tide;
    cUnitHost* host;
};
