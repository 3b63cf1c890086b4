// Resource layer speed: parsing large generated scripts and looking names up.
// After the runs it prints each goal as a figure beside its bound, so a busy
// machine's noise cancels in the ratios:
//   parse speed of a 1 MB script (>= 60 MB/s), the 2 MB parse time over the
//   1 MB one (<= 2.2: linear), and sprite lookups per second at the oldest,
//   middle and newest position of a list of thousands (>= 5 M/s each).
// Times are CPU times, so other work on the machine does not count.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/tide.h"
#include "res/resource_manager.h"

namespace {

namespace fs = std::filesystem;

// A headless engine on a temporary data folder holding the generated scripts.
class BenchEngine {
public:
    BenchEngine() {
        dir = fs::temp_directory_path() / ("thalomir_res_bench_" + std::to_string(getpid()));
        fs::create_directories(dir);
        tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_HEADLESS, true);
        tide->System_SetState(TIDE_DATAPATH, dir.c_str());
        tide->System_Initiate();
        for (int mb = 1; mb <= 2; ++mb) scriptSize[mb] = Generate(mb, spriteNames[mb]);
    }
    ~BenchEngine() {
        tide->System_Shutdown();
        tide->Release();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    static std::string Script(int mb) { return "big" + std::to_string(mb) + ".txt"; }

    Tide* tide;
    fs::path dir;
    size_t scriptSize[3] = {};
    std::vector<std::string> spriteNames[3];  // in declaration order: oldest first

private:
    // `mb` megabytes of every kind of block, with comments, bases and lists.
    size_t Generate(int mb, std::vector<std::string>& names) {
        std::string s;
        char buf[1024];
        for (int i = 0; s.size() < (size_t(mb) << 20); ++i) {
            snprintf(
                buf, sizeof(buf),
                "; group %d\n"
                "Texture tex%d { filename = \"gfx\\\\tex%d.png\" resgroup = %d mipmap = false }\n"
                "Sprite spr%d { texture = tex%d rect = 0, 0, 32, 32 hotspot = 16, 16\n"
                "  blendmode = COLORADD, ALPHABLEND, NOZWRITE color = FF80FF80 zorder = 0.5 }\n"
                "Animation anim%d { texture = tex%d rect = 0, 32, 32, 32 frames = 4 fps = 8\n"
                "  mode = FORWARD, LOOP }\n"
                "Sound snd%d { filename = snd%d.wav }\n"
                "Font fnt%d { filename = font%d.fnt scale = 1.5 tracking = -1 }\n",
                i, i, i, i % 8, i, i, i, i, i, i, i, i);
            s += buf;
            names.push_back("spr" + std::to_string(i));
        }
        std::ofstream(dir / Script(mb), std::ios::binary) << s;
        return s.size();
    }
};

BenchEngine& Engine() {
    static BenchEngine engine;
    return engine;
}

void BM_ParseScript(benchmark::State& state) {
    BenchEngine& e = Engine();
    const int mb = int(state.range(0));
    const std::string script = BenchEngine::Script(mb);
    for (auto _ : state) {
        tideResourceManager rm(script.c_str());
        benchmark::DoNotOptimize(rm.res[RES_SPRITE]);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(e.scriptSize[mb]));
}
BENCHMARK(BM_ParseScript)->Arg(1)->Arg(2)->Repetitions(5)->Unit(benchmark::kMillisecond);

// 10,000 lookups of one sprite of the 2 MB script per iteration: the oldest
// (the end of its list), the middle one, the newest (the head), or spread
// over all of them. Each sprite is made on its first lookup, before timing.
enum Position { OLDEST, MIDDLE, NEWEST, SPREAD };

void BM_LookupSprite(benchmark::State& state) {
    BenchEngine& e = Engine();
    const std::vector<std::string>& names = e.spriteNames[2];
    tideResourceManager rm(BenchEngine::Script(2).c_str());
    const size_t n = names.size();
    for (const std::string& name : names) rm.GetSprite(name.c_str());
    const Position pos = Position(state.range(0));
    auto pick = [&](size_t i) -> const std::string& {
        switch (pos) {
            case OLDEST: return names.front();
            case MIDDLE: return names[n / 2];
            case NEWEST: return names.back();
            default: return names[(i * 7919) % n];
        }
    };
    for (auto _ : state)
        for (size_t i = 0; i < 10000; ++i) benchmark::DoNotOptimize(rm.GetSprite(pick(i).c_str()));
    state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
}
BENCHMARK(BM_LookupSprite)
    ->Arg(OLDEST)
    ->Arg(MIDDLE)
    ->Arg(NEWEST)
    ->Arg(SPREAD)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

// Keeps the best repetition of every benchmark, its CPU time and its rate
// (the library's rates are per CPU second), while the console shows them
// all: other work on the machine only ever makes a run slower.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred) {
                const std::string name = r.run_name.function_name + "/" + r.run_name.args;
                const double s = r.GetAdjustedCPUTime() / 1e3;  // ms units
                if (!seconds.count(name) || s < seconds[name]) seconds[name] = s;
                auto it = r.counters.find("items_per_second");
                if (it != r.counters.end() && it->second > rate[name]) rate[name] = it->second;
            }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> seconds, rate;
};

void PrintGoals(const GoalReporter& rep) {
    const BenchEngine& e = Engine();
    auto time = [&](const std::string& name) {
        auto it = rep.seconds.find(name);
        return it == rep.seconds.end() ? 0.0 : it->second;
    };
    double t1 = time("BM_ParseScript/1"), t2 = time("BM_ParseScript/2");
    std::printf("\nGoals\n");
    if (t1 > 0) {
        double mbps = double(e.scriptSize[1]) / double(1 << 20) / t1;
        std::printf("  parse 1 MB: %.1f MB/s, %.2f of the 60 MB/s floor (>= 1)\n", mbps, mbps / 60);
    }
    if (t1 > 0 && t2 > 0)
        std::printf("  parse 2 MB / 1 MB: %.2f times the time (<= 2.2)\n", t2 / t1);
    const char* names[] = {"oldest", "middle", "newest", "spread"};
    for (int p = OLDEST; p <= SPREAD; ++p) {
        auto it = rep.rate.find("BM_LookupSprite/" + std::to_string(p));
        if (it != rep.rate.end())
            std::printf("  lookups, %s: %.1f M/s, %.2f of the 5 M/s floor (>= 1)\n", names[p],
                        it->second / 1e6, it->second / 5e6);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    GoalReporter rep;
    benchmark::RunSpecifiedBenchmarks(&rep);
    PrintGoals(rep);
    benchmark::Shutdown();
    return 0;
}
