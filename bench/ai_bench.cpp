// The AI's balance and speed on the shipped levels: every player bot against
// every difficulty on every level, played out without drawing, and the
// slowest Hard decision on the biggest level.
//   build/ai_bench [--seeds N] [--table-only] [benchmark flags]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "game/ai_choose.h"
#include "tests/game/ai_support.h"

namespace {

const int kLevels = 8;
const int kTurnLimit = 60;

std::string DataDir() { return THALOMIR_SHIPPED_DATA_DIR; }

struct KindDamage {
    long taken = 0;
    int units = 0;
};

struct Cell {
    int wins = 0, games = 0, stalls = 0;
    std::vector<int> turns;
};

int Median(std::vector<int> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void PrintTable(int seeds, int onlyBot, int onlyLevel) {
    BattleWorld w(DataDir());
    std::map<std::string, KindDamage> byKind;
    std::printf("%-9s %-7s", "bot", "level");
    for (int d = 0; d < kDifficulties; ++d)
        std::printf(" | %-6s wins  med  max", DifficultyTitle(static_cast<Difficulty>(d)));
    std::printf("\n");
    std::vector<BattleState> levels;
    for (int level = 1; level <= kLevels; ++level) levels.push_back(LevelState(w, level));
    for (int b = 0; b < battle::kBots; ++b) {
        if (onlyBot >= 0 && b != onlyBot) continue;
        for (int level = 1; level <= kLevels; ++level) {
            if (onlyLevel > 0 && level != onlyLevel) continue;
            std::printf("%-9s %-7d", battle::BotName(static_cast<battle::Bot>(b)), level);
            for (int d = 0; d < kDifficulties; ++d) {
                Cell c;
                for (int seed = 0; seed < seeds; ++seed) {
                    BattleState s = SeededState(levels[level - 1], static_cast<Difficulty>(d), uint32_t(seed + 1));
                    std::map<int, std::pair<std::string, int>> start;
                    for (const BattleUnit& u : s.units) start[u.id] = {u.kind, u.health};
                    battle::PlayResult r = battle::PlayOut(s, static_cast<battle::Bot>(b), kTurnLimit);
                    ++c.games;
                    c.wins += r.outcome == BattleOutcome::Won;
                    c.stalls += r.outcome == BattleOutcome::None;
                    c.turns.push_back(r.turns);
                    for (auto& [id, kh] : start) {
                        const BattleUnit* u = battle::Find(s, id);
                        KindDamage& k = byKind[kh.first];
                        k.taken += u ? kh.second - u->health : kh.second;
                        ++k.units;
                    }
                }
                std::printf(" | %3d/%-3d %3d%%  %3d  %3d%s", c.wins, c.games, 100 * c.wins / c.games,
                            Median(c.turns), *std::max_element(c.turns.begin(), c.turns.end()),
                            c.stalls ? "!" : "");
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    std::printf("\ndamage taken per unit, by kind (all games above):\n");
    for (auto& [kind, k] : byKind)
        std::printf("  %-6s %6.1f over %d units\n", kind.c_str(),
                    k.units ? double(k.taken) / k.units : 0.0, k.units);
}

// One game told turn by turn, for tuning: the board at the start of every
// turn (upper case the player's units, lower case the sea creatures') and
// each side's health.
void Trace(int level, Difficulty d, battle::Bot bot, uint32_t seed) {
    BattleWorld w(DataDir());
    BattleState s = SeededState(LevelState(w, level), d, seed);
    int shown = -1;
    while (s.outcome == BattleOutcome::None && s.turn <= kTurnLimit) {
        if (s.turn != shown) {
            shown = s.turn;
            std::printf("turn %d  dealt %d taken %d\n", s.turn, s.stats.dealt, s.stats.taken);
            for (int y = 1; y <= 9; ++y) {
                std::string row;
                for (int x = 1; x <= 14; ++x) {
                    const BattleUnit* u = battle::UnitAt(s, x, y);
                    char c = u ? u->kind[0] : '.';
                    row += u && !u->player ? static_cast<char>(c - 'A' + 'a') : c;
                }
                std::printf("  %s\n", row.c_str());
            }
        }
        const BattleUnit* u = battle::Acting(s);
        battle::Action a = u->player ? battle::BotAction(bot, s) : battle::AIChoose(s);
        battle::Resolve(s, a);
    }
    std::printf("outcome %d after %d turns\n", static_cast<int>(s.outcome), s.turn);
}

// The biggest level: the one with the most units.
int BiggestLevel(BattleWorld& w) {
    int best = 1;
    std::size_t most = 0;
    for (int level = 1; level <= kLevels; ++level) {
        std::size_t units = LevelState(w, level).units.size();
        if (units > most) {
            most = units;
            best = level;
        }
    }
    return best;
}

// The CPU time this thread has used: other programs sharing the machine do
// not count against a decision.
double ThreadMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Every Hard decision of whole games on the biggest level, timed one by one.
void BM_HardDecisionsBiggestLevel(benchmark::State& state) {
    BattleWorld w(DataDir());
    int level = BiggestLevel(w);
    BattleState loaded = LevelState(w, level);
    double slowest = 0, total = 0;
    long decisions = 0;
    uint32_t seed = 1;
    for (auto _ : state) {
        BattleState s = SeededState(loaded, Difficulty::Hard, seed++);
        while (s.outcome == BattleOutcome::None && s.turn <= kTurnLimit) {
            const BattleUnit* u = battle::Acting(s);
            battle::Action a;
            if (u->player) {
                a = battle::BotAction(battle::Bot::Best, s);
            } else {
                double t0 = ThreadMs();
                a = battle::AIChoose(s);
                double ms = ThreadMs() - t0;
                benchmark::DoNotOptimize(a);
                slowest = std::max(slowest, ms);
                total += ms;
                ++decisions;
            }
            battle::Resolve(s, a);
        }
    }
    state.counters["level"] = level;
    state.counters["slowest_ms"] = slowest;
    state.counters["mean_ms"] = decisions ? total / double(decisions) : 0;
    state.counters["decisions"] = double(decisions);
}
BENCHMARK(BM_HardDecisionsBiggestLevel)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    int seeds = 40;
    bool tableOnly = false;
    int onlyBot = -1, onlyLevel = 0;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seeds") && i + 1 < argc)
            seeds = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--level") && i + 1 < argc)
            onlyLevel = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--bot") && i + 1 < argc)
            onlyBot = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--table-only"))
            tableOnly = true;
        else if (!std::strcmp(argv[i], "--trace") && i + 4 < argc) {
            Trace(std::atoi(argv[i + 1]), static_cast<Difficulty>(std::atoi(argv[i + 2])),
                  static_cast<battle::Bot>(std::atoi(argv[i + 3])), uint32_t(std::atoi(argv[i + 4])));
            return 0;
        }
        else
            rest.push_back(argv[i]);
    }
    PrintTable(seeds, onlyBot, onlyLevel);
    if (tableOnly) return 0;
    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
