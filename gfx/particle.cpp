#include "gfx/particle.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "gfx/trunc.h"

Tide* tideParticleSystem::tide = nullptr;

static const double kHalfPi = 1.57079632679489661923;

namespace {
// Reads the little-endian parameter record field by field, so the in-memory
// layout (pointer size, padding) never has to match the file's.
class InfoReader {
public:
    explicit InfoReader(const unsigned char* d) : data(d) {}
    int Int(int off) const {
        return int(uint32_t(data[off]) | uint32_t(data[off + 1]) << 8 |
                   uint32_t(data[off + 2]) << 16 | uint32_t(data[off + 3]) << 24);
    }
    float Float(int off) const {
        uint32_t bits = uint32_t(Int(off));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    tideColorRGB Color(int off) const {
        return tideColorRGB(Float(off), Float(off + 4), Float(off + 8), Float(off + 12));
    }
    bool Bool(int off) const { return data[off] != 0; }

private:
    const unsigned char* data;
};
} // namespace

void tideParticleInfoRead(const void* data, tideParticleSystemInfo* info) {
    InfoReader r(static_cast<const unsigned char*>(data));
    info->sprite = nullptr;
    info->nEmission = r.Int(4);
    info->fLifetime = r.Float(8);
    info->fParticleLifeMin = r.Float(12);
    info->fParticleLifeMax = r.Float(16);
    info->fDirection = r.Float(20);
    info->fSpread = r.Float(24);
    info->bRelative = r.Bool(28);
    info->fSpeedMin = r.Float(32);
    info->fSpeedMax = r.Float(36);
    info->fGravityMin = r.Float(40);
    info->fGravityMax = r.Float(44);
    info->fRadialAccelMin = r.Float(48);
    info->fRadialAccelMax = r.Float(52);
    info->fTangentialAccelMin = r.Float(56);
    info->fTangentialAccelMax = r.Float(60);
    info->fSizeStart = r.Float(64);
    info->fSizeEnd = r.Float(68);
    info->fSizeVar = r.Float(72);
    info->fSpinStart = r.Float(76);
    info->fSpinEnd = r.Float(80);
    info->fSpinVar = r.Float(84);
    info->colColorStart = r.Color(88);
    info->colColorEnd = r.Color(104);
    info->fColorVar = r.Float(120);
    info->fAlphaVar = r.Float(124);
}

namespace {

// A parameter file that no editor would write (noise, another kind of file):
// values that are not numbers, or far beyond anything a screen effect uses.
bool Plausible(const tideParticleSystemInfo& in) {
    const float fields[] = {in.fLifetime, in.fParticleLifeMin, in.fParticleLifeMax, in.fDirection,
                            in.fSpread, in.fSpeedMin, in.fSpeedMax, in.fGravityMin, in.fGravityMax,
                            in.fRadialAccelMin, in.fRadialAccelMax, in.fTangentialAccelMin,
                            in.fTangentialAccelMax, in.fSizeStart, in.fSizeEnd, in.fSizeVar,
                            in.fSpinStart, in.fSpinEnd, in.fSpinVar, in.fColorVar, in.fAlphaVar};
    for (float f : fields)
        if (!std::isfinite(f) || std::fabs(f) > 1e6f) return false;
    return in.nEmission >= 0 && in.nEmission <= 100000 && in.fParticleLifeMin >= 0 &&
           in.fParticleLifeMax <= 3600;
}

}  // namespace

tideParticleSystem::tideParticleSystem(const char* filename, tideSprite* sprite) {
    tide = tideCreate(TIDE_VERSION);

    DWORD size = 0;
    void* data = tide->Resource_Load(filename, &size);
    // All zero parameters: nothing is ever emitted.
    static const unsigned char kInert[PARTICLE_INFO_SIZE] = {};
    if (data && size >= PARTICLE_INFO_SIZE) {
        tideParticleInfoRead(data, &info);
        if (!Plausible(info)) {
            tideParticleInfoRead(kInert, &info);
            tide->System_Log("Particle system %s: parameter values out of range.", filename);
        }
    } else {
        tideParticleInfoRead(kInert, &info);
        tide->System_Log("Particle system %s: parameter file missing or shorter than %i bytes.",
                         filename, PARTICLE_INFO_SIZE);
    }
    if (data) tide->Resource_Free(data);
    info.sprite = sprite;
    Init();
}

tideParticleSystem::tideParticleSystem(const tideParticleSystemInfo* psi) : info(*psi) {
    tide = tideCreate(TIDE_VERSION);
    Init();
}

tideParticleSystem::tideParticleSystem(const tideParticleSystem& ps) {
    tide = tideCreate(TIDE_VERSION);
    *this = ps;
}

tideParticleSystem::~tideParticleSystem() { tide->Release(); }

void tideParticleSystem::Init() {
    vecLocation = vecPrevLocation = tideVector(0, 0);
    fTx = fTy = 0;
    fScale = 1.0f;
    fEmissionResidue = 0;
    nParticlesAlive = 0;
    fAge = -2.0f;
    rectBoundingBox.Clear();
    bUpdateBoundingBox = false;
}

void tideParticleSystem::Fire() {
    fAge = info.fLifetime == -1.0f ? -1.0f : 0.0f;
}

void tideParticleSystem::FireAt(float x, float y) {
    Stop(false);
    MoveTo(x, y, false);
    Fire();
}

void tideParticleSystem::Stop(bool bKillParticles) {
    fAge = -2.0f;
    if (bKillParticles) {
        nParticlesAlive = 0;
        rectBoundingBox.Clear();
    }
}

void tideParticleSystem::MoveTo(float x, float y, bool bMoveParticles) {
    if (bMoveParticles) {
        tideVector d(x - vecLocation.x, y - vecLocation.y);
        for (int i = 0; i < nParticlesAlive; i++) particles[i].vecLocation += d;
        vecPrevLocation += d;
    } else if (fAge == -2.0f) {
        // A stopped emitter jumps: the next particles start here, not along a path.
        vecPrevLocation = tideVector(x, y);
    } else {
        vecPrevLocation = vecLocation;
    }
    vecLocation = tideVector(x, y);
}

void tideParticleSystem::Update(float fDeltaTime) {
    if (fAge >= 0) {
        fAge += fDeltaTime;
        if (fAge >= info.fLifetime) fAge = -2.0f;
    }

    if (bUpdateBoundingBox) rectBoundingBox.Clear();

    for (int i = 0; i < nParticlesAlive;) {
        tideParticle& par = particles[i];
        par.fAge += fDeltaTime;
        if (par.fAge >= par.fTerminalAge) {
            // Swap-remove: the moved particle is updated in this same pass.
            nParticlesAlive--;
            par = particles[nParticlesAlive];
            continue;
        }

        tideVector radial = par.vecLocation - vecLocation;
        radial.Normalize();
        tideVector tangent(-radial.y, radial.x);

        par.vecVelocity +=
            (radial * par.fRadialAccel + tangent * par.fTangentialAccel) * fDeltaTime;
        par.vecVelocity.y += par.fGravity * fDeltaTime;
        par.vecLocation += par.vecVelocity * fDeltaTime;

        par.fSpin += par.fSpinDelta * fDeltaTime;
        par.fSize += par.fSizeDelta * fDeltaTime;
        par.colColor += par.colColorDelta * fDeltaTime;

        if (bUpdateBoundingBox) rectBoundingBox.Encapsulate(par.vecLocation.x, par.vecLocation.y);
        i++;
    }

    if (fAge != -2.0f) {
        float needed = float(info.nEmission) * fDeltaTime + fEmissionResidue;
        float count = std::trunc(needed);
        fEmissionResidue = needed - count;
        // Particles beyond the cap are lost, not made up later.
        for (float k = 0; k < count && nParticlesAlive < MAX_PARTICLES; k++) EmitOne();
    }

    vecPrevLocation = vecLocation;
}

void tideParticleSystem::EmitOne() {
    // The order of the random draws is part of the behaviour: a seeded run
    // replays exactly.
    auto R = [](float a, float b) { return tide->Random_Float(a, b); };
    tideParticle& par = particles[nParticlesAlive];

    par.fAge = 0.0f;
    par.fTerminalAge = R(info.fParticleLifeMin, info.fParticleLifeMax);

    par.vecLocation = vecPrevLocation + (vecLocation - vecPrevLocation) * R(0.0f, 1.0f);
    par.vecLocation.x += R(-2.0f, 2.0f);
    par.vecLocation.y += R(-2.0f, 2.0f);

    float ang = float(info.fDirection - kHalfPi + R(0, info.fSpread) - info.fSpread / 2.0f);
    if (info.bRelative) ang += float((vecPrevLocation - vecLocation).Angle() + kHalfPi);
    par.vecVelocity = tideVector(std::cos(ang), std::sin(ang));
    par.vecVelocity *= R(info.fSpeedMin, info.fSpeedMax);

    par.fGravity = R(info.fGravityMin, info.fGravityMax);
    par.fRadialAccel = R(info.fRadialAccelMin, info.fRadialAccelMax);
    par.fTangentialAccel = R(info.fTangentialAccelMin, info.fTangentialAccelMax);

    // Each starting value lies between the start value and part of the way
    // to the end value; it then moves linearly to the end value over the life.
    auto vary = [&R](float start, float end, float var) {
        return R(start, start + (end - start) * var);
    };
    par.fSize = vary(info.fSizeStart, info.fSizeEnd, info.fSizeVar);
    par.fSizeDelta = (info.fSizeEnd - par.fSize) / par.fTerminalAge;

    par.fSpin = vary(info.fSpinStart, info.fSpinEnd, info.fSpinVar);
    par.fSpinDelta = (info.fSpinEnd - par.fSpin) / par.fTerminalAge;

    const tideColorRGB& cs = info.colColorStart;
    const tideColorRGB& ce = info.colColorEnd;
    par.colColor.r = vary(cs.r, ce.r, info.fColorVar);
    par.colColor.g = vary(cs.g, ce.g, info.fColorVar);
    par.colColor.b = vary(cs.b, ce.b, info.fColorVar);
    par.colColor.a = vary(cs.a, ce.a, info.fAlphaVar);
    par.colColorDelta.r = (ce.r - par.colColor.r) / par.fTerminalAge;
    par.colColorDelta.g = (ce.g - par.colColor.g) / par.fTerminalAge;
    par.colColorDelta.b = (ce.b - par.colColor.b) / par.fTerminalAge;
    par.colColorDelta.a = (ce.a - par.colColor.a) / par.fTerminalAge;

    if (bUpdateBoundingBox) rectBoundingBox.Encapsulate(par.vecLocation.x, par.vecLocation.y);
    nParticlesAlive++;
}

void tideParticleSystem::Render() {
    tideSprite* spr = info.sprite;
    if (!spr) return;

    DWORD col = spr->GetColor(0);
    bool ownColor = info.colColorStart.r < 0;
    for (int i = 0; i < nParticlesAlive; i++) {
        const tideParticle& par = particles[i];
        if (ownColor)
            spr->SetColor((col & 0x00FFFFFF) |
                          (DWORD(tideTruncToInt(par.colColor.a * 255.0f)) << 24));
        else
            spr->SetColor(par.colColor.GetHWColor());
        spr->RenderEx(par.vecLocation.x * fScale + fTx, par.vecLocation.y * fScale + fTy,
                      par.fSpin * par.fAge, par.fSize * fScale, 0);
    }
    spr->SetColor(col);
}

tideRect* tideParticleSystem::GetBoundingBox(tideRect* rect) const {
    *rect = rectBoundingBox;
    rect->x1 *= fScale;
    rect->y1 *= fScale;
    rect->x2 *= fScale;
    rect->y2 *= fScale;
    return rect;
}
