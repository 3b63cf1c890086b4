// The six unit kinds: what each binds by name, its traits and where its
// combat values come from. Every lookup of a kind goes through this file.
#pragma once

#include <string>

#include "units/unit.h"

struct cUnitKind {
    const char* name;  // as level files and the saved battle spell it
    // Resource names, keys of the resource script; a null attack animation
    // means a ranged kind.
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
    int waits;          // turns it holds back from approaching
    const char* title;  // the kind's name as the unit panel shows it
    cUnit* (*make)();   // a unit of this kind, on its own
};

// The kind a level file's name selects: the first whose name it begins with
// ("Aqua2" is an Aqua); null when none.
const cUnitKind* FindKind(const std::string& levelName);
// The kind of exactly this name; null when none.
const cUnitKind* KindNamed(const std::string& name);
// A fresh unit record of the kind: its traits and the configuration's values.
BattleUnit KindRecord(const cUnitKind& kind);

// Player side.
class cAqua : public cUnit {
public:
    cAqua();
};

class cTorp : public cUnit {
public:
    cTorp();
};

class cBati : public cUnit {
public:
    cBati();
};

// Computer side.
class cPaul : public cUnit {
public:
    cPaul();
};

class cShark : public cUnit {
public:
    cShark();
};

class cMedu : public cUnit {
public:
    cMedu();
    bool IsMedu() override { return true; }
};
