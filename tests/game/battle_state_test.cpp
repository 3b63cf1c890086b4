// The battle as a value: its text form, and the rules run at once agreeing
// with the battle played out on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "game/battle_ai.h"
#include "tests/game/battle_play.h"

namespace {

const std::vector<BattleWorld::Unit> kSkirmish = {{"Aqua", 2, 3},   {"Torp", 3, 6},  {"Bati", 2, 8},
                                                  {"Medu", 11, 2},  {"Shark", 10, 5}, {"Paul", 11, 8}};

// Plays the loaded battle on screen to its end: the test's player through
// Perform, when the player could act (no lock, and the dead gone, as they are
// before the game looks at input), the computer through the game's frames.
void PlayOnScreen(BattleWorld& w, int turnLimit = 60) {
    const BattleState& s = cGame::battle;
    for (int f = 0; f < 100000 && s.outcome == BattleOutcome::None && s.turn <= turnLimit; ++f) {
        if (PlayersDecision()) {
            ASSERT_TRUE(w.game->Perform(PlayerChoice(s)));
        }
        w.Frame(0.25f);
    }
}

// The same battle with every action resolved at once.
void PlayAtOnce(BattleState& s, int turnLimit = 60) {
    while (s.outcome == BattleOutcome::None && s.turn <= turnLimit) {
        const BattleUnit* u = battle::Acting(s);
        ASSERT_NE(u, nullptr);
        ASSERT_TRUE(battle::Resolve(s, u->player ? PlayerChoice(s) : battle::EasyAction(s)));
    }
}

// A battle some actions in, with every field away from its default; built
// once.
BattleState MidBattle() {
    static const BattleState made = [] {
        BattleWorld w;
        w.Start(kSkirmish);
        for (int i = 0; i < 6; ++i) {
            const BattleUnit* u = battle::Acting(cGame::battle);
            if (u->player) w.game->Perform(PlayerChoice(cGame::battle));
            w.Settle();
            w.Frame();
        }
        BattleState s = cGame::battle;
        s.difficulty = Difficulty::Hard;
        s.stats = {1, 2, 30, 4, 5, 6};
        s.pending = PendingHit{s.units[0].id, s.units[1].id, 3};
        s.units[1].range = 2.5f;
        s.units[1].health = -2;
        s.level = "res\\levels\\my level.txt";
        return s;
    }();
    return made;
}

}  // namespace

TEST(BattleText, RoundTripKeepsEveryFieldAndByte) {
    BattleState s = MidBattle();
    std::string text = WriteBattle(s, 1);
    BattleState back;
    int resumes = 0;
    ASSERT_EQ(ReadBattle(text, back, nullptr, &resumes), BattleRead::Ok) << text;
    EXPECT_EQ(back, s);
    EXPECT_EQ(resumes, 1);
    EXPECT_EQ(WriteBattle(back, 1), text);
    EXPECT_EQ(BattleHash(back), BattleHash(s));
    back.units[2].actionpoint ^= 1;
    EXPECT_NE(BattleHash(back), BattleHash(s));
}

