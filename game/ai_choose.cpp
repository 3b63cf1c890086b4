#include "game/ai_choose.h"

#include <cmath>

#include "game/ai_bots.h"
#include "game/battle_ai.h"

namespace battle {

namespace {

// A living unit is worth its health and, on top, this many of its blows.
const float kAliveBlows = 3.0f;
// Where units stand counts this much beside health.
const float kPlaceWeight = 0.5f;
// Actions of the turn's known order Hard plays out after each candidate.
const int kHardDepth = 6;

}  // namespace

void ApplyDifficulty(BattleState& s, Difficulty d) {
    s.difficulty = d;
    if (d != Difficulty::Hard) return;
    const float tougher = 1.08f;
    for (BattleUnit& u : s.units)
        if (!u.player) u.health = static_cast<int>(std::floor(static_cast<float>(u.health) * tougher + 1e-4f));
}

Tactics CreatureTactics(Difficulty d) {
    Tactics t;
    if (d == Difficulty::Hard) t.patience = 4;
    return t;
}

float Evaluate(const BattleState& s, bool player, const Tactics& mine, const Tactics& theirs) {
    if (s.outcome == BattleOutcome::Won || s.outcome == BattleOutcome::Lost) {
        bool playerWon = s.outcome == BattleOutcome::Won;
        return playerWon == player ? 1e6f : -1e6f;
    }
    float total = 0;
    Survey v(s);
    for (const BattleUnit& u : s.units) {
        if (u.health <= 0) continue;
        bool own = u.player == player;
        const Tactics& t = own ? mine : theirs;
        float worth = static_cast<float>(u.health) + kAliveBlows * v.Threat(u) +
                      kPlaceWeight * PlaceScore(v, u, u.x, u.y, t, StepsEstimate(s, u, u.x, u.y));
        total += own ? worth : -worth;
    }
    return total;
}

Action LookaheadAction(const BattleState& s, const Tactics& mine, const Tactics& theirs, int depth) {
    const BattleUnit* u = Acting(s);
    if (!u || !Legal(s, Action::StayPut())) return Action::StayPut();
    const bool side = u->player;
    Action first = TacticalAction(s, mine);
    // Charging, the side takes what comes: nothing to look ahead for.
    if (s.turn >= mine.charge) return first;
    // A unit that strikes whenever it can: the question is only whom. One
    // that waits does not move yet.
    const bool strikes = first.kind == Action::Attack && mine.strikeInReach;
    const bool waits = s.turn <= u->waits;
    std::vector<Action> candidates{first};
    for (const Action& a : LegalActions(s)) {
        if (a == first || (strikes && a.kind != Action::Attack) || (waits && a.kind == Action::Move)) continue;
        if (a.kind == Action::Attack && AttackDamage(*u, *Find(s, a.target)) <= 0) continue;
        candidates.push_back(a);
    }
    Action best = first;
    float bestValue = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        BattleState c = s;
        Resolve(c, candidates[i]);
        for (int k = 0; k < depth && c.outcome == BattleOutcome::None && c.turn == s.turn; ++k) {
            const BattleUnit* next = Acting(c);
            if (!next) break;
            Resolve(c, TacticalAction(c, next->player == side ? mine : theirs));
        }
        float value = Evaluate(c, side, mine, theirs);
        if (i == 0 || value > bestValue + 1e-3f) {
            best = candidates[i];
            bestValue = value;
        }
    }
    return best;
}

Action AIChoose(const BattleState& s) {
    switch (s.difficulty) {
    case Difficulty::Easy:
        return EasyAction(s);
    case Difficulty::Normal:
        return LookaheadAction(s, CreatureTactics(s.difficulty), BestBotTactics(), 0);
    case Difficulty::Hard:
        break;
    }
    return LookaheadAction(s, CreatureTactics(s.difficulty), BestBotTactics(), kHardDepth);
}

}  // namespace battle
