// The computer's Normal and Hard play and the player bots, on small boards
// set up by hand: paths round obstacles, holding out of reach and closing in
// together, focus fire, no stalling, the same game for the same seed.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "game/ai_bots.h"
#include "game/ai_choose.h"
#include "game/ai_reach.h"
#include "game/battle_ai.h"
#include "tests/game/battle_play.h"  // failures show the battle as text

namespace {

using battle::Action;

// The kinds' numbers of the shipped game at the time of writing; the tests
// need only their proportions.
BattleUnit Kind(const std::string& kind, int x, int y) {
    struct Numbers {
        const char* kind;
        bool player;
        int size, health, armor, damage;
        float range;
        bool melee;
        int shot;
    };
    const Numbers kinds[] = {
        {"Aqua", true, 1, 12, 0, 4, 4.5f, false, 4},   {"Torp", true, 1, 18, 1, 6, 1.5f, true, 0},
        {"Bati", true, 2, 24, 2, 5, 6, false, 5},      {"Medu", false, 1, 10, 0, 4, 3.5f, false, 4},
        {"Shark", false, 2, 24, 1, 7, 1.5f, true, 0},  {"Paul", false, 2, 30, 2, 6, 1.5f, true, 0},
    };
    BattleUnit u;
    for (const Numbers& k : kinds)
        if (kind == k.kind) {
            u.kind = k.kind;
            u.player = k.player;
            u.size = k.size;
            u.health = k.health;
            u.armor = k.armor;
            u.damage = k.damage;
            u.range = k.range;
            u.melee = k.melee;
            u.shot = k.shot;
        }
    u.x = x;
    u.y = y;
    return u;
}

// A battle in turn `turn` whose first unit acts, the others in the order given.
BattleState Board(std::vector<BattleUnit> units, int turn = 3, Difficulty d = Difficulty::Normal) {
    BattleState s;
    s.difficulty = d;
    s.turn = turn;
    for (BattleUnit& u : units) {
        u.id = s.nextid++;
        s.units.push_back(u);
    }
    SeedBattle(s, 7);
    return s;
}

// Lets unit `id` alone act again and again by the difficulty's play, the
// others standing still, until it can strike or `steps` actions have passed;
// the number of actions taken, or -1 when it never got there.
int ActionsToReach(BattleState s, int id, int steps) {
    for (int k = 0; k < steps; ++k) {
        s.step = static_cast<unsigned>(battle::IndexOf(s, id));
        battle::Find(s, id)->actionpoint = 1;
        Action a = battle::AIChoose(s);
        if (a.kind == Action::Attack) return k;
        battle::Apply(s, id, a);
    }
    return -1;
}

// True when no player unit could strike `u` where it stands before it acts
// again.
bool OutOfDanger(const BattleState& s, const BattleUnit& u) {
    for (const BattleUnit& e : s.units)
        if (e.player && reach::StrikesAfterStep(e.x, e.y, e.size, e.range, u.x, u.y, u.size)) return false;
    return true;
}

}  // namespace

TEST(AITactics, CreaturesGoRoundWhatBlocksTheirStraightStep) {
    for (Difficulty d : {Difficulty::Normal, Difficulty::Hard}) {
        // A shark behind a wall of jellyfish, its diver beyond: the straight
        // step is blocked, the way round is open above and below.
        std::vector<BattleUnit> units{Kind("Shark", 3, 4), Kind("Aqua", 12, 5)};
        for (int y = 2; y <= 7; ++y) units.push_back(Kind("Medu", 5, y));
        for (BattleUnit& u : units)
            if (u.kind == "Aqua") u.range = 0;  // a target that never shoots back
        BattleState s = Board(units, 30, d);
        EXPECT_NE(battle::EasyAction(s).kind, Action::Move) << "the greedy rule freezes";
        int taken = ActionsToReach(s, s.units[0].id, 20);
        EXPECT_GT(taken, 0) << DifficultyName(d);
        EXPECT_LE(taken, 10) << DifficultyName(d);
    }
}

