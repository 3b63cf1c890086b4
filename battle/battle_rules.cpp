#include "battle/battle_rules.h"

#include <cmath>
#include <cstdlib>

namespace battle {

namespace {

const float kFar = 1e20f;

float Distance(int ax, int ay, int bx, int by) {
    double dx = ax - bx, dy = ay - by;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

bool Alive(const BattleUnit& u) { return u.health > 0; }

}  // namespace

int IndexOf(const BattleState& s, int id) {
    for (std::size_t i = 0; i < s.units.size(); ++i)
        if (s.units[i].id == id) return static_cast<int>(i);
    return -1;
}

const BattleUnit* Find(const BattleState& s, int id) {
    int i = IndexOf(s, id);
    return i < 0 ? nullptr : &s.units[static_cast<std::size_t>(i)];
}

BattleUnit* Find(BattleState& s, int id) {
    return const_cast<BattleUnit*>(Find(static_cast<const BattleState&>(s), id));
}

const BattleUnit* Acting(const BattleState& s) {
    return s.step < s.units.size() ? &s.units[s.step] : nullptr;
}

bool Covers(const BattleUnit& u, int x, int y) {
    return x >= u.x && x < u.x + u.size && y >= u.y && y < u.y + u.size;
}

const BattleUnit* UnitAt(const BattleState& s, int x, int y) {
    for (const BattleUnit& u : s.units)
        if (Covers(u, x, y)) return &u;
    return nullptr;
}

bool OnPlayfield(int x, int y) { return x >= 1 && x <= 14 && y >= 1 && y <= 9; }

bool CanMove(const BattleState& s, const BattleUnit& u, int x, int y) {
    // The whole footprint on the playable board.
    if (x < 1 || y < 1 || x + u.size > 15 || y + u.size > 10) return false;
    // Own cells count as free: a 2x2 unit may step onto its own footprint.
    for (int dy = 0; dy < u.size; ++dy)
        for (int dx = 0; dx < u.size; ++dx) {
            const BattleUnit* o = UnitAt(s, x + dx, y + dy);
            if (o && o->id != u.id) return false;
        }
    if (x == u.x && y == u.y) return false;
    return std::abs(x - u.x) <= 1 && std::abs(y - u.y) <= 1;
}

std::vector<tcellpos> MoveTargets(const BattleState& s, const BattleUnit& u) {
    std::vector<tcellpos> out;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (CanMove(s, u, u.x + dx, u.y + dy)) out.emplace_back(u.x + dx, u.y + dy);
    return out;
}

float UnitDistance(const BattleUnit& a, const BattleUnit& b) {
    if (&a == &b) return 0;
    int sa = a.size, sb = b.size;
    if (sa < 1 || sb < 1 || sa > 2 || sb > 2) return 0;
    // Every cell of one footprint against every cell of the other; the
    // first of equal minima is kept.
    float best = kFar;
    for (int j = 0; j < sa * sa; ++j)
        for (int l = 0; l < sb * sb; ++l) {
            float d = Distance(a.x + j % sa, a.y + j / sa, b.x + l % sb, b.y + l / sb);
            if (d < best) best = d;
        }
    return best;
}

bool InReach(const BattleUnit& a, const BattleUnit& t) {
    return t.player != a.player && UnitDistance(a, t) <= a.range;
}

int AttackDamage(const BattleUnit& a, const BattleUnit& t) {
    int hit = a.melee ? a.damage : a.shot;
    return hit > t.armor ? hit - t.armor : 0;
}

bool Legal(const BattleState& s, const Action& a) {
    const BattleUnit* u = Acting(s);
    // The dead act no more and are no target, even before they are removed.
    if (!u || !Alive(*u) || s.pending || s.outcome != BattleOutcome::None) return false;
    switch (a.kind) {
    case Action::Stay:
        return true;
    case Action::Move:
        return CanMove(s, *u, a.x, a.y);
    case Action::Attack: {
        const BattleUnit* t = Find(s, a.target);
        return t && Alive(*t) && InReach(*u, *t);
    }
    }
    return false;
}

std::vector<Action> LegalActions(const BattleState& s) {
    std::vector<Action> out;
    if (!Legal(s, Action::StayPut())) return out;
    const BattleUnit& u = *Acting(s);
    out.push_back(Action::StayPut());
    for (tcellpos c : MoveTargets(s, u)) out.push_back(Action::MoveTo(c.first, c.second));
    for (const BattleUnit& t : s.units)
        if (Alive(t) && InReach(u, t)) out.push_back(Action::AttackUnit(t.id));
    return out;
}

bool Apply(BattleState& s, int id, const Action& a, Effect* e) {
    BattleUnit* u = Find(s, id);
    if (!u) return false;
    Effect fx;
    fx.action = a;
    fx.actor = id;
    fx.fromX = u->x;
    fx.fromY = u->y;
    switch (a.kind) {
    case Action::Stay:
        break;
    case Action::Move:
        if (!CanMove(s, *u, a.x, a.y)) return false;
        u->x = a.x;
        u->y = a.y;
        break;
    case Action::Attack: {
        BattleUnit* t = Find(s, a.target);
        if (!t) return false;
        if (u->melee) {
            bool alive = Alive(*t);
            fx.lost = Damage(s, t->id, u->damage);
            fx.killed = alive && !Alive(*t);
        } else {
            s.pending = PendingHit{u->id, t->id, u->shot};
            fx.fired = true;
        }
        break;
    }
    }
    u->actionpoint = 0;
    if (e) *e = fx;
    return true;
}

int Damage(BattleState& s, int id, int dmg) {
    BattleUnit* t = Find(s, id);
    if (!t) return 0;
    int lost = dmg > t->armor ? dmg - t->armor : 0;
    t->health -= lost;
    BattleStats::Count(t->player ? s.stats.taken : s.stats.dealt, lost);
    return lost;
}

int LandHit(BattleState& s, int target, int dmg) {
    s.pending.reset();
    return Damage(s, target, dmg);
}

void LandHit(BattleState& s) {
    if (s.pending) LandHit(s, s.pending->target, s.pending->damage);
}

void NextStep(BattleState& s) {
    s.step += 1;
    if (s.step >= s.units.size()) NextTurn(s);
}

void NextTurn(BattleState& s) {
    s.turn += 1;
    s.step = 0;
    // Each position draws source indices until one not taken yet comes up.
    const int n = static_cast<int>(s.units.size());
    std::vector<bool> taken(s.units.size(), false);
    std::vector<BattleUnit> order;
    order.reserve(s.units.size());
    for (int i = 0; i < n; ++i) {
        int src;
        do {
            src = RollBattle(s, 0, n - 1);
        } while (src < 0 || src >= n || taken[static_cast<std::size_t>(src)]);
        taken[static_cast<std::size_t>(src)] = true;
        order.push_back(std::move(s.units[static_cast<std::size_t>(src)]));
    }
    s.units.swap(order);
    for (BattleUnit& u : s.units) u.actionpoint = 1;
}

Removal RemoveDead(BattleState& s) {
    Removal r;
    for (std::size_t i = 0; i < s.units.size();) {
        if (Alive(s.units[i])) {
            ++i;
            continue;
        }
        ++(s.units[i].player ? r.player : r.computer);
        s.units.erase(s.units.begin() + static_cast<std::ptrdiff_t>(i));
        // Every living unit keeps its one step per turn: a removal before the
        // acting unit moves the step back with the list, and when the acting
        // unit itself goes, the unit that slides into its place acts next.
        if (i < s.step)
            --s.step;
        else if (i == s.step)
            r.actingGone = true;
    }
    if (r.actingGone && s.step >= s.units.size()) NextTurn(s);
    BattleStats::Count(s.stats.lostPlayer, r.player);
    BattleStats::Count(s.stats.lostComputer, r.computer);

    // Only the death of the last computer unit is a victory and only the
    // death of the last player unit a defeat; a battle that began without
    // one of the sides decides nothing.
    if (s.outcome == BattleOutcome::None) {
        bool player = false, computer = false;
        for (const BattleUnit& u : s.units) (u.player ? player : computer) = true;
        if (!computer && r.computer)
            s.outcome = BattleOutcome::Won;
        else if (!player && r.player)
            s.outcome = BattleOutcome::Lost;
        else if (!computer || !player)
            s.outcome = BattleOutcome::NoContest;
    }
    return r;
}

bool Act(BattleState& s, const Action& a, Effect* e) {
    if (!Legal(s, a)) return false;
    const BattleUnit& u = *Acting(s);
    if (u.player) BattleStats::Count(s.stats.actions, 1);
    Apply(s, u.id, a, e);
    NextStep(s);
    return true;
}

bool Resolve(BattleState& s, const Action& a) {
    if (!Act(s, a)) return false;
    LandHit(s);
    RemoveDead(s);
    return true;
}

}  // namespace battle
