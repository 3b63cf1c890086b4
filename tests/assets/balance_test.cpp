// Balance of the shipped levels: the strongest player bot against each
// difficulty wins within its band on every level, a player who never moves
// rarely wins on Normal, and no battle drags on. The battles are played on
// the battle state without drawing; the full table (every bot, level and
// difficulty) is printed by build/ai_bench.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/assets/shipped_data.h"
#include "tests/game/ai_support.h"

namespace {

const int kTurnLimit = 60;

// Battles per level. The sanitizer build plays a sample for what it checks
// (memory, ends within the limit); eight battles are too few to place a
// win rate in a band, so it does not judge the bands.
int Seeds() { return SanitizedBuild() ? 8 : 40; }

// Wins, in percent of the battles, the best bot must reach on each level,
// inclusive.
struct Band {
    int min, max;
};
struct Bands {
    Difficulty difficulty;
    Band levels[8];
};
const Band kFirst[3] = {{90, 100}, {90, 100}, {60, 100}};  // levels 1-2
const Band kMiddle[3] = {{80, 100}, {50, 90}, {20, 70}};   // levels 3-5
const Band kLast[3] = {{50, 100}, {15, 60}, {5, 35}};      // levels 6-8

Band BandFor(Difficulty d, int level) {
    int i = static_cast<int>(d);
    return level <= 2 ? kFirst[i] : level <= 5 ? kMiddle[i] : kLast[i];
}

class Balance : public ::testing::Test {
protected:
    Balance() : w(ShippedDataDir()) {
        for (int level = 1; level <= 8; ++level) levels.push_back(LevelState(w, level));
    }
    // Wins of `bot` out of Seeds() battles of `level`; every battle must end
    // within the turn limit.
    int Wins(battle::Bot bot, int level, Difficulty d) {
        int wins = 0;
        for (int seed = 1; seed <= Seeds(); ++seed) {
            BattleState s = SeededState(levels[static_cast<std::size_t>(level - 1)], d, static_cast<uint32_t>(seed));
            battle::PlayResult r = battle::PlayOut(s, bot, kTurnLimit);
            EXPECT_NE(r.outcome, BattleOutcome::None) << battle::BotName(bot) << " on level " << level << " ("
                                                      << DifficultyName(d) << ", seed " << seed << ") reached turn "
                                                      << r.turns;
            wins += r.outcome == BattleOutcome::Won;
        }
        return wins;
    }
    void ExpectBands(Difficulty d) {
        for (int level = 1; level <= 8; ++level) {
            int wins = Wins(battle::Bot::Best, level, d);
            int percent = 100 * wins / Seeds();
            std::printf("%s, level %d: best bot won %d of %d\n", DifficultyName(d), level, wins, Seeds());
            if (SanitizedBuild()) continue;
            Band b = BandFor(d, level);
            EXPECT_GE(percent, b.min) << DifficultyName(d) << ", level " << level;
            EXPECT_LE(percent, b.max) << DifficultyName(d) << ", level " << level;
        }
    }

    BattleWorld w;
    std::vector<BattleState> levels;
};

}  // namespace

// One test per difficulty, so that they run side by side.
TEST_F(Balance, EasyBands) { ExpectBands(Difficulty::Easy); }
TEST_F(Balance, NormalBands) { ExpectBands(Difficulty::Normal); }
TEST_F(Balance, HardBands) { ExpectBands(Difficulty::Hard); }

TEST_F(Balance, OnNormalAPlayerWhoNeverMovesRarelyWins) {
    int wins = 0;
    for (int level = 4; level <= 8; ++level) wins += Wins(battle::Bot::Defender, level, Difficulty::Normal);
    std::printf("normal, levels 4-8: defender won %d of %d\n", wins, 5 * Seeds());
    EXPECT_LE(100 * wins, 20 * 5 * Seeds());
}
