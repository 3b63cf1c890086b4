// The saved battle: resuming plays on exactly as the battle would have, the
// file is never torn, and a file the game cannot use never stops it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "engine/files.h"
#include "game/battle_saver.h"
#include "tests/game/battle_play.h"
#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

namespace {

// Two sides with a 2x2 unit and ranged units on each.
const std::vector<BattleWorld::Unit> kDuel = {{"Bati", 2, 3}, {"Aqua", 3, 7}, {"Torp", 5, 6},
                                              {"Shark", 10, 3}, {"Medu", 12, 7}, {"Paul", 9, 6}};

// Where a player's battle is broken off: after its `nth` decision (counted
// from 0), and how.
struct Break {
    const char* what;
    int nth;  // -1: never
    enum How { Kill, Exit } how = Kill;
    battle::Action::Kind kind = battle::Action::Stay;  // the kind of action to break after
    int size = 0;        // ... by a unit of this size (0: any)
    bool melee = false;  // an attack: a strike, else a shot
};

bool Matches(const Break& b, const battle::Action& a, const BattleUnit& u) {
    return a.kind == b.kind && (!b.size || u.size == b.size) && (a.kind != battle::Action::Attack || u.melee == b.melee);
}

// Plays kDuel on level 1 from the level choice to its end. When `b` says so,
// the game is left after the player's matching decision: killed (the file as
// the last resolved action left it is all there is) or exited (the game saves
// on its way out, a shot still in flight or a unit still gliding). A fresh
// game then continues it.
BattleState Play(const Break& b, int* broke = nullptr) {
    BattleWorld w;
    w.WriteLevel(1, kDuel);
    w.Start(1);
    int matched = 0;
    for (int f = 0; f < 20000 && cGame::battle.outcome == BattleOutcome::None; ++f) {
        if (!PlayersDecision()) {
            w.Frame(0.25f);
            continue;
        }
        battle::Action a = PlayerChoice(cGame::battle);
        BattleUnit actor = *battle::Acting(cGame::battle);
        EXPECT_TRUE(w.game->Perform(a));
        if (!Matches(b, a, actor) || matched++ != b.nth) continue;
        // Killed, the game writes nothing more: the file holds the battle as
        // the last resolved action left it.
        if (b.how == Break::Kill) w.game->battleLive = false;
        w.Restart();
        if (broke) *broke = f;
        EXPECT_TRUE(w.game->savedBattle) << b.what;
        if (!w.game->ResumeBattle()) break;
        w.game->gamestate = GS_GAME;
    }
    return cGame::battle;
}

}  // namespace

// The battle played through, and the same battle left and continued at
// several points, end in the same state.
TEST(Resume, ContinuesExactlyAsTheBattleWouldHaveGoneOn) {
    const BattleState whole = Play({"never", -1});
    ASSERT_NE(whole.outcome, BattleOutcome::None);
    const Break breaks[] = {
        {"killed after a first step", 0, Break::Kill, battle::Action::Move},
        {"killed after a later shot", 2, Break::Kill, battle::Action::Attack},
        {"exited with a shot in flight", 1, Break::Exit, battle::Action::Attack},
        {"exited while a 2x2 unit glides", 0, Break::Exit, battle::Action::Move, 2},
        {"exited as a strike plays", 0, Break::Exit, battle::Action::Attack, 0, true},
    };
    for (const Break& b : breaks) {
        int at = -1;
        BattleState resumed = Play(b, &at);
        EXPECT_NE(at, -1) << b.what << ": the battle never came to that point";
        EXPECT_EQ(resumed, whole) << b.what;
    }
}

namespace {

class SaveTest : public ::testing::Test {
protected:
    void StartDuel() {
        w.WriteLevel(1, kDuel);
        w.Start(1);
    }
    std::string Path() { return w.game->BattleFile(false); }
    std::string Rel() { return std::filesystem::relative(Path(), w.eng.dir).string(); }
    // The file once the saves asked for so far are done.
    std::string File() {
        w.game->saver->Flush();
        return w.eng.ReadFile(Rel());
    }
    bool Exists() {
        w.game->saver->Flush();
        return std::filesystem::exists(Path());
    }

    BattleWorld w;
};

}  // namespace

TEST_F(SaveTest, SavedFromTheFirstTurnRemovedWhenWonOrGivenUp) {
    StartDuel();
    ASSERT_TRUE(Exists());
    BattleState s;
    ASSERT_EQ(ReadBattle(File(), s), BattleRead::Ok);
    EXPECT_EQ(s, cGame::battle);

    // Won: the file goes.
    w.WriteLevel(2, {{"Aqua", 2, 5}, {"Medu", 5, 5}});
    w.Start(2);
    w.SetOrder({w.UnitAt(2, 5), w.UnitAt(5, 5)});
    ASSERT_TRUE(w.game->Perform(battle::Action::AttackUnit(w.UnitAt(5, 5)->Id())));
    w.Settle();
    w.Frame();
    ASSERT_EQ(w.game->banner, BANNER_VICTORY);
    EXPECT_FALSE(Exists());

    // Given up: asked, then gone.
    StartDuel();
    ASSERT_TRUE(Exists());
    w.game->LeaveBattle();
    EXPECT_FALSE(Exists());
    w.Restart();
    EXPECT_FALSE(w.game->savedBattle);

    // A level started from a file of the player's own is not kept.
    w.WriteLevel(3, kDuel);
    w.game->LoadLevelFile("res\\lvl3.txt");
    w.game->gamestate = GS_GAME;
    UntilPlayersDecision(w);
    ASSERT_TRUE(w.game->Perform(battle::Action::StayPut()));
    w.Restart();
    EXPECT_FALSE(Exists());
}

