// The battle as one plain value: everything that decides what happens next,
// and nothing that is only drawn. It can be copied (the AI's lookahead, undo),
// compared, hashed, written as text and read back (the saved battle).
// The rules that change it are in battle/battle_rules.h.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "battle/difficulty.h"

// One unit on the board, with every value the rules read.
struct BattleUnit {
    int id = 0;            // stable for the whole battle, never reused
    std::string kind;      // the kind's name as level files spell it: "Aqua", "Shark", ...
    bool player = false;   // the player's side; false: the computer's
    int x = 0, y = 0;      // anchor: its cell, or the top-left cell of its 2x2 block
    int size = 1;          // cells across: 1 or 2
    int health = 0;        // dead at 0 or below, removed at the next settling
    int armor = 0;         // taken off every hit
    int damage = 0;        // a melee strike's damage
    float range = 0;       // reach in cells
    bool melee = false;    // strikes at once; false: fires a projectile
    int ammo = 0;          // projectile type: 0 arrow, 1 torpedo, 2 spike
    int shot = 0;          // damage its projectile deals, before armor
    int waits = 0;         // turns it holds back from approaching (it still attacks)
    int actionpoint = 1;   // 1 until it has acted this turn

    bool operator==(const BattleUnit&) const = default;
};

// A ranged attack whose projectile is still in flight: its hit is dealt when
// it lands.
struct PendingHit {
    int shooter = 0;  // unit ids
    int target = 0;
    int damage = 0;   // before armor

    bool operator==(const PendingHit&) const = default;
};

enum class BattleOutcome {
    None,       // under way
    Won,        // the last computer unit died
    Lost,       // the last player unit died
    NoContest,  // a side was missing from the start: nothing is decided
};

// What the end-of-battle summary shows; kept with the battle so a resumed one
// still knows.
struct BattleStats {
    int lostPlayer = 0;    // units each side lost
    int lostComputer = 0;
    int dealt = 0;         // health the computer's units lost
    int taken = 0;         // health the player's units lost
    int actions = 0;       // actions the player took (and kept)
    int undone = 0;        // actions the player took back

    // Adds `n` (not below zero) to one of the counts. A saved battle may bring
    // a count up to the largest int, where it then stays.
    static void Count(int& count, int n) { count = n > INT_MAX - count ? INT_MAX : count + n; }

    bool operator==(const BattleStats&) const = default;
};

struct BattleState {
    std::string level;       // the level file it was loaded from, as the loader named it
    Difficulty difficulty = Difficulty::Normal;
    std::vector<BattleUnit> units;  // the living units, in this turn's acting order
    unsigned step = 0;       // index in `units` of the acting unit
    int turn = 0;            // 1 in the first turn
    uint32_t rng = 1;        // the random generator's state (never 0)
    int nextid = 1;          // id of the next unit added
    std::optional<PendingHit> pending;  // a shot in flight
    BattleOutcome outcome = BattleOutcome::None;
    BattleStats stats;

    bool operator==(const BattleState&) const = default;
};

// The text format's version; a reader refuses anything newer.
const int kBattleVersion = 1;

// The largest health, armor, blow or shot a saved battle holds, of either sign.
const int kMaxUnitValue = 1000000;

// The battle as text: a version line, then one "key value" line per field and
// one "unit ..." line per unit in acting order, then "end". Units name their
// kind as level files do. `resumes` is kept with the saved battle but is not
// part of it: how many times it was resumed without a clean end since.
std::string WriteBattle(const BattleState& s, int resumes = 0);

enum class BattleRead { Ok, Damaged, Newer };
// Reads what WriteBattle wrote. Anything else, a field out of its range or a
// rule the battle could never break (two units on one cell) is Damaged, with
// the reason in `why`; a newer version is Newer and left unread. `out` and
// `resumes` change only on Ok.
BattleRead ReadBattle(const std::string& text, BattleState& out, std::string* why = nullptr,
                      int* resumes = nullptr);

// A hash of every field, the same on every platform and run: equal states
// have equal hashes.
uint64_t BattleHash(const BattleState& s);

// The battle's dice: seeded once per battle, drawn only through the state, so
// a copy rolls exactly as the original would.
void SeedBattle(BattleState& s, uint32_t seed);
int RollBattle(BattleState& s, int min, int max);  // both ends included
