// The battle's rules, as functions on the battle state. The game calls them as
// the battle plays out on screen (an action now, its projectile's hit when it
// lands, the dead at the start of the next frame); the AI's lookahead and
// headless bot games call Resolve, which runs the very same functions at once.
#pragma once

#include <vector>

#include "battle/battle_state.h"
#include "battle/cell.h"

namespace battle {

// One decision of the acting unit.
struct Action {
    enum Kind { Stay, Move, Attack };
    Kind kind = Stay;
    int x = 0, y = 0;  // Move: the anchor cell to step to
    int target = 0;    // Attack: the target's id

    static Action StayPut() { return {}; }
    static Action MoveTo(int x, int y) { return {Move, x, y, 0}; }
    static Action AttackUnit(int id) { return {Attack, 0, 0, id}; }
    bool operator==(const Action&) const = default;
};

// What an action did, for whoever shows it.
struct Effect {
    Action action;
    int actor = 0;           // the unit that acted
    int fromX = 0, fromY = 0;  // its anchor before a move
    bool fired = false;      // a ranged attack: the hit is pending until LandHit
    int lost = 0;            // a melee strike: health the target lost
    bool killed = false;     // a melee strike left the target dead
};

// Lookups. Pointers stay valid until the state's units change.
int IndexOf(const BattleState& s, int id);  // -1 when it is gone
const BattleUnit* Find(const BattleState& s, int id);
BattleUnit* Find(BattleState& s, int id);
const BattleUnit* Acting(const BattleState& s);  // null when nobody acts
// The unit covering cell (x, y), or null.
const BattleUnit* UnitAt(const BattleState& s, int x, int y);
bool Covers(const BattleUnit& u, int x, int y);

// The playable board, where every footprint must stay: columns 1 to 14,
// rows 1 to 9.
bool OnPlayfield(int x, int y);
// True when `u` may step with its anchor onto (x, y): one step, diagonals
// included, its whole footprint on the playable board and clear of other
// units (its own cells count as free).
bool CanMove(const BattleState& s, const BattleUnit& u, int x, int y);
// The anchors CanMove accepts, in row order.
std::vector<tcellpos> MoveTargets(const BattleState& s, const BattleUnit& u);
// Shortest distance in cells between any cell of one and any cell of the other.
float UnitDistance(const BattleUnit& a, const BattleUnit& b);
// `t` is an enemy of `a` within its range.
bool InReach(const BattleUnit& a, const BattleUnit& t);
// Health `t` loses when `a` attacks it: the strike's or the shot's damage
// less `t`'s armor, never below 0.
int AttackDamage(const BattleUnit& a, const BattleUnit& t);

// True when the acting unit may take `a` now: it is alive, nothing is
// pending, the battle is not over, a move CanMove accepts, an attack is on a
// living enemy InReach.
bool Legal(const BattleState& s, const Action& a);
// Every legal action of the acting unit: Stay first, then moves in row
// order, then attacks in acting order.
std::vector<Action> LegalActions(const BattleState& s);

// The unit `id` takes `a`, spending its action point, with no test of whose
// turn it is or of range (as the units' own Move and Shoot): a move refused by
// CanMove returns false and changes nothing; a melee strike deals its damage
// at once; a ranged attack leaves the hit pending.
bool Apply(BattleState& s, int id, const Action& a, Effect* e = nullptr);
// `id` takes a hit of `dmg` through its armor; returns the health lost.
int Damage(BattleState& s, int id, int dmg);
// The hit of a projectile of `dmg` arrives at `target`, ending the pending
// shot; returns the health lost.
int LandHit(BattleState& s, int target, int dmg);
void LandHit(BattleState& s);  // the pending shot, if any

// The turn machine: the next unit acts; after the last one a new turn draws
// a fresh order from the state's dice and gives everyone an action point.
void NextStep(BattleState& s);
void NextTurn(BattleState& s);

struct Removal {
    int player = 0, computer = 0;  // units removed
    bool actingGone = false;       // the acting unit was among them
};
// Removes the dead, keeping every living unit's one step per turn (an acting
// unit removed passes the action to the unit that takes its place), and
// decides the outcome.
Removal RemoveDead(BattleState& s);

// The acting unit takes `a` and the action passes on; false (nothing
// changed) when it is not Legal.
bool Act(BattleState& s, const Action& a, Effect* e = nullptr);
// Act, then land the hit and remove the dead: the battle as the next
// decision finds it.
bool Resolve(BattleState& s, const Action& a);

}  // namespace battle