TEST(AITactics, ALoneCreatureHoldsOutOfReachTheGroupClosesInTogether) {
    struct Case {
        const char* what;
        std::vector<BattleUnit> creatures;  // the first acts
        int turn;
        bool entersDanger;
    };
    // A diver at (3, 5) reaches 4.5 cells, after a step from column 4 to
    // column 8: a shark at column 9 is one step from his reach.
    const Case cases[] = {
        {"alone, early", {Kind("Shark", 9, 4), Kind("Shark", 13, 1)}, 3, false},
        {"with the pack at the front", {Kind("Shark", 9, 4), Kind("Shark", 9, 1), Kind("Shark", 9, 7)}, 3, true},
        {"alone, but the battle has waited long enough", {Kind("Shark", 9, 4), Kind("Shark", 13, 1)}, 20, true},
    };
    for (const Case& c : cases) {
        std::vector<BattleUnit> units = c.creatures;
        units.push_back(Kind("Aqua", 3, 5));
        BattleState s = Board(units, c.turn);
        ASSERT_TRUE(OutOfDanger(s, s.units[0])) << c.what;
        battle::Apply(s, s.units[0].id, battle::AIChoose(s));
        EXPECT_EQ(!OutOfDanger(s, s.units[0]), c.entersDanger) << c.what;
    }
}

TEST(AITactics, ACreatureThatOutreachesItsTargetStrikesFromBeyondItsReach) {
    // A jellyfish (3.5) against a torpedo-man (1.5): it comes within its own
    // reach and stays out of his.
    BattleState s = Board({Kind("Medu", 10, 5), Kind("Torp", 4, 5)}, 3);
    for (int k = 0; k < 6; ++k) {
        s.step = 0;
        s.units[0].actionpoint = 1;
        Action a = battle::AIChoose(s);
        if (a.kind == Action::Attack) break;
        battle::Apply(s, s.units[0].id, a);
    }
    EXPECT_TRUE(battle::InReach(s.units[0], s.units[1]));
    EXPECT_FALSE(battle::InReach(s.units[1], s.units[0]));
}

TEST(AITactics, FocusFire) {
    struct Case {
        const char* what;
        std::vector<BattleUnit> units;  // the first acts
        int want;                       // index of the target
    };
    BattleUnit wounded = Kind("Aqua", 5, 4);
    wounded.health = 4;
    BattleUnit weaker = Kind("Aqua", 5, 6);
    weaker.health = 5;
    const Case cases[] = {
        // One blow of 4 finishes the wounded diver; the fresh torpedo-man is
        // nearer but only scratched.
        {"a target it can finish", {Kind("Medu", 7, 5), Kind("Torp", 6, 5), wounded}, 2},
        // Neither falls to one blow; the one the other jellyfish also reach.
        {"a target the others reach too", {Kind("Medu", 8, 5), Kind("Aqua", 6, 3), Kind("Aqua", 6, 7), Kind("Medu", 4, 8)}, 2},
        // In reach of one, it strikes it rather than walking to a weaker one.
        {"strikes what it reaches", {Kind("Shark", 7, 4), Kind("Torp", 9, 4), weaker}, 1},
    };
    for (const Case& c : cases) {
        BattleState s = Board(c.units);
        Action a = battle::AIChoose(s);
        ASSERT_EQ(a.kind, Action::Attack) << c.what;
        EXPECT_EQ(a.target, s.units[static_cast<std::size_t>(c.want)].id) << c.what;
    }
}

TEST(AITactics, NoBattleStallsAgainstAPlayerWhoNeverMoves) {
    for (Difficulty d : {Difficulty::Normal, Difficulty::Hard}) {
        // The diver outreaches everything; the creatures must come to him.
        BattleState s = Board({Kind("Aqua", 2, 5), Kind("Torp", 3, 3), Kind("Medu", 13, 2), Kind("Shark", 12, 7)}, 0, d);
        battle::NextTurn(s);
        battle::PlayResult r = battle::PlayOut(s, battle::Bot::Defender, 60);
        EXPECT_NE(r.outcome, BattleOutcome::None) << DifficultyName(d) << " still going in turn " << r.turns;
    }
}

