// Drawing toolkit costs, each beside the bare submission of the same number of
// quads so the toolkit's own overhead reads as a ratio:
//   BM_FontPrintf / BM_BareQuads/100     ns per glyph vs ns per quad
//   BM_Particles  / BM_BareQuads/500     one Update+Render of 500 particles
//   BM_MeshRender / BM_BareQuads/225     one Render of a 16x16 mesh
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/tide.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "gfx/sprite.h"

namespace {

// A headless engine over a temporary data folder holding a small font.
class BenchEngine {
public:
    BenchEngine() {
        char tmpl[] = "/tmp/thalomir-gfxbench-XXXXXX";
        dir = mkdtemp(tmpl) ? tmpl : "/tmp";
        std::ofstream f(dir + "/bench.fnt", std::ios::binary);
        f << "[TIDEFONT]\n";
        for (int c = 32; c < 127; c++) f << "Char=" << std::hex << c << std::dec << ",0,0,8,16,0,1\n";
        f.close();

        tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_HEADLESS, true);
        tide->System_SetState(TIDE_DATAPATH, dir.c_str());
        tide->System_Initiate();
        tide->Random_Seed(7);
    }
    ~BenchEngine() {
        tide->System_Shutdown();
        tide->Release();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    // Drops the quads recorded so far, as a new frame does.
    void Frame() {
        tide->Gfx_BeginScene();
        tide->Gfx_EndScene();
    }

    Tide* tide;
    std::string dir;
};

BenchEngine& Engine() {
    static BenchEngine e;
    return e;
}

void BM_BareQuads(benchmark::State& state) {
    BenchEngine& e = Engine();
    tideQuad q;
    std::memset(&q, 0, sizeof q);
    q.blend = BLEND_DEFAULT;
    const int n = int(state.range(0));
    for (auto _ : state) {
        e.Frame();
        for (int i = 0; i < n; i++) {
            q.v[0].x = float(i);
            e.tide->Gfx_RenderQuad(&q);
        }
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_BareQuads)->Arg(100)->Arg(225)->Arg(500);

void BM_FontPrintf(benchmark::State& state) {
    BenchEngine& e = Engine();
    tideFont font("bench.fnt");
    const std::string line(100, 'W');
    for (auto _ : state) {
        e.Frame();
        font.printf(10, 10, TEXT_LEFT, "%s", line.c_str());
    }
    state.SetItemsProcessed(state.iterations() * 100); // glyphs
}
BENCHMARK(BM_FontPrintf);

void BM_Particles(benchmark::State& state) {
    BenchEngine& e = Engine();
    tideSprite spr(0, 0, 0, 8, 8);
    spr.SetHotSpot(4, 4);
    tideParticleSystemInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.sprite = &spr;
    info.nEmission = 5000;
    info.fLifetime = -1;
    info.fParticleLifeMin = info.fParticleLifeMax = 1e6f; // the cap keeps 500 alive
    info.fSpread = 6.28f;
    info.fSpeedMin = 10, info.fSpeedMax = 50;
    info.fGravityMin = 10, info.fGravityMax = 20;
    info.fRadialAccelMin = -5, info.fRadialAccelMax = 5;
    info.fSizeStart = 1, info.fSizeEnd = 0.5f;
    info.fSpinStart = 0, info.fSpinEnd = 2;
    info.colColorStart = tideColorRGB(1, 1, 1, 1);
    info.colColorEnd = tideColorRGB(0, 0, 1, 0);
    tideParticleSystem ps(&info);
    ps.FireAt(512, 384);
    ps.Update(0.1f);
    for (auto _ : state) {
        e.Frame();
        ps.Update(1.0f / 60.0f);
        ps.Render();
    }
    state.counters["alive"] = ps.GetParticlesAlive();
    state.SetItemsProcessed(state.iterations() * ps.GetParticlesAlive());
}
BENCHMARK(BM_Particles);

void BM_MeshRender(benchmark::State& state) {
    BenchEngine& e = Engine();
    HTEXTURE tex = e.tide->Texture_Create(1024, 768);
    tideDistortionMesh mesh(16, 16);
    mesh.SetTexture(tex);
    mesh.SetTextureRect(0, 0, 1024, 768);
    mesh.Clear(0xFF000000, 0.5f);
    for (auto _ : state) {
        e.Frame();
        mesh.Render(0, 0);
    }
    state.SetItemsProcessed(state.iterations() * 225); // cells
    e.tide->Texture_Free(tex);
}
BENCHMARK(BM_MeshRender);

} // namespace

BENCHMARK_MAIN();
