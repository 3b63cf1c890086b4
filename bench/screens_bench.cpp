// Every screen's frame cost beside its fill-rate floor, on the real renderer
// (offscreen) with the game's own data: a screen's frame (update and render,
// finished on the device) is timed in turn with a frame that only fills as
// many full-window layers as the screen draws, one textured quad each. The
// two alternate frame by frame so the machine's load hits both alike; the
// medians and their ratio are reported (counters frame_ms, floor_ms, ratio).
// On a machine others share, wall time mostly measures their load: the CPU
// time the process spent on each frame (the rasteriser's threads included)
// is reported beside it (frame_cpu_ms, floor_cpu_ms, cpu_ratio; the ratio of
// the means too, mean_cpu_ratio), and the pixels per frame the renderer
// spared by trimming quads (trimmed_px).
// The menus draw their picture through the rippling 16 x 16 mesh: beside
// them a third frame draws only that mesh, at rest (mesh_ms, mesh_ratio),
// which tells the mesh's own cost from what the screen adds. The battle is a
// level of fifteen units, mid-turn: the player's unit to act, the cells it
// may step to tinted, the enemies in its reach marked, the pointer on one of
// them (its panel, its threat view and the damage preview shown).
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "engine/gl/gl_renderer.h"
#include "engine/tide.h"
#include "engine/tide_headless.h"
#include "game/board_info.h"
#include "game/board_overlay.h"
#include "game/game.h"
#include "gfx/distort.h"
#include "units/unit.h"

// The game's own entry (app/main.cpp, built in with its main renamed).
extern Tide* tide;
extern cGame* game;
void tideinit();
bool FrameFunc();
bool RenderFunc();

namespace {

const float kDt = 1.0f / 60.0f;

tideHeadless* hl = nullptr;
HTEXTURE floorTexture = 0;
int floorLayers = 1;

tideDistortionMesh* floorMesh = nullptr;

bool NoUpdate() { return false; }

// The menus' mesh alone, as the menus set it up, with no ripple.
bool MeshRender() {
    tide->Gfx_BeginScene(0);
    floorMesh->Render(0, 0);
    tide->Gfx_EndScene();
    return false;
}

// The floor: full-window layers of an opaque picture, one quad each.
bool FloorRender() {
    tide->Gfx_BeginScene(0);
    tideQuad q{};
    const float xs[4] = {0, 1024, 1024, 0}, ys[4] = {0, 0, 768, 768};
    for (int i = 0; i < 4; i++)
        q.v[i] = tideVertex{xs[i], ys[i], 0.5f, 0xFFFFFFFF, xs[i] / 1024, ys[i] / 768};
    q.tex = floorTexture;
    q.blend = BLEND_DEFAULT;
    for (int l = 0; l < floorLayers; l++) tide->Gfx_RenderQuad(&q);
    tide->Gfx_EndScene();
    return false;
}

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall and CPU milliseconds of one frame.
struct Timed {
    double wall, cpu;
};

Timed TimedFrame() {
    auto t0 = std::chrono::steady_clock::now();
    double c0 = CpuMs();
    hl->Frame(kDt);
    glFinish(); // offscreen swaps do no work: wait for the pixels
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count(),
            CpuMs() - c0};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / double(v.size());
}

// Fifteen units; a jellyfish within the divers' reach from the start.
const char kBusyLevel[] =
    "[unit1]\nname=Aqua\nx=3\ny=2\n[unit2]\nname=Aqua\nx=3\ny=8\n[unit3]\nname=Torp\nx=4\ny=4\n"
    "[unit4]\nname=Torp\nx=4\ny=6\n[unit5]\nname=Bati\nx=1\ny=4\n[unit6]\nname=Paul\nx=10\ny=2\n"
    "[unit7]\nname=Paul\nx=10\ny=7\n[unit8]\nname=Shark\nx=11\ny=4\n[unit9]\nname=Medu\nx=13\ny=1\n"
    "[unit10]\nname=Medu\nx=14\ny=7\n[unit11]\nname=Medu\nx=13\ny=9\n[unit12]\nname=Medu\nx=9\ny=5\n"
    "[unit13]\nname=Medu\nx=14\ny=3\n[unit14]\nname=Medu\nx=13\ny=6\n[unit15]\nname=Medu\nx=7\ny=3\n";

void EnterBusyBattle() {
    hl->SetMemoryFile("res\\lvl6.txt", kBusyLevel);
    game->gamestate = GS_GAME;
    // The dice are fixed, so every run measures the same turn: the first seed
    // whose first player's turn has an enemy in reach. The computer's units
    // act until one of the player's may: long frames hurry their moves along.
    for (uint32_t seed = 1; seed <= 50; seed++) {
        game->LoadLevelFile("res\\lvl6.txt", seed);
        for (int i = 0; i < 4000 && !boardview::PlayerMayAct(*game); i++) hl->Frame(0.25f);
        if (!boardview::PlayerMayAct(*game)) continue;
        for (cUnit* u : game->units)
            if (boardinfo::InReach(*game, game->selunit, u)) {
                tcellpos c = u->CentrePoint();
                hl->SetMouse(static_cast<float>(c.first), static_cast<float>(c.second));
                return;
            }
    }
    std::fprintf(stderr, "screens_bench: no player's turn with an enemy in reach\n");
}

