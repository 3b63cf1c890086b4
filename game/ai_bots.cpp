#include "game/ai_bots.h"

#include <cstdint>

#include "game/ai_choose.h"

namespace battle {

namespace {

// Actions of the turn's known order the best bot plays out after each choice.
const int kBestDepth = 6;

// The weakest enemy in reach, the earliest in the acting order among equals.
const BattleUnit* WeakestInReach(const BattleState& s, const BattleUnit& u) {
    const BattleUnit* best = nullptr;
    for (const BattleUnit& e : s.units)
        if (InReach(u, e) && (!best || e.health < best->health)) best = &e;
    return best;
}

// True when no enemy of `u` could strike it standing at (x, y).
bool Safe(const BattleState& s, const BattleUnit& u, int x, int y) {
    for (const BattleUnit& e : s.units)
        if (e.player != u.player && Threatens(e, x, y, u.size)) return false;
    return true;
}

// A step that brings `u` nearer to striking an enemy, the shortest way
// round; with `safeOnly` only onto places no enemy can strike.
Action StepToward(const BattleState& s, const BattleUnit& u, bool safeOnly) {
    Field field = ApproachField(s, u);
    auto at = [&](int x, int y) { return StepsAt(field, x, y); };
    Action best = Action::StayPut();
    int bestSteps = at(u.x, u.y);
    for (tcellpos c : MoveTargets(s, u)) {
        if (safeOnly && !Safe(s, u, c.first, c.second)) continue;
        if (at(c.first, c.second) < bestSteps) {
            best = Action::MoveTo(c.first, c.second);
            bestSteps = at(c.first, c.second);
        }
    }
    return best;
}

}  // namespace

const char* BotName(Bot b) {
    switch (b) {
    case Bot::Defender: return "defender";
    case Bot::Charger: return "charger";
    case Bot::Cautious: return "cautious";
    case Bot::Best: return "best";
    }
    return "?";
}

Tactics BestBotTactics() {
    // More careful than the creatures and in less of a hurry; free to step
    // back from a target to keep out of reach.
    Tactics t;
    t.risk = 1.5f;
    t.approach = 0.3f;
    t.patience = 6;
    t.strikeInReach = false;
    return t;
}

Action BotAction(Bot b, const BattleState& s) {
    const BattleUnit* u = Acting(s);
    if (!u || !Legal(s, Action::StayPut())) return Action::StayPut();
    if (b == Bot::Best) return LookaheadAction(s, BestBotTactics(), CreatureTactics(s.difficulty), kBestDepth);
    if (const BattleUnit* t = WeakestInReach(s, *u)) return Action::AttackUnit(t->id);
    switch (b) {
    case Bot::Charger: return StepToward(s, *u, false);
    case Bot::Cautious: return StepToward(s, *u, true);
    default: return Action::StayPut();
    }
}

PlayResult PlayOut(BattleState& s, Bot b, int turnLimit) {
    // A state may come with its dead still on the board (a saved battle, a
    // level whose settings give no health): they go first, as on the screen.
    RemoveDead(s);
    while (s.outcome == BattleOutcome::None && s.turn <= turnLimit) {
        const BattleUnit* u = Acting(s);
        if (!u) break;
        Action a = u->player ? BotAction(b, s) : AIChoose(s);
        // Where even staying put is refused nothing can go on: stop rather than spin.
        if (!Resolve(s, a) && !Resolve(s, Action::StayPut())) break;
    }
    return PlayResult{s.outcome, s.turn};
}

}  // namespace battle
