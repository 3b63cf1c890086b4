// Level files: "res\lvl<n>.txt", one INI section per unit, read until the
// first section without a kind name.
#include <cstdio>
#include <cstring>
#include <string>

#include "game/game.h"
#include "units/kinds.h"
#include "units/projectile.h"

namespace {

const int kMaxUnits = 49;

template <class T>
cUnit* Make() {
    return new T();
}

struct KindWord {
    const char* word;
    cUnit* (*make)();
};

// A name selects the kind whose word it begins with.
const KindWord kKindWords[] = {
    {"Aqua", Make<cAqua>}, {"Bati", Make<cBati>},   {"Torp", Make<cTorp>},
    {"Medu", Make<cMedu>}, {"Shark", Make<cShark>}, {"Paul", Make<cPaul>},
};

bool StartsWith(const std::string& s, const char* word) {
    return s.compare(0, std::strlen(word), word) == 0;
}

cUnit* MakeUnit(const std::string& name) {
    for (const KindWord& k : kKindWords)
        if (StartsWith(name, k.word)) return k.make();
    return nullptr;
}

// Why a unit cannot stand with its anchor on `anchor`, or null when it can.
const char* PlacementFault(cGame& g, cUnit* u, int x, int y) {
    cCell* anchor = g.GetCell(tcellpos(x, y));
    if (!anchor) return "is off the board";
    cCell* cells[4];
    int n = u->Footprint(anchor, cells);
    for (int i = 0; i < n; ++i) {
        if (!cells[i]) return "is off the board";
        if (!cells[i]->NoUnit()) return "overlaps another unit";
    }
    return nullptr;
}

// Drops the battle in progress: every unit (and the lock any of them still
// holds), the projectile and the board's occupancy.
void ClearBattle(cGame& g) {
    g.selunit = nullptr;
    g.selcell = nullptr;
    for (cUnit* u : g.units) delete u;
    g.units.clear();
    delete cGame::proj;
    cGame::SetProjectile(nullptr);
    for (cCell& c : g.cells) c.RemUnit();
}

}  // namespace

void cGame::LoadLevel(int n) {
    ClearBattle(*this);
    curlvl = n;
    playing = difficulty;  // a change on the options screen waits for the next battle
    banner = BANNER_NONE;
    fx.Clear();

    char file[32];
    std::snprintf(file, sizeof file, "res\\lvl%d.txt", n);
    tide->System_SetState(TIDE_INIFILE, file);

    for (int i = 1; i <= kMaxUnits; ++i) {
        char section[16];
        std::snprintf(section, sizeof section, "unit%d", i);
        // Copied: the engine's string buffer is reused by the next INI call.
        std::string name = tide->Ini_GetString(section, "name", "empty");
        if (StartsWith(name, "empty")) break;
        cUnit* u = MakeUnit(name);
        if (!u) {
            tide->System_Log("unknown unit: %s", name.c_str());
            continue;
        }
        int x = tide->Ini_GetInt(section, "x", 1);
        int y = tide->Ini_GetInt(section, "y", 1);
        if (const char* fault = PlacementFault(*this, u, x, y)) {
            tide->System_Log("unit %s at %i %i %s, skipped", name.c_str(), x, y, fault);
            delete u;
            continue;
        }
        u->SetParent(GetCell(tcellpos(x, y)));
        units.push_back(u);
    }
    // A level without both sides ends on its first frame and unlocks nothing;
    // a missing or broken file is the likely cause.
    bool player = false, computer = false;
    for (cUnit* u : units) (u->IsPlayerControlled() ? player : computer) = true;
    if (!player || !computer) {
        const char* missing = units.empty() ? "no units" : player ? "no computer unit" : "no player unit";
        tide->System_Log("%s: %s", file, missing);
    }

    turn = 0;
    NextTurn();
    ComposeBackdrop();
}