TEST(BattleText, DamagedOrNewerTextsAreRefusedWhole) {
    const std::string good = WriteBattle(MidBattle());
    auto edit = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        std::size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    struct Case {
        const char* what;
        std::string text;
        BattleRead want;
    };
    const Case cases[] = {
        {"empty", "", BattleRead::Damaged},
        {"cut short", good.substr(0, good.size() / 2), BattleRead::Damaged},
        {"no end", edit("end\n", ""), BattleRead::Damaged},
        {"text after the end", good + "unit id=99\n", BattleRead::Damaged},
        {"binary", edit("turn", std::string("tu\0rn", 5)), BattleRead::Damaged},
        {"older version 0", edit("battle 1", "battle 0"), BattleRead::Damaged},
        {"newer version", edit("battle 1", "battle 2"), BattleRead::Newer},
        {"unknown line", edit("stats", "weather calm\nstats"), BattleRead::Damaged},
        {"unknown field", edit(" ap=", " mood=1 ap="), BattleRead::Damaged},
        {"field out of order", edit("x=", "y=0 x="), BattleRead::Damaged},
        {"bad number", edit("turn ", "turn x"), BattleRead::Damaged},
        {"not a range", edit("range=2.5", "range=nan"), BattleRead::Damaged},
        {"unknown difficulty", edit("difficulty hard", "difficulty brutal"), BattleRead::Damaged},
        {"duplicate line", edit("turn", "turn 1\nturn"), BattleRead::Damaged},
    };
    for (const Case& c : cases) {
        BattleState out;
        out.turn = 77;
        std::string why;
        EXPECT_EQ(ReadBattle(c.text, out, &why), c.want) << c.what;
        EXPECT_EQ(out.turn, 77) << c.what;  // left as it was
        EXPECT_FALSE(why.empty()) << c.what;
    }
    // Every line well formed, the battle impossible.
    const std::pair<const char*, void (*)(BattleState&)> impossible[] = {
        {"off the board", [](BattleState& s) { s.units[0].x = 17 - s.units[0].size; }},
        {"two on one cell", [](BattleState& s) { s.units[1].x = s.units[0].x, s.units[1].y = s.units[0].y; }},
        {"two with one id", [](BattleState& s) { s.units[1].id = s.units[0].id; }},
        {"id not below nextid", [](BattleState& s) { s.nextid = s.units[0].id; }},
        {"step past the units", [](BattleState& s) { s.step = static_cast<unsigned>(s.units.size()); }},
        {"dice stuck at zero", [](BattleState& s) { s.rng = 0; }},
        {"shot at nobody", [](BattleState& s) { s.pending->target = 999; }},
    };
    for (auto [what, spoil] : impossible) {
        BattleState s = MidBattle(), out;
        spoil(s);
        EXPECT_EQ(ReadBattle(WriteBattle(s), out), BattleRead::Damaged) << what;
    }
}

// The screen spreads an action over frames (the glide, the flight, the dead
// leaving on the next frame); resolved at once, the same battle ends the same.
TEST(BattleRules, ResolvingAtOnceEndsAsTheBattleOnScreen) {
    BattleWorld w;
    w.Start(kSkirmish);
    BattleState start = cGame::battle;
    PlayOnScreen(w);
    ASSERT_NE(cGame::battle.outcome, BattleOutcome::None);
    BattleState fast = start;
    PlayAtOnce(fast);
    EXPECT_EQ(fast, cGame::battle);
    EXPECT_GT(fast.stats.dealt, 0);
    EXPECT_GT(fast.stats.actions, 0);
}

