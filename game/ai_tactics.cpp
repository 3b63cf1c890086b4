#include "game/ai_tactics.h"

#include "game/ai_reach.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace battle {

namespace {

const int kW = CellSet::kW, kH = CellSet::kH;

bool Enemies(const BattleUnit& a, const BattleUnit& b) { return a.player != b.player; }

// `f` stands where `e` could strike it after two steps: at the front, one
// step from its danger.
bool AtFront(const BattleUnit& e, const BattleUnit& f) {
    return reach::BlockDistance(e.x - 2, e.y - 2, e.size + 4, f.x, f.y, f.size) <= e.range;
}

bool AnchorOnBoard(int x, int y, int size) { return x >= 1 && y >= 1 && x + size <= 15 && y + size <= 10; }

}  // namespace

bool Threatens(const BattleUnit& e, int x, int y, int size) {
    return reach::StrikesAfterStep(e.x, e.y, e.size, e.range, x, y, size);
}

CellSet ThreatCells(const BattleState& s, const BattleUnit& u) {
    (void)s;
    CellSet out;
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 14; ++x)
            if (Threatens(u, x, y, 1)) out.Add(x, y);
    return out;
}

Tactics InTurn(const Tactics& t, int turn) {
    Tactics now = t;
    now.approach = t.approach + t.urge * static_cast<float>(std::max(0, turn - t.patience));
    now.urge = 0;
    if (turn >= t.charge) now.risk = now.death = 0;
    return now;
}

Survey::Survey(const BattleState& s) : state(s), threat(s.units.size()), front(s.units.size()) {
    int gathered[2] = {0, 0}, all[2] = {0, 0};
    for (std::size_t i = 0; i < s.units.size(); ++i) {
        const BattleUnit& u = s.units[i];
        int sum = 0, n = 0;
        bool atFront = false;
        for (const BattleUnit& e : s.units) {
            if (!Enemies(u, e)) continue;
            sum += AttackDamage(u, e);
            ++n;
            front[i] += AtFront(u, e);
            atFront = atFront || AtFront(e, u);
        }
        threat[i] = n ? static_cast<float>(sum) / static_cast<float>(n) : static_cast<float>(u.damage);
        ++all[u.player];
        gathered[u.player] += atFront;
    }
    for (int side = 0; side < 2; ++side) ready[side] = all[side] > 0 && 3 * gathered[side] >= 2 * all[side];
}

int Survey::Sharing(const BattleUnit& e, const BattleUnit& u) const {
    return 1 + front[Index(e)] - (AtFront(e, u) ? 1 : 0);
}

const BattleUnit* BestTarget(const Survey& v, const BattleUnit& u) {
    const BattleState& s = v.state;
    const BattleUnit* best = nullptr;
    float bestScore = 0;
    for (const BattleUnit& e : s.units) {
        if (!InReach(u, e)) continue;
        int dmg = AttackDamage(u, e);
        if (dmg <= 0) continue;
        float threat = v.Threat(e);
        float score;
        if (dmg >= e.health) {
            // A blow that finishes it: the most dangerous first, wasting least.
            score = 10000 + 100 * threat - static_cast<float>(dmg - e.health);
        } else {
            // What the rest of the side could add this turn and the next.
            int follow = 0;
            for (const BattleUnit& f : s.units)
                if (&f != &u && !Enemies(f, u) && InReach(f, e)) follow += AttackDamage(f, e);
            score = 10 * static_cast<float>(dmg) + 5 * threat - static_cast<float>(e.health) +
                    static_cast<float>(follow);
            if (dmg + follow >= e.health) score += 1000 + 100 * threat;
        }
        if (!best || score > bestScore) {
            best = &e;
            bestScore = score;
        }
    }
    return best;
}

