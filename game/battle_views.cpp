// The battle on screen follows the battle state: a view (cUnit) for every
// unit, in the acting order, standing on its cells, a projectile for the shot
// in flight; and the acting unit's actions run through the rules first.
#include <algorithm>

#include "game/game.h"
#include "res/resource_manager.h"
#include "units/kinds.h"
#include "units/projectile.h"
#include "units/unit.h"

namespace {

cUnit* MakeView(const BattleUnit& rec, cUnitHost* host) {
    const cUnitKind* kind = KindNamed(rec.kind);
    return kind && kind->Usable() ? MakeUnit(*kind, host) : new cUnit(host);
}

}  // namespace

cUnit* cGame::ViewOf(int id) const {
    for (cUnit* u : units)
        if (u->Id() == id && &u->Battle() == &battle) return u;
    return nullptr;
}

void cGame::SyncViews() {
    std::vector<cUnit*> kept(battle.units.size(), nullptr);
    for (cUnit* v : units) {
        int i = &v->Battle() == &battle ? battle::IndexOf(battle, v->Id()) : -1;
        if (i >= 0 && !kept[static_cast<std::size_t>(i)]) {
            kept[static_cast<std::size_t>(i)] = v;
            continue;
        }
        // Its unit is gone from the battle: the view goes with it.
        if (selunit == v) selunit = nullptr;
        v->LeaveBoard();
        delete v;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i]) continue;
        kept[i] = MakeView(battle.units[i], this);
        kept[i]->Bind(&battle, battle.units[i].id);
    }
    units.swap(kept);

    for (cCell& c : cells) c.RemUnit();
    for (cUnit* u : units) u->SetParent(GetCell(tcellpos(u->Data().x, u->Data().y)));
    PlaceTurnMarkers();

    // The shot in flight: flown again from its shooter when the views are
    // new (a resumed battle); dropped when the battle no longer has it.
    if (battle.pending && !proj) {
        cUnit* target = ViewOf(battle.pending->target);
        cUnit* shooter = ViewOf(battle.pending->shooter);
        if (target) {
            tcellpos from = shooter ? shooter->CentrePoint() : target->CentrePoint();
            int type = shooter ? static_cast<int>(shooter->ammotype) : 0;
            proj = new cProjectile(type, from, target->CentrePoint(), target);
            proj->dmg = battle.pending->damage;
        }
    } else if (!battle.pending && proj && !proj->IsDead()) {
        delete proj;
        proj = nullptr;
    }
}

void cGame::AddUnit(cUnit* u) {
    BattleUnit rec = u->Data();
    rec.id = battle.nextid++;
    battle.units.push_back(rec);
    u->Bind(&battle, rec.id);
    units.push_back(u);
    PlaceTurnMarkers();
}

void cGame::SetOrder(const std::vector<cUnit*>& order) {
    std::vector<BattleUnit> recs;
    for (cUnit* u : order)
        if (const BattleUnit* r = battle::Find(battle, u->Id())) recs.push_back(*r);
    battle.units.swap(recs);
    battle.step = 0;
    SyncViews();
    SelectUnit(0);
}

bool cGame::Perform(const battle::Action& a) {
    const BattleUnit* u = battle::Acting(battle);
    if (!u || !battle::Legal(battle, a)) return false;
    if (u->player) RememberForUndo();
    battle::Effect e;
    battle::Act(battle, a, &e);
    showing = e.actor;
    if (cUnit* actor = ViewOf(e.actor))
        actor->Show(e, a.kind == battle::Action::Attack ? ViewOf(a.target) : nullptr);
    SyncViews();
    SelectUnit(static_cast<int>(step));
    return true;
}

cUnit* cGame::ActingView() const {
    cUnit* playing = IsControlLocked() ? ViewOf(showing) : nullptr;
    return playing ? playing : selunit;
}

bool cGame::PlayerClickAt(float sx, float sy) {
    cUnit* su = selunit;
    if (!su || !su->IsPlayerControlled() || su->actionpoint <= 0 || IsControlLocked()) return false;
    overcell = screenToCell(static_cast<int>(sx), static_cast<int>(sy));
    selcell = GetCell(overcell);
    if (!selcell) return false;
    if (cUnit* t = selcell->GetUnit()) {
        // An enemy in reach is attacked; any other unit ignores the click.
        return battle::InReach(su->Data(), t->Data()) && Perform(battle::Action::AttackUnit(t->Id()));
    }
    cCell* dest = ClickMoveTarget(su, sx, sy);
    if (!dest) return false;
    overcell = tcellpos(dest->GetX(), dest->GetY());
    return Perform(battle::Action::MoveTo(dest->GetX(), dest->GetY()));
}

cCell* cGame::Cell(int x, int y) { return GetCell(tcellpos(x, y)); }

tideAnimation* cGame::Animation(const char* name) { return NeedAnimation(name); }

tideSprite* cGame::Sprite(const char* name) { return NeedSprite(name); }

HEFFECT cGame::Effect(const char* name) { return resman ? resman->GetEffect(name, 0) : 0; }

tideFont* cGame::Font() { return GetFont1(); }

void cGame::ActionStarted() { LockControl(); }

void cGame::ActionEnded() { UnlockControl(); }

void cGame::ShotFired(cProjectile* p) { SetProjectile(p); }

void cGame::UnitHit(const cUnit& u, int lost, bool killed) {
    // The board shows every strike, even one the armor takes whole.
    tcellpos c = u.CentrePoint();
    float x = static_cast<float>(c.first), y = static_cast<float>(c.second);
    fx.Hit(x, y, lost, u.GetSize());
    if (killed) fx.Death(x, y, u.GetSize());
}

void cGame::UnitSound(HEFFECT snd) { tide->Effect_Play(snd); }
