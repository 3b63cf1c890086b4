// The resource script: tokenizer, grammar and manager together. The input is
// the main script, then (after NULs) up to four more files named "a" to "d"
// that the script may include or name as fonts, string tables, particle
// files or raw resources; "t.png" and "s.wav" are a valid image and sound.
// Every declared resource is made, looked up, drawn and purged, then the
// manager changes to script "a"; afterwards no texture may be left alive.
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_engine.h"
#include "gfx/animation.h"
#include "gfx/distort.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"
#include "res/strtable.h"

namespace {

const char* const kExtraFiles[] = {"a", "b", "c", "d"};
const size_t kMaxLookups = 64;

// Looks a declared resource up by its kind's own lookup and uses it a little.
void UseResource(FuzzEngine& fe, tideResourceManager& rm, int kind, const char* name) {
    switch (kind) {
        case RES_RESOURCE: rm.GetResource(name); break;
        case RES_TEXTURE: rm.GetTexture(name); break;
        case RES_EFFECT: fe.tide->Effect_Play(rm.GetEffect(name)); break;
        case RES_MUSIC: rm.GetMusic(name); break;
        case RES_STREAM: rm.GetStream(name); break;
        case RES_TARGET: fe.tide->Target_GetTexture(rm.GetTarget(name)); break;
        case RES_SPRITE:
            if (tideSprite* s = rm.GetSprite(name)) fe.Scene([&] { s->RenderEx(40, 40, 0.5f, 2); });
            break;
        case RES_ANIMATION:
            if (tideAnimation* a = rm.GetAnimation(name)) {
                a->Play();
                a->Update(0.1f);
                a->Update(0.25f);
                fe.Scene([&] { a->Render(60, 60); });
            }
            break;
        case RES_FONT:
            if (tideFont* f = rm.GetFont(name))
                fe.Scene([&] { f->printfb(0, 0, 200, 100, TEXT_CENTER | TEXT_MIDDLE, "Turn %d", 3); });
            break;
        case RES_PARTICLE:
            if (tideParticleSystem* p = rm.GetParticleSystem(name)) {
                p->FireAt(300, 300);
                p->Update(0.05f);
                fe.Scene([&] { p->Render(); });
                p->Stop(true);
            }
            break;
        case RES_DISTORT:
            if (tideDistortionMesh* d = rm.GetDistortionMesh(name)) fe.Scene([&] { d->Render(0, 0); });
            break;
        case RES_STRTABLE:
            if (tideStringTable* t = rm.GetStringTable(name)) t->GetString("title");
            break;
    }
}

// Every declared resource by name (copied: using one may add descriptions).
void UseAll(FuzzEngine& fe, tideResourceManager& rm) {
    std::vector<std::pair<int, std::string>> declared;
    for (int kind = RES_RESOURCE; kind < RESTYPES; ++kind)
        for (ResDesc* rc = rm.res[kind]; rc && declared.size() < kMaxLookups; rc = rc->next)
            declared.emplace_back(kind, rc->name);
    for (auto& [kind, name] : declared) UseResource(fe, rm, kind, name.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine& fe = FuzzEngine::Get();
    std::vector<std::string> parts = FuzzSplit(data, size, 5);
    fe.hl->SetMemoryFile("Res\\allres.txt", parts[0]);
    for (size_t i = 1; i < parts.size(); ++i) fe.hl->SetMemoryFile(kExtraFiles[i - 1], parts[i]);
    fe.hl->SetMemoryFile("t.png", FuzzPng());
    fe.hl->SetMemoryFile("s.wav", FuzzWav());

    DWORD mark = fe.TextureMark();
    {
        tideResourceManager rm("Res\\allres.txt");
        rm.Precache(0);
        UseAll(fe, rm);

        // Names no script declares are files.
        rm.GetTexture("t.png", 2);
        rm.GetEffect("s.wav", 2);
        rm.GetResource("b", 2);
        rm.GetStringTable("c", 2);
        rm.GetSprite("t.png");

        rm.Purge(2);
        rm.Precache(1);
        rm.Purge(0);
        UseAll(fe, rm);

        rm.ChangeScript("a");
        rm.Precache(0);
        UseAll(fe, rm);
    }
    fe.CheckTexturesFreed(mark, "the resource manager");
    fe.Reset();
    return 0;
}
