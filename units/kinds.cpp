#include "units/kinds.h"

#include <cstring>

#include "game/game.h"
#include "units/projectile.h"

namespace {

template <class T>
cUnit* Make() {
    return new T();
}

// Name; idle, move, attack animation; on, off marker; move, attack sound;
// player side, cell size, melee, ammunition, parameters, turns held back,
// panel title. In the order a level file's names are tested.
const cUnitKind kKinds[] = {
    {"Aqua", "aqua_idle", "aqua_move", nullptr, "aqua_on", "aqua_off", "aquasnd_move", "aqua_attack",
     true, 1, false, 0, &st_global::aqua, 0, "Diver", Make<cAqua>},
    // Bati has no move animation of its own: its idle one is copied twice.
    {"Bati", "bati_idle", "bati_idle", nullptr, "bati_on", "bati_off", "batisnd_move", "bati_attack",
     true, 2, false, 1, &st_global::bati, 0, "Submarine", Make<cBati>},
    {"Torp", "torp_idle", "torp_move", "torp_attack", "torp_on", "torp_off", "aquasnd_move",
     "torpman_attack", true, 1, true, 0, &st_global::torp, 0, "Torpedo-man", Make<cTorp>},
    // Medusae hold back during the first two turns of a battle.
    {"Medu", "medu_idle", "medu_move", nullptr, "medu_on", "medu_off", "mobssnd_move", "medu_attack",
     false, 1, false, 2, &st_global::medu, 2, "Jellyfish", Make<cMedu>},
    {"Shark", "akul_idle", "akul_move", "akul_attack", "shark_on", "shark_off", "mobssnd_move",
     "shark_attack", false, 2, true, 0, &st_global::shark, 0, "Shark", Make<cShark>},
    {"Paul", "paul_idle", "paul_move", "paul_attack", "paul_on", "paul_off", "mobssnd_move", "paul_attack",
     false, 2, true, 0, &st_global::paul, 0, "Octopus", Make<cPaul>},
};

const cUnitKind& Kind(const char* name) { return *KindNamed(name); }

}  // namespace

const cUnitKind* FindKind(const std::string& levelName) {
    for (const cUnitKind& k : kKinds)
        if (levelName.compare(0, std::strlen(k.name), k.name) == 0) return &k;
    return nullptr;
}

const cUnitKind* KindNamed(const std::string& name) {
    for (const cUnitKind& k : kKinds)
        if (name == k.name) return &k;
    return nullptr;
}

BattleUnit KindRecord(const cUnitKind& kind) {
    const st_unitparam& par = cGame::global.*kind.param;
    BattleUnit u;
    u.kind = kind.name;
    u.player = kind.plcontrolled;
    u.size = kind.cellsize;
    u.health = par.health;
    u.armor = par.armor;
    u.damage = par.dmg;
    u.range = par.range;
    u.melee = kind.melee;
    u.ammo = kind.ammotype;
    u.shot = cProjectile::Ammo(kind.ammotype);
    u.waits = kind.waits;
    u.actionpoint = 1;
    return u;
}

cAqua::cAqua() { Build(Kind("Aqua")); }
cTorp::cTorp() { Build(Kind("Torp")); }
cBati::cBati() { Build(Kind("Bati")); }
cPaul::cPaul() { Build(Kind("Paul")); }
cShark::cShark() { Build(Kind("Shark")); }
cMedu::cMedu() { Build(Kind("Medu")); }
