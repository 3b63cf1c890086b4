// What a side weighs when one of its units acts, on the battle state: where
// the unit may stand (the damage it could deal from there against the damage
// it could take there, how far it still has to go) and whom it strikes. The
// computer's Normal and Hard opponents and the strongest player bot are this
// one judgement with different weights (game/ai_choose.h, game/ai_bots.h).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "battle/battle_rules.h"

namespace battle {

// How much each consideration counts. Damage is counted in health points.
struct Tactics {
    // Damage the unit could deal with its next action from where it stands.
    float offence = 1.0f;
    // Damage it could take there before it acts again, shared among the
    // side's units at the front (each enemy strikes one unit at a time).
    float risk = 1.0f;
    // The share of that weight left once two thirds of the side stand at
    // the front: the pack closes in together.
    float packRisk = 0.1f;
    // Extra weight when that damage could finish it: its threat, counted
    // this many times.
    float death = 3.0f;
    // Per step still to go before it reaches an enemy: `approach` at first,
    // growing by `urge` a turn after `patience` turns, so that holding back
    // never lasts.
    float approach = 0.6f;
    float urge = 0.5f;
    int patience = 5;
    // From this turn on the side stops weighing its own risk and closes in
    // whatever it costs: no battle waits forever.
    int charge = 16;
    // A unit with an enemy in reach strikes; otherwise it may also step away.
    bool strikeInReach = true;
};

// The weights as they stand in the state's turn: the pull grown, the risk
// dropped once the side charges.
Tactics InTurn(const Tactics& t, int turn);

// Cells of the 16x12 board.
class CellSet {
public:
    bool Has(int x, int y) const { return In(x, y) && (bits[Word(x, y)] >> Bit(x, y)) & 1u; }
    void Add(int x, int y) {
        if (In(x, y)) bits[Word(x, y)] |= 1ull << Bit(x, y);
    }
    CellSet& operator|=(const CellSet& o) {
        for (int i = 0; i < kWords; ++i) bits[i] |= o.bits[i];
        return *this;
    }
    bool Empty() const {
        for (uint64_t b : bits)
            if (b) return false;
        return true;
    }
    static constexpr int kW = 16, kH = 12;

private:
    static constexpr int kWords = (kW * kH + 63) / 64;
    static bool In(int x, int y) { return x >= 0 && y >= 0 && x < kW && y < kH; }
    static int Word(int x, int y) { return (y * kW + x) / 64; }
    static int Bit(int x, int y) { return (y * kW + x) % 64; }
    uint64_t bits[kWords] = {};
};

// The cells on the playable board `u` could strike before it acts twice:
// within its reach from where it stands or from one step away (its step plus
// its reach). What the threat view shows.
CellSet ThreatCells(const BattleState& s, const BattleUnit& u);

// True when `e` could strike a unit of `size` anchored at (x, y) before it
// acts twice: from where it stands or after one step.
bool Threatens(const BattleUnit& e, int x, int y, int size);

// What a decision looks up again and again, worked out once for a state:
// each unit's threat (its effective damage per action against the other
// side, on average: what its death is worth to that side), how many of the
// other side stand at its front, one step from its danger, and whether each
// side has gathered there.
class Survey {
public:
    explicit Survey(const BattleState& s);
    const BattleState& state;
    float Threat(const BattleUnit& u) const { return threat[Index(u)]; }
    // Units of `e`'s enemies that share its blows when `u` stands at (x, y):
    // `u` and those at its front besides `u`.
    int Sharing(const BattleUnit& e, const BattleUnit& u) const;
    // Two thirds of the side (`player`'s or the computer's) stand at the
    // front of an enemy or within its reach.
    bool PackReady(bool player) const { return ready[player]; }

private:
    std::size_t Index(const BattleUnit& u) const {
        return static_cast<std::size_t>(&u - state.units.data());
    }
    std::vector<float> threat;
    std::vector<int> front;
    bool ready[2] = {false, false};
};

// The enemy `u` should strike now, or null when none in reach is worth a
// blow: one it can finish first, then one its side can finish together,
// then the most damage on the most dangerous.
const BattleUnit* BestTarget(const Survey& v, const BattleUnit& u);

// Steps from each anchor of `u` to the nearest anchor from which it reaches
// an enemy, going around enemies (friends slow the way, as they may not have
// moved yet); kUnreachable where there is no way. Indexed y * 16 + x.
const int kUnreachable = 1 << 20;
using Field = std::array<int, CellSet::kW * CellSet::kH>;
Field ApproachField(const BattleState& s, const BattleUnit& u);
inline int StepsAt(const Field& f, int x, int y) { return f[static_cast<std::size_t>(y * CellSet::kW + x)]; }

// Score of `u` (a unit of the surveyed state) standing with its anchor at
// (x, y) with `steps` still to go before it reaches an enemy; higher is
// better for its side.
float PlaceScore(const Survey& v, const BattleUnit& u, int x, int y, const Tactics& t, int steps);
// Those steps as the crow swims, for when no ApproachField is at hand.
int StepsEstimate(const BattleState& s, const BattleUnit& u, int x, int y);

// The acting unit's decision by these weights: strike the best target in
// reach, else stand where the place scores best (units that wait hold back).
// Always Legal.
Action TacticalAction(const BattleState& s, const Tactics& t);

}  // namespace battle
