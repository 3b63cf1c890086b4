// Unit kinds as the game uses them: the kinds file's kinds (kind_registry.h)
// looked up by name, turned into unit records and views. Every lookup of a
// kind goes through this file.
#pragma once

#include <string>

#include "units/kind_registry.h"
#include "units/unit.h"

// The game's kinds, read at start with the configuration.
cKindRegistry& Kinds();

// The kind a level file's name selects: the first whose name it begins with,
// in any case ("Aqua2" is an Aqua); null when none.
const cUnitKind* FindKind(const std::string& levelName);
// The kind of exactly this name, in any case; null when none.
const cUnitKind* KindNamed(const std::string& name);
// A fresh unit record of the kind: its traits and the configuration's values.
BattleUnit KindRecord(const cUnitKind& kind);
// A unit of the kind, on its own.
cUnit* MakeUnit(const cUnitKind& kind);

// A unit of one of the shipped kinds, by its name, for code and tests that
// place one: the same as MakeUnit of the kind so named.
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