Field ApproachField(const BattleState& s, const BattleUnit& u) {
    // Who covers each cell: 0 nobody, 1 a friend, 2 an enemy.
    std::array<unsigned char, kW * kH> cover{};
    for (const BattleUnit& o : s.units) {
        if (o.id == u.id) continue;
        for (int dy = 0; dy < o.size; ++dy)
            for (int dx = 0; dx < o.size; ++dx) {
                int x = o.x + dx, y = o.y + dy;
                if (x >= 0 && y >= 0 && x < kW && y < kH) cover[y * kW + x] = Enemies(o, u) ? 2 : 1;
            }
    }
    // Cost of a step onto each anchor: 0 where the unit cannot stand.
    std::array<unsigned char, kW * kH> cost{};
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 14; ++x) {
            if (!AnchorOnBoard(x, y, u.size)) continue;
            unsigned char c = 1;
            for (int dy = 0; dy < u.size && c; ++dy)
                for (int dx = 0; dx < u.size && c; ++dx) {
                    unsigned char k = cover[(y + dy) * kW + x + dx];
                    c = k == 2 ? 0 : k == 1 ? 3 : c;
                }
            cost[y * kW + x] = c;
        }

    Field dist;
    dist.fill(kUnreachable);
    using Node = std::pair<int, int>;  // distance, cell
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> open;
    for (int at = 0; at < kW * kH; ++at) {
        if (!cost[at]) continue;
        for (const BattleUnit& e : s.units)
            if (Enemies(u, e) && reach::BlockDistance(at % kW, at / kW, u.size, e.x, e.y, e.size) <= u.range) {
                dist[at] = 0;
                open.emplace(0, at);
                break;
            }
    }
    // Distances are symmetric: grown outward from the places to strike from.
    while (!open.empty()) {
        auto [d, at] = open.top();
        open.pop();
        if (d > dist[at]) continue;
        int step = d + cost[at];
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int next = at + dy * kW + dx;
                if ((dx || dy) && cost[next] && step < dist[next]) {
                    dist[next] = step;
                    open.emplace(step, next);
                }
            }
    }
    return dist;
}

int StepsEstimate(const BattleState& s, const BattleUnit& u, int x, int y) {
    float nearest = 1e20f;
    for (const BattleUnit& e : s.units)
        if (Enemies(u, e)) nearest = std::min(nearest, reach::BlockDistance(x, y, u.size, e.x, e.y, e.size));
    if (nearest >= 1e19f) return 0;
    // A setting or a saved battle may give any reach: the gap is kept to
    // what an int holds (a reach that is no number counts as no gap).
    const float gap = nearest - u.range;
    return gap > 0 ? static_cast<int>(std::ceil(std::min(gap, 1e6f))) : 0;
}

float PlaceScore(const Survey& v, const BattleUnit& u, int x, int y, const Tactics& t, int steps) {
    float offence = 0, risk = 0;
    for (const BattleUnit& e : v.state.units) {
        if (!Enemies(u, e)) continue;
        if (reach::BlockDistance(x, y, u.size, e.x, e.y, e.size) <= u.range) {
            int dmg = AttackDamage(u, e);
            float value = static_cast<float>(dmg) + (dmg >= e.health ? v.Threat(e) : 0.0f);
            offence = std::max(offence, value);
        }
        // Each enemy strikes one unit at a time: its blow is shared among
        // the side's units in or next to its reach.
        if (Threatens(e, x, y, u.size))
            risk += static_cast<float>(AttackDamage(e, u)) / static_cast<float>(v.Sharing(e, u));
    }
    Tactics now = InTurn(t, v.state.turn);
    if (v.PackReady(u.player)) now.risk *= now.packRisk;
    float score = now.offence * offence - now.risk * risk;
    if (risk >= static_cast<float>(u.health)) score -= now.death * v.Threat(u);
    if (steps >= kUnreachable) steps = kW;  // no way through now: as far as it gets
    return score - now.approach * static_cast<float>(steps);
}

Action TacticalAction(const BattleState& s, const Tactics& t) {
    const BattleUnit* u = Acting(s);
    if (!u || !Legal(s, Action::StayPut())) return Action::StayPut();
    Survey v(s);
    if (const BattleUnit* target = BestTarget(v, *u)) return Action::AttackUnit(target->id);
    if (s.turn <= u->waits) return Action::StayPut();
    Field field = ApproachField(s, *u);
    auto place = [&](int x, int y) { return PlaceScore(v, *u, x, y, t, StepsAt(field, x, y)); };
    Action best = Action::StayPut();
    float bestScore = place(u->x, u->y);
    for (tcellpos c : MoveTargets(s, *u)) {
        float score = place(c.first, c.second);
        if (score > bestScore + 1e-4f) {
            best = Action::MoveTo(c.first, c.second);
            bestScore = score;
        }
    }
    return best;
}

}  // namespace battle
