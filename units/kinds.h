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
// A unit of the kind, on its own, shown in `host`'s battle.
cUnit* MakeUnit(const cUnitKind& kind, cUnitHost* host);

// A unit of one of the shipped kinds, by its name, for code and tests that
// place one: the same as MakeUnit of the kind so named.
class cAqua : public cUnit {
public:
    explicit cAqua(cUnitHost* host);
};

class cTorp : public cUnit {
public:
    explicit cTorp(cUnitHost* host);
};

class cBati : public cUnit {
public:
    explicit cBati(cUnitHost* host);
};

class cPaul : public cUnit {
public:
    explicit cPaul(cUnitHost* host);
};

class cShark : public cUnit {
public:
    explicit cShark(cUnitHost* host);
};

class cMedu : public cUnit {
public:
    explicit cMedu(cUnitHost* host);
    bool IsMedu() override { return true; }
};
