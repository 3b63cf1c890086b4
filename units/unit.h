// cUnit: a piece on the battle board as the player sees it. What the unit is
// (its kind, place, health and the rest the rules read) lives in its record in
// a battle state; the cUnit draws it, glides it from cell to cell, plays its
// strike and sounds, and reports hits to the game. Its Move, Shoot, Stay and
// GetDamage run the battle's rules on that state and show what they did.
#pragma once

#include <memory>
#include <ostream>

#include "battle/battle_rules.h"
#include "battle/cell.h"
#include "engine/tide.h"
#include "units/unit_host.h"
#include "units/unit_param.h"

class tideAnimation;
class tideSprite;
class cUnit;
struct cUnitKind;

const int state_idle = 0;
const int state_move = 1;
const int state_attack = 2;

// Seconds a one-cell move takes.
const float move_time = 3.0f;

// One of the unit's values as the game's design names them (`u->health`),
// read from and written to the unit's record in its battle state.
template <class T, T BattleUnit::*M>
class cUnitValue {
public:
    explicit cUnitValue(const cUnit* u) : u(u) {}
    cUnitValue(const cUnitValue&) = delete;
    cUnitValue& operator=(const cUnitValue& o) { return *this = static_cast<T>(o); }
    operator T() const;
    cUnitValue& operator=(T v);

private:
    const cUnit* u;
};

class cUnit {
public:
    // `host`: the battle the unit is shown in; null for a unit with no board,
    // drawn with nothing and heard by no one.
    explicit cUnit(cUnitHost* host);
    virtual ~cUnit();

    cUnit(const cUnit&) = delete;
    cUnit& operator=(const cUnit&) = delete;

    virtual void render();
    // The unit's slot in the turn-order bar: drawn with the battle's steady
    // layer, which changes only when the order or the action points do.
    void RenderMarker() const;
    // The health number over the unit while it stands idle. Drawn after
    // everything that may pass over the unit (the crosshair, the damage
    // preview), so nothing covers it.
    void RenderHealth() const;
    virtual void update(float dt);
    virtual bool Move(cCell* dest);
    // True when Move(dest) would be accepted now; changes nothing.
    bool CanMove(const cCell* dest) const;
    virtual void Shoot(cCell* dest);
    virtual void Stay();
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

    // The unit's record. A unit made on its own keeps it in a battle of its
    // own; Bind moves the view onto a unit of another state.
    BattleUnit& Data() const;
    BattleState& Battle() const { return *battle; }
    int Id() const { return id; }
    void Bind(BattleState* s, int unitId);
    cUnitHost* Host() const { return host; }

    // Shows what the rules did for this unit's action (`target`: the
    // attacked unit's view): the glide, the strike, the projectile, sounds.
    void Show(const battle::Effect& e, cUnit* target);
    // A projectile of `dmg` lands on this unit.
    void TakeShot(int dmg);

    // The cells the unit covers when anchored at `anchor`, in the order
    // (x, y), (x+1, y), (x, y+1), (x+1, y+1); null for cells off the board.
    // Returns how many entries of `out` were written (1 or 4).
    int Footprint(const cCell* anchor, cCell* out[4]) const;
    // Clears the cells of the current footprint that point to this unit.
    void LeaveBoard();
    // Screen point the unit is drawn at and shoots from.
    tcellpos CentrePoint() const;
    // Where the unit is drawn this frame: its centre point, or between two
    // cells while it glides from one to the other.
    void DrawnPoint(float* x, float* y) const;
    bool Gliding() const { return state == state_move && start_point && parent; }
    // Screen point of the turn-order marker's hot spot.
    tcellpos MarkerPoint() const;

    // The rules' values, in the unit's record.
    cUnitValue<int, &BattleUnit::actionpoint> actionpoint{this};
    cUnitValue<bool, &BattleUnit::player> plcontrolled{this};
    cUnitValue<int, &BattleUnit::size> cellsize{this};
    cUnitValue<bool, &BattleUnit::melee> melee{this};
    cUnitValue<int, &BattleUnit::ammo> ammotype{this};
    cUnitValue<int, &BattleUnit::health> health{this};
    cUnitValue<int, &BattleUnit::armor> armor{this};
    cUnitValue<int, &BattleUnit::damage> damage{this};
    cUnitValue<float, &BattleUnit::range> range{this};

    // What is only shown.
    tideAnimation* idle = nullptr;
    tideAnimation* move = nullptr;
    tideAnimation* attanim = nullptr;
    tideSprite* turn_on = nullptr;
    tideSprite* turn_off = nullptr;
    HEFFECT snd_move = 0;
    HEFFECT snd_attack = 0;
    bool selected = false;
    cCell* parent = nullptr;
    int state = state_idle;
    float time = 0;
    cCell* start_point = nullptr;
    int position = 0;
    int maxposition = 0;
    const char* title = "";

protected:
    // Binds the kind's resources and traits; every kind's constructor calls it.
    void Build(const cUnitKind& kind);

    Tide* tide;

private:
    cUnitHost* host;
    tideAnimation* CopyAnimation(const char* name);
    cCell* BoardCell(int x, int y) const;
    void ActionStarted();  // play waits for this unit's action...
    void ActionEnded();    // ... until it has played out
    void Sound(HEFFECT snd);
    void ShowHit(int lost, bool killed);

    BattleState* battle;
    std::unique_ptr<BattleState> solo;  // the battle of a unit made on its own
    int id = 0;
    mutable std::size_t hint = 0;   // where the record was last found
    mutable BattleUnit orphan;      // stands in once the record is gone
};

template <class T, T BattleUnit::*M>
cUnitValue<T, M>::operator T() const {
    return u->Data().*M;
}

template <class T, T BattleUnit::*M>
cUnitValue<T, M>& cUnitValue<T, M>::operator=(T v) {
    u->Data().*M = v;
    return *this;
}

template <class T, T BattleUnit::*M>
std::ostream& operator<<(std::ostream& o, const cUnitValue<T, M>& v) {
    return o << static_cast<T>(v);
}
