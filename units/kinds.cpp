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
    explicit cKindUnit(const cUnitKind& kind) { Build(kind); }
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

cUnit* MakeUnit(const cUnitKind& kind) { return new cKindUnit(kind); }

cAqua::cAqua() { Build(Kind("Aqua")); }
cTorp::cTorp() { Build(Kind("Torp")); }
cBati::cBati() { Build(Kind("Bati")); }
cPaul::cPaul() { Build(Kind("Paul")); }
cShark::cShark() { Build(Kind("Shark")); }
cMedu::cMedu() { Build(Kind("Medu")); }