// Whatever is wrong with the file, it is kept aside with one log line and the
// game starts without Continue; the battle saved next is a good file again.
TEST_F(SaveTest, DamagedFilesAreKeptAsideAndTheGameStartsNormally) {
    StartDuel();
    const std::string good = File();
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"empty", ""},
        {"cut short", good.substr(0, good.size() - 20)},
        {"garbage", "\x7f" "ELF\x02\x01\x01 not a battle at all"},
        {"an unknown kind", std::string(good).replace(good.find("kind=Bati"), 9, "kind=Crab")},
        {"a battle already won", std::string(good).replace(good.find("outcome none"), 12, "outcome won")},
        {"too large", good + std::string(2 << 20, ' ')},
    };
    for (const Case& c : cases) {
        w.game->battleLive = false;
        w.eng.WriteFile(Rel(), c.text);
        w.hl->ClearLog();
        w.Restart();
        EXPECT_FALSE(w.game->savedBattle) << c.what;
        EXPECT_FALSE(Exists()) << c.what;
        EXPECT_EQ(w.eng.LogCount("battle.txt"), 1) << c.what;
        EXPECT_TRUE(w.eng.LogHas("kept as")) << c.what;
        StartDuel();
        BattleState s;
        EXPECT_EQ(ReadBattle(File(), s), BattleRead::Ok) << c.what;
    }
    // A folder in the file's place: no Continue, and no harm.
    w.game->battleLive = false;
    std::filesystem::remove(Path());
    std::filesystem::create_directory(Path());
    w.Restart();
    EXPECT_FALSE(w.game->savedBattle);
}

TEST_F(SaveTest, ANewerGamesBattleIsLeftAsItIs) {
    StartDuel();
    w.game->battleLive = false;
    std::string newer = File();
    newer.replace(newer.find("battle 1"), 8, "battle 9");
    w.eng.WriteFile(Rel(), newer);
    w.hl->ClearLog();
    w.Restart();
    EXPECT_FALSE(w.game->savedBattle);
    EXPECT_TRUE(w.eng.LogHas("newer version"));
    // Neither a new battle, nor its end, nor leaving the game touches it.
    StartDuel();
    UntilPlayersDecision(w);
    ASSERT_TRUE(w.game->Perform(battle::Action::StayPut()));
    w.game->LeaveBattle();
    w.Restart();
    EXPECT_EQ(File(), newer);
}

// Each Continue counts until the game ends cleanly; a battle that brought the
// game down twice in a row is kept aside instead of started a third time.
TEST_F(SaveTest, TwoAbnormalEndsOfAResumedBattleSetItAside) {
    StartDuel();
    w.Restart();  // a clean end: Continue is offered
    for (int start = 1; start <= 2; ++start) {
        ASSERT_TRUE(w.game->savedBattle) << start;
        ASSERT_TRUE(w.game->ResumeBattle());
        EXPECT_EQ(w.game->battleStarts, start);
        w.game->battleLive = false;  // the game dies: nothing more is written
        w.Restart();
    }
    EXPECT_FALSE(w.game->savedBattle);
    EXPECT_TRUE(w.eng.LogHas("abnormally 2 times in a row"));

    // A clean end in between starts the count afresh.
    StartDuel();
    w.Restart();
    ASSERT_TRUE(w.game->ResumeBattle());
    w.Restart();
    ASSERT_TRUE(w.game->ResumeBattle());
    EXPECT_EQ(w.game->battleStarts, 1);
}

// The child of the test below: the save the game makes, of the two texts
// beside the file in turn, over and over until it is killed. It says when its
// first save is made.
const char* const kSaverFile = "THALOMIR_BATTLE_SAVER_FILE";
const char* const kSaverReady = "saving";  // a line of its own

TEST(SaveChild, DISABLED_SaveForever) {
    const char* path = std::getenv(kSaverFile);
    ASSERT_NE(path, nullptr);
    std::string texts[2];
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(tideReadFile(path + std::string(i ? ".b" : ".a"), texts[i]));
    for (int i = 0;; ++i) {
        cGame::WriteBattleFile(path, texts[i % 2], nullptr);
        if (i == 0) {
            std::printf("%s\n", kSaverReady);
            std::fflush(stdout);
        }
    }
}

// The game killed at any moment of a save leaves the old file or the new one,
// never a torn one.
TEST_F(SaveTest, KilledWhileSavingLeavesTheOldOrTheNewFile) {
    StartDuel();
    BattleState a = cGame::battle, b = a;
    b.units[0].health += 1;
    b.stats.dealt += 7;
    const std::string texts[2] = {WriteBattle(a), WriteBattle(b)};
    const std::string path = Path();
    w.game->saver->Flush();
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(tideWriteFileAtomic(path + (i ? ".b" : ".a"), texts[i]));
    ScopedEnv env{{kSaverFile, path.c_str()}};
    std::mt19937 rng(12345);
    for (int round = 0; round < 12; ++round) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(TestProgram(), OneTest("SaveChild.DISABLED_SaveForever"), 60));
        while (saver.out.find(kSaverReady) == std::string::npos && !saver.Read(1).empty()) {
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(200, 20000)(rng)));
        EXPECT_TRUE(saver.Kill()) << "the saver ended by itself: " << saver.how << "\n" << saver.out;
        saver.Wait();
        std::string text = File();
        EXPECT_TRUE(text == texts[0] || text == texts[1]) << "round " << round << ":\n" << text;
    }
}
