// Particle parameter files: a system loaded from the file emits, moves and is
// drawn for a few frames, then a copy of it finishes its particles.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_engine.h"
#include "gfx/particle.h"
#include "gfx/rect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    fe.hl->SetMemoryFile("particles\\trail.psi", bytes);

    // One sprite for the whole run, on a texture of its own.
    static tideSprite* sprite = [&] {
        fe.hl->SetMemoryFile("particle.png", FuzzPng());
        return new tideSprite(fe.tide->Texture_Load("particle.png"), 0, 0, 4, 4);
    }();

    // Bytes past the record steer the run: frame time, emitter path, scale.
    float dt = FuzzFloat(bytes, PARTICLE_INFO_SIZE, 1.0f / 60.0f);
    float step = FuzzFloat(bytes, PARTICLE_INFO_SIZE + 4, 3.0f);
    float scale = FuzzFloat(bytes, PARTICLE_INFO_SIZE + 8, 1.0f);

    tideParticleSystem ps("particles\\trail.psi", sprite);
    ps.TrackBoundingBox(true);
    ps.SetScale(scale);
    ps.Transpose(step, -step);
    ps.FireAt(100, 100);
    for (int frame = 0; frame < 6; ++frame) {
        ps.Update(dt);
        ps.MoveTo(100 + step * float(frame), 100, frame == 3);
        fe.Scene([&] { ps.Render(); });
    }
    if (ps.GetParticlesAlive() < 0 || ps.GetParticlesAlive() > MAX_PARTICLES) {
        std::fprintf(stderr, "particle count %d out of range\n", ps.GetParticlesAlive());
        abort();
    }
    tideRect box;
    ps.GetBoundingBox(&box);

    tideParticleSystem copy(ps);
    copy.Stop(false);
    copy.Update(dt);
    fe.Scene([&] { copy.Render(); });
    copy.Stop(true);
    if (copy.GetParticlesAlive() != 0) {
        std::fprintf(stderr, "Stop(true) left particles alive\n");
        abort();
    }
    fe.Reset();
    return 0;
}