// A player's settings or a saved battle may give a unit any numbers: a reach
// longer than the sea, below zero or no number at all, blows and health at
// the ends of what a save may hold. The computer still decides on every
// difficulty and the battle plays on (the sanitizer build checks the
// arithmetic on the way).
TEST(AITactics, AnyNumbersAUnitMayCarryStillGiveADecision) {
    const std::pair<const char*, void (*)(BattleUnit&)> spoils[] = {
        {"reach 1e36", [](BattleUnit& u) { u.range = 1e36f; }},
        {"reach -1e36", [](BattleUnit& u) { u.range = -1e36f; }},
        {"reach infinite", [](BattleUnit& u) { u.range = INFINITY; }},
        {"reach no number", [](BattleUnit& u) { u.range = NAN; }},
        {"blows and health at the ends",
         [](BattleUnit& u) { u.damage = u.health = 1000000, u.armor = -1000000; }},
        {"blows and health at the other ends",
         [](BattleUnit& u) { u.damage = u.health = -1000000, u.armor = 1000000; }},
    };
    for (auto [what, spoil] : spoils)
        for (bool creature : {true, false})
            for (Difficulty d : {Difficulty::Easy, Difficulty::Normal, Difficulty::Hard}) {
                std::vector<BattleUnit> units{Kind("Shark", 9, 4), Kind("Aqua", 3, 5),
                                              Kind("Medu", 12, 8), Kind("Torp", 4, 8)};
                spoil(units[creature ? 0 : 1]);
                BattleState s = Board(units, 3, d);
                Action a = battle::AIChoose(s);
                EXPECT_TRUE(a.kind == Action::Stay || a.kind == Action::Move ||
                            a.kind == Action::Attack)
                    << what << (creature ? ", creature" : ", diver");
                battle::PlayOut(s, battle::Bot::Best, 5);
            }
}

TEST(AITactics, TheSameSeedPlaysTheSameBattle) {
    for (Difficulty d : {Difficulty::Easy, Difficulty::Normal, Difficulty::Hard})
        for (battle::Bot b : {battle::Bot::Charger, battle::Bot::Cautious, battle::Bot::Best}) {
            BattleState start = Board({Kind("Aqua", 2, 2), Kind("Bati", 1, 5), Kind("Torp", 3, 8), Kind("Medu", 12, 2),
                                       Kind("Paul", 11, 5), Kind("Shark", 12, 8)},
                                      0, d);
            battle::NextTurn(start);
            BattleState a = start, b2 = start;
            battle::PlayOut(a, b, 60);
            battle::PlayOut(b2, b, 60);
            EXPECT_EQ(a, b2) << DifficultyName(d) << " " << battle::BotName(b);
        }
}

TEST(AIBots, EachBotPlaysItsOwnWay) {
    using battle::Bot;
    BattleUnit hurt = Kind("Medu", 7, 5);
    hurt.health = 3;
    struct Case {
        const char* what;
        Bot bot;
        std::vector<BattleUnit> units;  // the first acts
        Action::Kind kind;
        int target;                    // index, for an attack
        bool closer;                   // a move brings it nearer the nearest enemy
    };
    const Case cases[] = {
        {"the defender waits", Bot::Defender, {Kind("Aqua", 2, 5), Kind("Medu", 12, 5)}, Action::Stay, 0, false},
        {"the defender shoots the weakest in reach", Bot::Defender,
         {Kind("Aqua", 4, 5), Kind("Medu", 7, 3), hurt}, Action::Attack, 2, false},
        {"the charger walks on", Bot::Charger, {Kind("Aqua", 2, 5), Kind("Medu", 12, 5)}, Action::Move, 0, true},
        // Any step nearer brings the torpedo-man within the shark's step and reach.
        {"the cautious one keeps out of reach", Bot::Cautious, {Kind("Torp", 6, 5), Kind("Shark", 9, 5)},
         Action::Stay, 0, false},
        {"the cautious one walks where it is safe", Bot::Cautious, {Kind("Aqua", 2, 5), Kind("Shark", 9, 5)},
         Action::Move, 0, true},
        {"the best bot finishes what it can", Bot::Best, {Kind("Aqua", 4, 5), Kind("Medu", 6, 5), hurt},
         Action::Attack, 2, false},
    };
    for (const Case& c : cases) {
        BattleState s = Board(c.units);
        Action a = battle::BotAction(c.bot, s);
        ASSERT_EQ(a.kind, c.kind) << c.what;
        if (c.kind == Action::Attack) {
            EXPECT_EQ(a.target, s.units[static_cast<std::size_t>(c.target)].id) << c.what;
        }
        if (c.closer) {
            BattleUnit moved = s.units[0];
            moved.x = a.x;
            moved.y = a.y;
            EXPECT_LT(battle::UnitDistance(moved, s.units[1]), battle::UnitDistance(s.units[0], s.units[1])) << c.what;
        }
    }
}
