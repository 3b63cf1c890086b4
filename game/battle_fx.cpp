#include "game/battle_fx.h"

#include <algorithm>

#include "game/game.h"
#include "gfx/font.h"
#include "gfx/particle.h"
#include "gfx/sprite.h"
#include "res/resource_manager.h"

namespace {

// A number rises this far over its life, starting from the unit's top edge,
// so it never sits on the unit's own health figure.
const float kRise = 36.0f;

DWORD WithAlpha(DWORD rgb, float a) {
    return (static_cast<DWORD>(std::clamp(a, 0.0f, 1.0f) * 255.0f) << 24) | (rgb & 0xFFFFFF);
}

template <class T>
void Age(std::vector<T>& v, float dt, float life) {
    for (T& e : v) e.age += dt;
    v.erase(std::remove_if(v.begin(), v.end(), [life](const T& e) { return e.age >= life; }),
            v.end());
}

}  // namespace

cBattleFx::cBattleFx() = default;
cBattleFx::~cBattleFx() = default;

void cBattleFx::Hit(float x, float y, int lost, int size) {
    flashes.push_back({x, y, 0, size});
    if (lost > 0) numbers.push_back({x, y - 32.0f * static_cast<float>(size), 0, lost});
}

void cBattleFx::Death(float x, float y, int size) {
    tideParticleSystem* proto =
        cGame::resman ? cGame::resman->GetParticleSystem("deathburst") : nullptr;
    if (!proto) return;
    // Every burst needs its own copy: the script's system is shared.
    auto ps = std::make_unique<tideParticleSystem>(*proto);
    ps->SetScale(1.0f);
    ps->FireAt(x, y);
    if (size > 1) ps->info.nEmission *= 2;
    bursts.push_back(std::move(ps));
}

void cBattleFx::Update(float dt) {
    Age(numbers, dt, kHitNumberSeconds);
    Age(flashes, dt, kHitFlashSeconds);
    for (auto& b : bursts) b->Update(dt);
    bursts.erase(std::remove_if(bursts.begin(), bursts.end(),
                                [](const std::unique_ptr<tideParticleSystem>& b) {
                                    return b->GetAge() == -2.0f && b->GetParticlesAlive() == 0;
                                }),
                 bursts.end());
}

void cBattleFx::Render() {
    if (tideSprite* flash = cGame::NeedSprite("hitflash")) {
        for (const Flash& f : flashes) {
            flash->SetColor(WithAlpha(0xFFFFFF, 1.0f - f.age / kHitFlashSeconds));
            flash->RenderEx(f.x, f.y, 0, static_cast<float>(f.size), 0);
        }
        flash->SetColor(0xFFFFFFFF);
    }
    for (auto& b : bursts) b->Render();
    tideFont* fnt = cGame::GetFont1();
    if (!fnt) return;
    for (const Number& n : numbers) {
        float t = n.age / kHitNumberSeconds;
        fnt->SetColor(WithAlpha(0xFF5A4A, 1.5f - 1.5f * t));
        fnt->printf(n.x, n.y - kRise * t - fnt->GetHeight(), TEXT_CENTER, "-%i", n.amount);
    }
    fnt->SetColor(0xFFFFFFFF);
}

void cBattleFx::Clear() {
    numbers.clear();
    flashes.clear();
    bursts.clear();
}
