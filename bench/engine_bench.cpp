// The real renderer's cost. Adding a quad to the batch is measured beside a
// plain loop writing the same vertex bytes (compare their ns_per_quad: the
// batch should stay within twice the plain loop); a full frame of quads
// shows what the device then spends drawing them.
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "engine/files.h"
#include "engine/gl/quad_batch.h"
#include "engine/ini.h"
#include "engine/tide.h"

namespace {

// Fewer quads than the batch holds, so the timed part never draws.
const int kQuadsPerRound = 3000;
static_assert(kQuadsPerRound < tideQuadBatch::kCapacity);

tideQuad SampleQuad(HTEXTURE tex, float x, float y, float size) {
    tideQuad q;
    const float xs[4] = {x, x + size, x + size, x}, ys[4] = {y, y, y + size, y + size};
    const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; i++) q.v[i] = tideVertex{xs[i], ys[i], 0.5f, 0xFFFFFFFF, us[i], vs[i]};
    q.tex = tex;
    q.blend = BLEND_DEFAULT;
    return q;
}

// CPU seconds of the calling thread alone: the GL driver's own threads and
// other programs on the machine stay out of the figures.
double ThreadSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Runs `round` (kQuadsPerRound quads) per iteration under the thread clock;
// `between` runs untimed after each round.
template <class Round, class Between>
void TimeRounds(benchmark::State& state, Round round, Between between) {
    for (auto _ : state) {
        double t0 = ThreadSeconds();
        round();
        state.SetIterationTime(ThreadSeconds() - t0);
        between();
    }
    state.counters["per_quad"] = benchmark::Counter(
        kQuadsPerRound, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The real-time engine (no recording of quads) on a 1024x768 frame.
class RealEngine {
public:
    RealEngine() {
        dir = std::filesystem::temp_directory_path() / ("thalomir-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_DATAPATH, dir.c_str());
        tide->System_SetState(TIDE_SCREENWIDTH, 1024);
        tide->System_SetState(TIDE_SCREENHEIGHT, 768);
        tide->System_SetState(TIDE_USESOUND, false);
        ok = tide->System_Initiate();
        if (!ok) error = tide->System_GetErrorMessage();
    }
    ~RealEngine() {
        if (ok) tide->System_Shutdown();
        tide->Release();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    HTEXTURE SolidTexture(int side) {
        HTEXTURE tex = tide->Texture_Create(side, side);
        DWORD* p = tide->Texture_Lock(tex, false);
        for (int i = 0; i < side * side; i++) p[i] = 0xFF3080C0;
        tide->Texture_Unlock(tex);
        return tex;
    }
    Tide* tide = nullptr;
    bool ok = false;
    std::string error;

private:
    std::filesystem::path dir;
};

void BM_PlainVertexWrite(benchmark::State& state) {
    const tideQuad q = SampleQuad(1, 10, 10, 32);
    std::unique_ptr<tideVertex[]> buffer(new tideVertex[kQuadsPerRound * 4]);
    TimeRounds(
        state,
        [&] {
            for (int i = 0; i < kQuadsPerRound; i++)
                std::memcpy(&buffer[i * 4], q.v, sizeof(q.v));
            benchmark::DoNotOptimize(buffer.get());
            benchmark::ClobberMemory();
        },
        [] {});
}
BENCHMARK(BM_PlainVertexWrite)->UseManualTime();

void BM_RenderQuadIntoBatch(benchmark::State& state) {
    RealEngine e;
    if (!e.ok) {
        state.SkipWithError(("no OpenGL context: " + e.error).c_str());
        return;
    }
    // Zero-sized, so the untimed drawing has no pixels to fill.
    const tideQuad q = SampleQuad(e.SolidTexture(32), 10, 10, 0);
    e.tide->Gfx_BeginScene(0);
    TimeRounds(
        state, [&] { for (int i = 0; i < kQuadsPerRound; i++) e.tide->Gfx_RenderQuad(&q); },
        [&] {
            e.tide->Gfx_EndScene(); // draws the batch
            glFinish();
            e.tide->Gfx_BeginScene(0);
        });
    e.tide->Gfx_EndScene();
}
// A fixed count: the untimed drawing per round costs far more than the timed part.
BENCHMARK(BM_RenderQuadIntoBatch)->UseManualTime()->Iterations(5000);

// A whole frame: 1000 textured 32x32 quads, drawn and finished on the device.
void BM_FrameOf1000Quads(benchmark::State& state) {
    RealEngine e;
    if (!e.ok) {
        state.SkipWithError(("no OpenGL context: " + e.error).c_str());
        return;
    }
    HTEXTURE tex = e.SolidTexture(32);
    for (auto _ : state) {
        e.tide->Gfx_BeginScene(0);
        e.tide->Gfx_Clear(0);
        for (int i = 0; i < 1000; i++) {
            tideQuad q = SampleQuad(tex, float(i * 37 % 992), float(i * 53 % 736), 32);
            e.tide->Gfx_RenderQuad(&q);
        }
        e.tide->Gfx_EndScene();
        glFinish(); // offscreen swaps do no work: wait for the pixels
    }
}
BENCHMARK(BM_FrameOf1000Quads)->Unit(benchmark::kMillisecond);

// A settings file just under the reading cap, read as the game reads its
// configuration at start: the options and four values of six kinds. Parsed
// once through the handle, beside looking every key up in the whole text
// (how each key used to be read, the file read again for each).
const char* const kKinds[] = {"aqua", "torp", "bati", "medu", "shark", "paul"};
const char* const kKindKeys[] = {"health", "dmg", "armor", "range"};

const std::string& LargeSettings() {
    static const std::string text = [] {
        std::string t = "[options]\nmusic=30\nsound=50\nspeed=50\n";
        for (const char* k : kKinds) t += std::string("[") + k + "]\nhealth=20\ndmg=3\narmor=1\nrange=2.5\n";
        const std::string note = "; a note of the kind people leave in their settings, repeated\n";
        while (t.size() + note.size() < kTideTextCap) t += note;
        return t;
    }();
    return text;
}

void BM_SettingsParsedOnce(benchmark::State& state) {
    const std::string& text = LargeSettings();
    for (auto _ : state) {
        tideIniFile f(text);
        int sum = f.GetInt("options", "music", 0);
        for (const char* k : kKinds)
            for (const char* key : kKindKeys) sum += f.GetInt(k, key, 0);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_SettingsParsedOnce)->Unit(benchmark::kMillisecond);

void BM_SettingsReadKeyByKey(benchmark::State& state) {
    const std::string& text = LargeSettings();
    for (auto _ : state) {
        std::string v;
        int sum = tideIni::Get(text, "options", "music", v);
        for (const char* k : kKinds)
            for (const char* key : kKindKeys) sum += tideIni::Get(text, k, key, v);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SettingsReadKeyByKey)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
