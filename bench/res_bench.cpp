// Resource layer speed: parsing a large generated script and looking names up.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/tide.h"
#include "res/resource_manager.h"

namespace {

namespace fs = std::filesystem;

// A headless engine on a temporary data folder holding the generated script.
class BenchEngine {
public:
    BenchEngine() {
        dir = fs::temp_directory_path() / ("thalomir_res_bench_" + std::to_string(getpid()));
        fs::create_directories(dir);
        tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_HEADLESS, true);
        tide->System_SetState(TIDE_DATAPATH, dir.c_str());
        tide->System_Initiate();
        Generate();
    }
    ~BenchEngine() {
        tide->System_Shutdown();
        tide->Release();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    Tide* tide;
    fs::path dir;
    size_t scriptSize = 0;
    std::vector<std::string> spriteNames;

private:
    // About 1 MB of every kind of block, with comments, bases and lists.
    void Generate() {
        std::string s;
        char buf[1024];
        for (int i = 0; s.size() < (1u << 20); ++i) {
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
            spriteNames.push_back("spr" + std::to_string(i));
        }
        std::ofstream(dir / "big.txt", std::ios::binary) << s;
        scriptSize = s.size();
    }
};

BenchEngine& Engine() {
    static BenchEngine engine;
    return engine;
}

void BM_ParseScript(benchmark::State& state) {
    BenchEngine& e = Engine();
    for (auto _ : state) {
        tideResourceManager rm("big.txt");
        benchmark::DoNotOptimize(rm.res[RES_SPRITE]);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(e.scriptSize));
}
BENCHMARK(BM_ParseScript)->Unit(benchmark::kMillisecond);

// 10,000 sprite lookups spread over every declared name; each sprite is made
// on its first lookup, before timing starts.
void BM_LookupNames(benchmark::State& state) {
    BenchEngine& e = Engine();
    tideResourceManager rm("big.txt");
    const size_t n = e.spriteNames.size();
    for (const std::string& name : e.spriteNames) rm.GetSprite(name.c_str());
    for (auto _ : state) {
        for (size_t i = 0; i < 10000; ++i)
            benchmark::DoNotOptimize(rm.GetSprite(e.spriteNames[(i * 7919) % n].c_str()));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 10000);
}
BENCHMARK(BM_LookupNames)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
