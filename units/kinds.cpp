#include "units/kinds.h"

namespace {

// Stands in for a kind the kinds file lacks, so that a unit asked for by
// name is still a unit (with nothing to draw) rather than a crash.
const cUnitKind& Kind(const char* name) {
    static cUnitKind missing;
    const cUnitKind* k = KindNamed(name);
    return k && k->Usable() ? *k : missing;
}

class cKindUnit : public cUnit {
public:
    cKindUnit(const cUnitKind& kind, cUnitHost* host) : cUnit(host) { Build(kind); }
};

}  // namespace

cKindRegistry& Kinds() {
    static cKindRegistry kinds;
    return kinds;
}

const cUnitKind* FindKind(const std::string& levelName) { return Kinds().Find(levelName); }

const cUnitKind* KindNamed(const std::string& name) { return Kinds().Named(name); }

BattleUnit KindRecord(const cUnitKind& kind) {
    BattleUnit u;
    u.kind = kind.name;
    u.player = kind.plcontrolled;
    u.size = kind.cellsize;
    u.health = kind.param.health;
    u.armor = kind.param.armor;
    u.damage = kind.param.dmg;
    u.range = kind.param.range;
    u.melee = kind.melee;
    u.ammo = kind.ammotype;
    // A shot carries its own kind's damage; a melee kind's record keeps the
    // value its projectile number's shot would carry, as saved battles have it.
    u.shot = kind.melee ? Kinds().ProjectileDamage(kind.ammotype) : kind.param.dmg;
    u.waits = kind.waits;
    u.actionpoint = 1;
    return u;
}

cUnit* MakeUnit(const cUnitKind& kind, cUnitHost* host) { return new cKindUnit(kind, host); }

cAqua::cAqua(cUnitHost* host) : cUnit(host) { Build(Kind("Aqua")); }
cTorp::cTorp(cUnitHost* host) : cUnit(host) { Build(Kind("Torp")); }
cBati::cBati(cUnitHost* host) : cUnit(host) { Build(Kind("Bati")); }
cPaul::cPaul(cUnitHost* host) : cUnit(host) { Build(Kind("Paul")); }
cShark::cShark(cUnitHost* host) : cUnit(host) { Build(Kind("Shark")); }
cMedu::cMedu(cUnitHost* host) : cUnit(host) { Build(Kind("Medu")); }
