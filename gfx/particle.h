// tideParticleSystem: a sprite-based particle emitter driven by a 128-byte
// parameter record (tideParticleSystemInfo), loaded from a file or given.
#pragma once

#include "engine/tide.h"
#include "gfx/color.h"
#include "gfx/rect.h"
#include "gfx/sprite.h"
#include "gfx/vector.h"

#define MAX_PARTICLES 500

struct tideParticle {
    tideVector vecLocation;
    tideVector vecVelocity;

    float fGravity;
    float fRadialAccel;
    float fTangentialAccel;

    float fSpin;
    float fSpinDelta;

    float fSize;
    float fSizeDelta;

    tideColorRGB colColor;
    tideColorRGB colColorDelta;

    float fAge;
    float fTerminalAge;
};

// The parameter file holds these fields at fixed offsets, little-endian
// (PARTICLE_INFO_SIZE bytes); the file's first 4 bytes stand for `sprite`
// and are not read.
struct tideParticleSystemInfo {
    tideSprite* sprite;
    int nEmission;        // particles per second
    float fLifetime;      // emitter run time after Fire; -1 endless

    float fParticleLifeMin;
    float fParticleLifeMax;

    float fDirection; // radians, 0 up
    float fSpread;
    bool bRelative;   // direction relative to the emitter's motion

    float fSpeedMin;
    float fSpeedMax;

    float fGravityMin;
    float fGravityMax;

    float fRadialAccelMin;
    float fRadialAccelMax;

    float fTangentialAccelMin;
    float fTangentialAccelMax;

    float fSizeStart;
    float fSizeEnd;
    float fSizeVar;

    float fSpinStart;
    float fSpinEnd;
    float fSpinVar;

    tideColorRGB colColorStart; // r below 0: draw in the sprite's own color
    tideColorRGB colColorEnd;
    float fColorVar;
    float fAlphaVar;
};

#define PARTICLE_INFO_SIZE 128

// Fills `info` from a parameter record of PARTICLE_INFO_SIZE bytes; `sprite`
// is set to null.
void tideParticleInfoRead(const void* data, tideParticleSystemInfo* info);

class tideParticleSystem {
public:
    // A missing or short parameter file gives an inert system (it never emits).
    tideParticleSystem(const char* filename, tideSprite* sprite);
    explicit tideParticleSystem(const tideParticleSystemInfo* psi);
    tideParticleSystem(const tideParticleSystem& ps);
    tideParticleSystem& operator=(const tideParticleSystem& ps) = default;
    ~tideParticleSystem();

    // Draws nothing without a sprite.
    void Render();
    void FireAt(float x, float y);
    void Fire();
    void Stop(bool bKillParticles = false);
    void Update(float fDeltaTime);
    void MoveTo(float x, float y, bool bMoveParticles = false);
    void Transpose(float x, float y) { fTx = x; fTy = y; }
    void SetScale(float scale) { fScale = scale; }
    void TrackBoundingBox(bool bTrack) { bUpdateBoundingBox = bTrack; }

    int GetParticlesAlive() const { return nParticlesAlive; }
    float GetAge() const { return fAge; }
    void GetPosition(float* x, float* y) const { *x = vecLocation.x; *y = vecLocation.y; }
    void GetTransposition(float* x, float* y) const { *x = fTx; *y = fTy; }
    float GetScale() const { return fScale; }
    tideRect* GetBoundingBox(tideRect* rect) const;

    tideParticleSystemInfo info;
    float fAge; // -2 stopped, -1 endless, 0 and up running
    float fEmissionResidue;

    tideVector vecPrevLocation;
    tideVector vecLocation;
    float fTx, fTy;
    float fScale;

    int nParticlesAlive;
    tideRect rectBoundingBox;
    bool bUpdateBoundingBox;

    tideParticle particles[MAX_PARTICLES];

private:
    void Init();
    void EmitOne(); // one new particle in the next free slot

    static Tide* tide;
};
