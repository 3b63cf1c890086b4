// One full battle frame (update and drawing) with 20 units on the headless
// engine.
#include <benchmark/benchmark.h>

#include "tests/game/battle_world.h"

namespace {

// Ten units a side in two facing columns, out of each other's reach, so the
// frames measured are the steady ones of a battle waiting for the player.
std::vector<BattleWorld::Unit> TwentyUnits() {
    std::vector<BattleWorld::Unit> units;
    for (int i = 0; i < 10; ++i) {
        units.push_back({i % 2 ? "Torp" : "Aqua", 1 + i % 2, 1 + i % 9});
        units.push_back({"Medu", 13 + i % 2, 1 + i % 9});
    }
    return units;
}

void BM_BattleFrame(benchmark::State& state) {
    BattleWorld w("[aqua]\nrange=2\n[torp]\nrange=1\n[medu]\nrange=2\n");
    w.Start(TwentyUnits());
    // A player unit acts and waits for a click: nobody moves.
    for (cUnit* u : w.game->units)
        if (u->IsPlayerControlled()) {
            w.MakeActing(u);
            break;
        }
    w.hl->SetMouse(700, 300);
    for (auto _ : state) w.Frame(1.0f / 60.0f);
    state.counters["units"] = static_cast<double>(w.game->units.size());
    state.counters["quads"] = static_cast<double>(w.hl->Quads().size());
}
BENCHMARK(BM_BattleFrame);

}  // namespace

BENCHMARK_MAIN();