// Full-window layers each screen draws: the menus their one picture (the
// rippling mesh or the level map), the battle its backdrop.
struct Screen {
    const char* name;
    int layers;
    bool mesh;  // draws its picture through the menus' mesh
    void (*enter)();
};

const Screen kScreens[] = {
    {"menu", 1, true, [] { game->gamestate = GS_MMENU; }},
    {"options", 1, true,
     [] {
         game->prevgamestate = GS_MMENU;
         game->gamestate = GS_OPTIONS;
     }},
    {"level_choice", 1, false, [] { game->gamestate = GS_CHLVL; }},
    {"battle", 1, false, EnterBusyBattle},
};

void BM_Screen(benchmark::State& state, const Screen* s) {
    if (!hl) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    hl->SetMouse(420, 300);
    s->enter();
    hl->Frame(kDt);
    glFinish();
    std::vector<double> frames, floors, meshes, framesCpu, floorsCpu;
    double trimmed = 0;
    for (auto _ : state) {
        tide->System_SetState(TIDE_FRAMEFUNC, FrameFunc);
        tide->System_SetState(TIDE_RENDERFUNC, RenderFunc);
        const double trimmedBefore = tideGlRenderer::trimmedArea;
        Timed f = TimedFrame();
        trimmed += tideGlRenderer::trimmedArea - trimmedBefore;
        tide->System_SetState(TIDE_FRAMEFUNC, NoUpdate);
        tide->System_SetState(TIDE_RENDERFUNC, FloorRender);
        floorLayers = s->layers;
        Timed l = TimedFrame();
        floors.push_back(l.wall);
        floorsCpu.push_back(l.cpu);
        if (s->mesh && floorMesh) {
            tide->System_SetState(TIDE_RENDERFUNC, MeshRender);
            meshes.push_back(TimedFrame().wall);
        }
        frames.push_back(f.wall);
        framesCpu.push_back(f.cpu);
        state.SetIterationTime(f.wall / 1000);
    }
    tide->System_SetState(TIDE_FRAMEFUNC, FrameFunc);
    tide->System_SetState(TIDE_RENDERFUNC, RenderFunc);
    double fm = Median(frames), lm = Median(floors);
    state.counters["frame_ms"] = fm;
    state.counters["floor_ms"] = lm;
    state.counters["layers"] = s->layers;
    state.counters["ratio"] = lm > 0 ? fm / lm : 0;
    double fc = Median(framesCpu), lc = Median(floorsCpu);
    state.counters["frame_cpu_ms"] = fc;
    state.counters["floor_cpu_ms"] = lc;
    state.counters["cpu_ratio"] = lc > 0 ? fc / lc : 0;
    // Beside the medians: a screen whose cost comes in bursts shows here.
    const double fa = Mean(framesCpu), la = Mean(floorsCpu);
    state.counters["mean_cpu_ratio"] = la > 0 ? fa / la : 0;
    state.counters["trimmed_px"] = frames.empty() ? 0 : trimmed / double(frames.size());
    if (!meshes.empty()) {
        double mm = Median(meshes);
        state.counters["mesh_ms"] = mm;
        state.counters["mesh_ratio"] = mm > 0 ? fm / mm : 0;
    }
}

bool StartGame() {
    tideinit();
    tide->System_SetState(TIDE_MANUALCLOCK, true);
    tide->System_SetState(TIDE_USESOUND, false);
    if (!tide->System_Initiate() || !(hl = tideGetHeadless())) {
        std::fprintf(stderr, "screens_bench: engine start failed: %s\n",
                     tide->System_GetErrorMessage());
        return false;
    }
    game = new cGame;
    for (int i = 0; i < 150; i++) hl->Frame(kDt); // past the logo
    // Noise, so sampling costs what a real picture costs.
    floorTexture = tide->Texture_Create(1024, 768);
    if (DWORD* p = tide->Texture_Lock(floorTexture, false, 0, 0, 0, 0)) {
        unsigned x = 12345;
        for (int i = 0; i < 1024 * 768; i++) p[i] = 0xFF000000 | ((x = x * 1664525 + 1013904223) >> 8);
        tide->Texture_Unlock(floorTexture);
    }
    if (game->mmdistort) {
        floorMesh = new tideDistortionMesh(*game->mmdistort);
        floorMesh->Clear(0xFF000000, 0.5f);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bool ok = StartGame();
    for (const Screen& s : kScreens)
        benchmark::RegisterBenchmark((std::string("BM_Screen/") + s.name).c_str(), BM_Screen, &s)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(120);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ok) {
        delete floorMesh;
        delete game;
        game = nullptr;
        tide->System_Shutdown();
    }
    if (tide) tide->Release();
    return 0;
}