// A saved battle may bring its counts up to the largest int: they stay there
// through hits, deaths, actions and an undo, and the battle is saved as one
// that reads back.
TEST(BattleRules, CountsStopAtTheLargestInt) {
    const BattleStats full{INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    BattleWorld w;
    w.Start(kSkirmish);
    BattleState s = cGame::battle;
    s.stats = full;
    PlayAtOnce(s);
    ASSERT_NE(s.outcome, BattleOutcome::None);
    EXPECT_EQ(s.stats, full);
    BattleState back;
    EXPECT_EQ(ReadBattle(WriteBattle(s), back), BattleRead::Ok);

    cGame::battle.stats = full;
    ASSERT_TRUE(w.game->Perform(battle::Action::StayPut()));
    w.Settle();
    w.Press(TIDEK_A + ('U' - 'A'));
    EXPECT_EQ(cGame::battle.stats.undone, INT_MAX);
}

namespace {

BattleState WithUndone(BattleState s, int undone) {
    s.stats.undone = undone;
    return s;
}

const int kKeyU = TIDEK_A + ('U' - 'A');
const int kKeyZ = TIDEK_A + ('Z' - 'A');

void CtrlZ(BattleWorld& w) {
    w.hl->Key(TIDEK_CTRL, true);
    w.Press(kKeyZ);
    w.hl->Key(TIDEK_CTRL, false);
}

}  // namespace

// The player's Aqua kills a Medu, the computer answers; taking it back brings
// the Medu back to its cell and the computer's units to theirs, and the same
// shot again plays out exactly as the first time.
TEST(Undo, TakesBackTheComputersAnswerAndRollsTheSameDice) {
    BattleWorld w;
    cGame& g = *w.game;
    w.Start({{"Aqua", 2, 5}, {"Medu", 5, 5}, {"Torp", 3, 8}, {"Shark", 9, 3}, {"Paul", 10, 7}});
    w.SetOrder({w.UnitAt(2, 5), w.UnitAt(9, 3), w.UnitAt(10, 7), w.UnitAt(5, 5), w.UnitAt(3, 8)});
    cGame::turn = 3;  // past the Medu's waiting
    const BattleState start = cGame::battle;

    w.Press(kKeyU);  // nothing to take back yet
    EXPECT_EQ(cGame::battle, start);
    EXPECT_EQ(g.notice, "Nothing to take back");

    const battle::Action shot = battle::Action::AttackUnit(w.UnitAt(5, 5)->Id());
    ASSERT_TRUE(g.Perform(shot));
    UntilPlayersDecision(w);
    const BattleState after = cGame::battle;
    ASSERT_EQ(battle::Find(after, start.units[3].id), nullptr);  // the Medu is gone
    ASSERT_NE(battle::Find(after, start.units[1].id)->x, start.units[1].x);  // the Shark came closer

    CtrlZ(w);
    EXPECT_EQ(cGame::battle, WithUndone(start, 1));
    // The views follow: the Medu stands on its cell again, the Shark on its own.
    ASSERT_NE(w.UnitAt(5, 5), nullptr);
    EXPECT_EQ(w.UnitAt(5, 5)->Id(), start.units[3].id);
    EXPECT_EQ(w.UnitAt(9, 3)->Id(), start.units[1].id);
    EXPECT_EQ(g.units.size(), start.units.size());
    EXPECT_EQ(g.selunit, w.UnitAt(2, 5));

    ASSERT_TRUE(g.Perform(shot));
    UntilPlayersDecision(w);
    EXPECT_EQ(cGame::battle, WithUndone(after, 1));
}

// Each press goes one action further back on Easy and Normal, as far as the
// battle's start; on Hard only the last action. A press while an action plays
// out is kept until it has; the button and a gamepad's Y do what the keys do.
TEST(Undo, HowFarBackByDifficultyAndWhileAnActionPlays) {
    for (Difficulty d : {Difficulty::Normal, Difficulty::Hard}) {
        SCOPED_TRACE(DifficultyName(d));
        BattleWorld w;
        cGame& g = *w.game;
        g.difficulty = d;
        w.Start({{"Aqua", 2, 5}, {"Torp", 2, 7}, {"Medu", 12, 2}});
        w.SetOrder({w.UnitAt(2, 5), w.UnitAt(2, 7), w.UnitAt(12, 2)});
        const BattleState start = cGame::battle;

        ASSERT_TRUE(g.Perform(battle::Action::MoveTo(3, 5)));
        w.Press(kKeyU);  // during the glide: waits for it
        EXPECT_TRUE(cGame::IsControlLocked());
        w.Settle();
        w.Frame();
        EXPECT_EQ(cGame::battle, WithUndone(start, 1));

        ASSERT_TRUE(g.Perform(battle::Action::StayPut()));
        const BattleState one = cGame::battle;
        ASSERT_TRUE(g.Perform(battle::Action::MoveTo(3, 7)));
        w.Settle();
        w.Click(50, 700);  // the button
        EXPECT_EQ(cGame::battle, WithUndone(one, 2));
        w.Press(TIDEK_PAD_Y);  // a gamepad's Y as U
        if (d == Difficulty::Hard) {
            EXPECT_EQ(cGame::battle, WithUndone(one, 2));
            EXPECT_EQ(g.notice, "On Hard only the last action can be taken back");
        } else {
            EXPECT_EQ(cGame::battle, WithUndone(start, 3));
        }
    }
}

TEST(Undo, NotAfterTheBattleEnded) {
    BattleWorld w;
    cGame& g = *w.game;
    w.Start({{"Aqua", 2, 5}, {"Medu", 5, 5}});
    w.SetOrder({w.UnitAt(2, 5), w.UnitAt(5, 5)});
    ASSERT_TRUE(g.Perform(battle::Action::AttackUnit(w.UnitAt(5, 5)->Id())));
    w.Settle();
    w.Frame();
    ASSERT_EQ(cGame::battle.outcome, BattleOutcome::Won);
    const BattleState won = cGame::battle;
    g.RequestUndo();
    EXPECT_FALSE(g.UndoNow());
    EXPECT_EQ(cGame::battle, won);
    EXPECT_EQ(g.notice, "The battle is over");
}
