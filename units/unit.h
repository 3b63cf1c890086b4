// cUnit: a piece on the battle board. It keeps its combat values, its place
// on the board and its drawables, and plays one action out over several
// frames (a gliding one-cell move or a melee strike); ranged attacks hand the
// flight to a cProjectile.
#pragma once

#include "engine/tide.h"
#include "game/cell.h"
#include "game/config.h"

class tideAnimation;
class tideSprite;

const int state_idle = 0;
const int state_move = 1;
const int state_attack = 2;

// Seconds a one-cell move takes.
const float move_time = 3.0f;

// What a kind binds and sets in its constructor. Resource names are keys of
// the resource script; a null attack animation means a ranged kind.
struct cUnitKind {
    const char* idle;
    const char* move;
    const char* attack;
    const char* turn_on;
    const char* turn_off;
    const char* snd_move;
    const char* snd_attack;
    bool plcontrolled;
    int cellsize;
    bool melee;
    int ammotype;
    st_unitparam st_global::*param;
    const char* title;  // the kind's name as the unit panel shows it
};

class cUnit {
public:
    cUnit();
    virtual ~cUnit();

    cUnit(const cUnit&) = delete;
    cUnit& operator=(const cUnit&) = delete;

    virtual void render();
    // The health number over the unit while it stands idle. Drawn after
    // everything that may pass over the unit (the crosshair, the damage
    // preview), so nothing covers it.
    void RenderHealth() const;
    virtual void update(float dt);
    virtual bool Move(cCell* dest);
    // True when Move(dest) would be accepted now; changes nothing.
    bool CanMove(const cCell* dest) const;
    virtual void Shoot(cCell* dest);
    virtual void Stay() { actionpoint = 0; }
    virtual void GetDamage(int dmg);
    virtual void NextTurn() { actionpoint = 1; }
    virtual bool IsMedu() { return false; }

    void SetParam(st_unitparam par);
    void SetParent(cCell* p);
    cCell* GetParent() const { return parent; }
    int GetSize() const { return cellsize; }
    bool IsPlayerControlled() const { return plcontrolled; }
    float GetRange() const { return range; }
    int GetHealth() const { return health; }
    bool IsDead() const { return health <= 0; }
    void Select() { selected = true; }
    void Unselect() { selected = false; }
    bool IsSelect() const { return selected; }
    void SetPosition(int pos, int maxpos) {
        position = pos;
        maxposition = maxpos;
    }

    // The cells the unit covers when anchored at `anchor`, in the order
    // (x, y), (x+1, y), (x, y+1), (x+1, y+1); null for cells off the board.
    // Returns how many entries of `out` were written (1 or 4).
    int Footprint(const cCell* anchor, cCell* out[4]) const;
    // Clears the cells of the current footprint that point to this unit.
    void LeaveBoard();
    // Screen point the unit is drawn at and shoots from.
    tcellpos CentrePoint() const;
    // Screen point of the turn-order marker's hot spot.
    tcellpos MarkerPoint() const;

    int actionpoint = 1;
    tideAnimation* idle = nullptr;
    tideAnimation* move = nullptr;
    tideAnimation* attanim = nullptr;
    tideSprite* turn_on = nullptr;
    tideSprite* turn_off = nullptr;
    HEFFECT snd_move = 0;
    HEFFECT snd_attack = 0;
    bool plcontrolled = false;
    bool selected = false;
    int cellsize = 1;
    cCell* parent = nullptr;
    bool melee = false;
    int state = state_idle;
    float time = 0;
    cCell* start_point = nullptr;
    int ammotype = 0;
    int position = 0;
    int maxposition = 0;
    int health = 0;
    int armor = 0;
    int damage = 0;
    float range = 0;
    const char* title = "";

protected:
    // Binds the kind's resources and traits; every kind's constructor calls it.
    void Build(const cUnitKind& kind);

    Tide* tide;

private:
    tideAnimation* CopyAnimation(const char* name);
};
