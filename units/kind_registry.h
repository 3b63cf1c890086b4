// The unit kinds the game knows, read from the data folder's kinds file
// ("res\kinds.txt", one section a kind): what each looks and sounds like,
// its side, footprint and way of attacking. A kind's combat values stay in
// its section of the configuration (config.txt), read into `param`.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "units/unit_param.h"

class Tide;
class tideIniFile;

extern const char* const kKindsFile;

struct cUnitKind {
    std::string name;  // the section's name: level files and saved battles spell it so
    // Resource names, keys of the resource script.
    std::string idle, move;
    std::string attack;  // the strike's animation; empty for none
    std::string turn_on, turn_off;
    std::string snd_move, snd_attack;  // empty: silent
    bool plcontrolled = false;
    int cellsize = 1;
    bool melee = false;
    std::string projectile;  // the sprite a shot flies as; empty for a melee kind
    int ammotype = 0;        // the projectile's number (cKindRegistry::Projectile)
    int waits = 0;           // turns it holds back from approaching
    std::string title;       // the kind's name as the unit panel shows it
    st_unitparam param{20, 1, 0, 100500};  // combat values, from the configuration
    // Empty when units of the kind can be made; else what is wrong with its
    // section (already logged), and its units are skipped.
    std::string fault;

    bool Usable() const { return fault.empty(); }
};

class cKindRegistry {
public:
    // Reads the kinds file; every problem is one log line naming the file,
    // the section and the key. False when the file gave no usable kind.
    bool Load(Tide* tide, const char* file = kKindsFile);
    void Read(const tideIniFile& ini, Tide* tide);

    // The kind a level file's unit name selects: the first, in the file's
    // order, whose name the unit's begins with, in any case ("Sharky" is a
    // Shark); null when none.
    const cUnitKind* Find(const std::string& levelName) const;
    // The kind of exactly this name, in any case; null when none.
    const cUnitKind* Named(const std::string& name) const;

    // Sprite of projectile `type`, "arrow" for a number no kind fires; and
    // the damage it carries: the combat value of the first kind firing it.
    const char* ProjectileSprite(int type) const;
    int ProjectileDamage(int type) const;

    // Kinds stay where they are while the registry lives: units keep
    // pointers into them.
    std::deque<cUnitKind> kinds;
    std::vector<std::string> projectiles;  // by number, in order of first use
};
