#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/particle.h"
#include "tests/gfx/gfx_fixture.h"

// Parameters with no randomness left except the +-2 jitter of the position.
static tideParticleSystemInfo Still(tideSprite* spr, int emission, float lifetime, float life) {
    tideParticleSystemInfo i;
    std::memset(static_cast<void*>(&i), 0, sizeof i);
    i.sprite = spr;
    i.nEmission = emission;
    i.fLifetime = lifetime;
    i.fParticleLifeMin = i.fParticleLifeMax = life;
    i.fSizeStart = i.fSizeEnd = 1;
    i.colColorStart = i.colColorEnd = tideColorRGB(1, 1, 1, 1);
    return i;
}

class ParticleTest : public GfxTest {
protected:
    HTEXTURE tex = tide->Texture_Create(32, 32);
    tideSprite spr{tex, 0, 0, 10, 10};

    void SetUp() override { tide->Random_Seed(1234); }
};

// Writes a parameter file: a float or int per 4-byte slot, byte 28 the bool.
static std::vector<unsigned char> InfoFile(const float slots[32], bool relative) {
    std::vector<unsigned char> d(PARTICLE_INFO_SIZE, 0xCD);
    for (int k = 0; k < 32; k++)
        if (k != 0 && k != 7) std::memcpy(&d[size_t(k) * 4], &slots[k], 4);
    int emission = 77;
    std::memcpy(&d[4], &emission, 4);
    d[28] = relative ? 1 : 0;
    return d;
}

TEST_F(ParticleTest, LoadsTheParameterFileByOffset) {
    float slots[32];
    for (int k = 0; k < 32; k++) slots[k] = float(k) + 0.5f;
    std::vector<unsigned char> d = InfoFile(slots, true);
    eng.WriteBytes("fx.psi", d.data(), d.size());
    tideParticleSystem ps("fx.psi", &spr);
    const tideParticleSystemInfo& i = ps.info;
    EXPECT_EQ(i.sprite, &spr);
    EXPECT_EQ(i.nEmission, 77);
    EXPECT_FLOAT_EQ(i.fLifetime, 2.5f);
    EXPECT_FLOAT_EQ(i.fParticleLifeMax, 4.5f);
    EXPECT_FLOAT_EQ(i.fSpread, 6.5f);
    EXPECT_TRUE(i.bRelative);
    EXPECT_FLOAT_EQ(i.fSpeedMin, 8.5f);
    EXPECT_FLOAT_EQ(i.fTangentialAccelMax, 15.5f);
    EXPECT_FLOAT_EQ(i.fSizeStart, 16.5f);
    EXPECT_FLOAT_EQ(i.fSpinVar, 21.5f);
    EXPECT_FLOAT_EQ(i.colColorStart.r, 22.5f);
    EXPECT_FLOAT_EQ(i.colColorStart.a, 25.5f);
    EXPECT_FLOAT_EQ(i.colColorEnd.r, 26.5f);
    EXPECT_FLOAT_EQ(i.colColorEnd.a, 29.5f);
    EXPECT_FLOAT_EQ(i.fColorVar, 30.5f);
    EXPECT_FLOAT_EQ(i.fAlphaVar, 31.5f);
    // Initial state.
    EXPECT_EQ(ps.GetAge(), -2.0f);
    EXPECT_EQ(ps.GetParticlesAlive(), 0);
    EXPECT_EQ(ps.GetScale(), 1.0f);
    EXPECT_TRUE(ps.rectBoundingBox.bClean);
    EXPECT_FALSE(ps.bUpdateBoundingBox);
}

TEST_F(ParticleTest, MissingOrShortFileGivesAnInertSystem) {
    std::vector<unsigned char> shortFile(100, 0x40);
    eng.WriteBytes("short.psi", shortFile.data(), shortFile.size());
    for (const char* name : {"short.psi", "absent.psi"}) {
        eng.hl->ClearLog();
        tideParticleSystem ps(name, &spr);
        EXPECT_EQ(eng.LogCount(std::string("Particle system ") + name), 1) << name;
        ps.FireAt(10, 10);
        for (int k = 0; k < 10; k++) ps.Update(0.5f);
        ps.Render();
        EXPECT_EQ(ps.GetParticlesAlive(), 0);
    }
    EXPECT_TRUE(Quads().empty());
}

TEST_F(ParticleTest, EmissionCarriesTheResidue) {
    tideParticleSystemInfo info = Still(&spr, 10, -1, 5);
    tideParticleSystem ps(&info);
    ps.Fire();
    EXPECT_EQ(ps.GetAge(), -1.0f);
    ps.Update(0.05f);
    EXPECT_EQ(ps.GetParticlesAlive(), 0);
    EXPECT_FLOAT_EQ(ps.fEmissionResidue, 0.5f);
    ps.Update(0.05f);
    EXPECT_EQ(ps.GetParticlesAlive(), 1);
    ps.Update(0.35f);
    EXPECT_EQ(ps.GetParticlesAlive(), 4);
    EXPECT_NEAR(ps.fEmissionResidue, 0.5f, 1e-5f);
}

TEST_F(ParticleTest, LifetimeStopsEmissionAndParticlesLiveOn) {
    tideParticleSystemInfo info = Still(&spr, 10, 1, 0.75f);
    tideParticleSystem ps(&info);
    ps.Fire();
    EXPECT_EQ(ps.GetAge(), 0.0f);
    ps.Update(0.5f);
    EXPECT_EQ(ps.GetParticlesAlive(), 5);
    ps.Update(0.5f); // age reaches 1: stopped before emitting
    EXPECT_EQ(ps.GetAge(), -2.0f);
    EXPECT_EQ(ps.GetParticlesAlive(), 5);
    ps.Update(0.5f); // the first five reach 1 s > 0.75 s
    EXPECT_EQ(ps.GetParticlesAlive(), 0);
}

TEST_F(ParticleTest, EndlessUntilStop) {
    tideParticleSystemInfo info = Still(&spr, 10, -1, 100);
    tideParticleSystem ps(&info);
    ps.Fire();
    for (int k = 0; k < 20; k++) ps.Update(1.0f);
    EXPECT_EQ(ps.GetParticlesAlive(), 200);
    EXPECT_EQ(ps.GetAge(), -1.0f);
    ps.Stop();
    ps.Update(1.0f);
    EXPECT_EQ(ps.GetParticlesAlive(), 200); // Stop(false) lets them fly on
    float x0 = ps.particles[0].fAge;
    ps.Update(1.0f);
    EXPECT_FLOAT_EQ(ps.particles[0].fAge, x0 + 1);
    ps.TrackBoundingBox(true);
    ps.Update(0.1f);
    ps.Stop(true);
    EXPECT_EQ(ps.GetParticlesAlive(), 0);
    EXPECT_TRUE(ps.rectBoundingBox.bClean);
}

TEST_F(ParticleTest, CapOf500LosesTheSurplus) {
    tideParticleSystemInfo info = Still(&spr, 1000, -1, 1);
    tideParticleSystem ps(&info);
    ps.Fire();
    ps.Update(0.75f);
    EXPECT_EQ(ps.GetParticlesAlive(), 500);
    EXPECT_LT(ps.fEmissionResidue, 1.0f);
    ps.Update(0.5f);
    EXPECT_EQ(ps.GetParticlesAlive(), 500);
    ps.Update(0.5f); // all die at 1 s; 500 new ones, not the 1500 owed
    EXPECT_EQ(ps.GetParticlesAlive(), 500);
    for (int k = 0; k < 500; k++) ASSERT_EQ(ps.particles[k].fAge, 0.0f);
}

TEST_F(ParticleTest, DeadParticlesAreSwapRemovedAndTheMovedOneUpdatedOnce) {
    tideParticleSystemInfo info = Still(&spr, 0, -1, 1);
    tideParticleSystem ps(&info);
    ps.nParticlesAlive = 3;
    const float terminal[3] = {0.5f, 10, 0.5f};
    for (int k = 0; k < 3; k++) {
        ps.particles[k] = tideParticle();
        ps.particles[k].fTerminalAge = terminal[k];
        ps.particles[k].vecLocation = tideVector(float(k), 0);
        ps.particles[k].vecVelocity = tideVector(0, 10);
        ps.particles[k].fGravity = 100;
    }
    ps.particles[1].fAge = 1;
    ps.Update(0.5f);
    ASSERT_EQ(ps.GetParticlesAlive(), 1);
    const tideParticle& p = ps.particles[0];
    EXPECT_FLOAT_EQ(p.fTerminalAge, 10);
    EXPECT_FLOAT_EQ(p.fAge, 1.5f);
    // Gravity first raises the velocity, then the position moves by it.
    EXPECT_FLOAT_EQ(p.vecVelocity.y, 60);
    EXPECT_FLOAT_EQ(p.vecLocation.y, 30);
    EXPECT_FLOAT_EQ(p.vecLocation.x, 1);
}

TEST_F(ParticleTest, RadialAndTangentialAccelerationFollowTheEmitter) {
    tideParticleSystemInfo info = Still(&spr, 0, -1, 1);
    tideParticleSystem ps(&info);
    ps.MoveTo(100, 100);
    ps.nParticlesAlive = 1;
    tideParticle& p = ps.particles[0];
    p = tideParticle();
    p.fTerminalAge = 10;
    p.vecLocation = tideVector(110, 100); // right of the emitter
    p.fRadialAccel = 100;
    p.fTangentialAccel = 50;
    p.fSpinDelta = 2;
    p.fSizeDelta = -1;
    p.fSize = 1;
    p.colColorDelta = tideColorRGB(-1, 0, 0, -0.5f);
    p.colColor = tideColorRGB(1, 1, 1, 1);
    ps.Update(0.1f);
    EXPECT_NEAR(p.vecVelocity.x, 10, 0.02f); // outward
    EXPECT_NEAR(p.vecVelocity.y, 5, 0.01f);  // across, clockwise on screen
    EXPECT_NEAR(p.vecLocation.x, 111, 0.002f);
    EXPECT_FLOAT_EQ(p.fSpin, 0.2f);
    EXPECT_FLOAT_EQ(p.fSize, 0.9f);
    EXPECT_FLOAT_EQ(p.colColor.r, 0.9f);
    EXPECT_FLOAT_EQ(p.colColor.a, 0.95f);

    // A particle on the emitter itself gets no radial push.
    p.vecLocation = tideVector(100, 100);
    p.vecVelocity = tideVector(0, 0);
    ps.Update(0.1f);
    EXPECT_EQ(p.vecVelocity.x, 0);
    EXPECT_EQ(p.vecVelocity.y, 0);
}

TEST_F(ParticleTest, NewParticlesDrawRandomValuesInAFixedOrder) {
    tideParticleSystemInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    info.sprite = &spr;
    info.nEmission = 1;
    info.fLifetime = -1;
    info.fParticleLifeMin = 1, info.fParticleLifeMax = 3;
    info.fDirection = 0.5f, info.fSpread = 1;
    info.fSpeedMin = 10, info.fSpeedMax = 20;
    info.fGravityMin = 100, info.fGravityMax = 200;
    info.fRadialAccelMin = -5, info.fRadialAccelMax = 5;
    info.fTangentialAccelMin = 30, info.fTangentialAccelMax = 40;
    info.fSizeStart = 1, info.fSizeEnd = 3, info.fSizeVar = 0.5f;
    info.fSpinStart = 2, info.fSpinEnd = 6, info.fSpinVar = 0.25f;
    info.colColorStart = tideColorRGB(0.2f, 0.4f, 0.6f, 1);
    info.colColorEnd = tideColorRGB(1, 0, 1, 0);
    info.fColorVar = 0.5f, info.fAlphaVar = 1;

    tide->Random_Seed(99);
    float u[15];
    for (float& v : u) v = tide->Random_Float(0, 1);
    auto R = [&u](int k, float a, float b) { return a + (b - a) * u[k]; };

    tideParticleSystem ps(&info);
    ps.FireAt(10, 20);
    ps.MoveTo(30, 20); // running: the first particle lies on the way
    tide->Random_Seed(99);
    ps.Update(1.0f);
    ASSERT_EQ(ps.GetParticlesAlive(), 1);
    const tideParticle& p = ps.particles[0];

    float life = R(0, 1, 3);
    EXPECT_FLOAT_EQ(p.fTerminalAge, life);
    EXPECT_FLOAT_EQ(p.vecLocation.x, 10 + 20 * u[1] + R(2, -2, 2));
    EXPECT_FLOAT_EQ(p.vecLocation.y, 20 + R(3, -2, 2));
    float ang = float(0.5 - 1.5707963267948966 + R(4, 0, 1) - 0.5);
    float speed = R(5, 10, 20);
    EXPECT_NEAR(p.vecVelocity.x, std::cos(ang) * speed, 1e-4f);
    EXPECT_NEAR(p.vecVelocity.y, std::sin(ang) * speed, 1e-4f);
    EXPECT_FLOAT_EQ(p.fGravity, R(6, 100, 200));
    EXPECT_FLOAT_EQ(p.fRadialAccel, R(7, -5, 5));
    EXPECT_FLOAT_EQ(p.fTangentialAccel, R(8, 30, 40));
    EXPECT_FLOAT_EQ(p.fSize, R(9, 1, 2));
    EXPECT_FLOAT_EQ(p.fSizeDelta, (3 - p.fSize) / life);
    EXPECT_FLOAT_EQ(p.fSpin, R(10, 2, 3));
    EXPECT_FLOAT_EQ(p.fSpinDelta, (6 - p.fSpin) / life);
    EXPECT_FLOAT_EQ(p.colColor.r, R(11, 0.2f, 0.6f));
    EXPECT_FLOAT_EQ(p.colColor.g, R(12, 0.4f, 0.2f));
    EXPECT_FLOAT_EQ(p.colColor.b, R(13, 0.6f, 0.8f));
    EXPECT_FLOAT_EQ(p.colColor.a, R(14, 1, 0));
    EXPECT_FLOAT_EQ(p.colColorDelta.g, (0 - p.colColor.g) / life);
    EXPECT_FLOAT_EQ(p.colColorDelta.a, (0 - p.colColor.a) / life);
    EXPECT_EQ(p.fAge, 0);
}

TEST_F(ParticleTest, RelativeDirectionFollowsTheMotion) {
    tideParticleSystemInfo info = Still(&spr, 1, -1, 5);
    info.fSpeedMin = info.fSpeedMax = 10;
    info.bRelative = true; // direction 0 relative to the motion: straight ahead
    tideParticleSystem ps(&info);
    ps.FireAt(0, 0);
    ps.MoveTo(50, 0);
    ps.Update(1.0f);
    ASSERT_EQ(ps.GetParticlesAlive(), 1);
    EXPECT_NEAR(ps.particles[0].vecVelocity.x, -10, 1e-3f);
    EXPECT_NEAR(ps.particles[0].vecVelocity.y, 0, 1e-3f);
}

TEST_F(ParticleTest, MoveToWithAndWithoutParticles) {
    tideParticleSystemInfo info = Still(&spr, 100, -1, 50);
    tideParticleSystem ps(&info);
    ps.FireAt(0, 0);
    ps.Update(0.5f);
    ASSERT_EQ(ps.GetParticlesAlive(), 50);
    std::vector<tideVector> before;
    for (int k = 0; k < 50; k++) before.push_back(ps.particles[k].vecLocation);

    ps.MoveTo(100, 40, true);
    for (int k = 0; k < 50; k++) {
        EXPECT_FLOAT_EQ(ps.particles[k].vecLocation.x, before[size_t(k)].x + 100);
        EXPECT_FLOAT_EQ(ps.particles[k].vecLocation.y, before[size_t(k)].y + 40);
    }
    EXPECT_EQ(ps.vecPrevLocation, tideVector(100, 40));
    float x, y;
    ps.GetPosition(&x, &y);
    EXPECT_EQ(x, 100);

    // Without moving particles a running emitter spreads the next ones along
    // its way from (100, 40) to (200, 40).
    ps.MoveTo(200, 40);
    ps.Update(0.5f);
    float lo = 1e9f, hi = -1e9f;
    for (int k = 50; k < 100; k++) {
        lo = std::min(lo, ps.particles[k].vecLocation.x);
        hi = std::max(hi, ps.particles[k].vecLocation.x);
        EXPECT_NEAR(ps.particles[k].vecLocation.y, 40, 2.0f);
    }
    EXPECT_LT(lo, 125);
    EXPECT_GT(hi, 175);
}

TEST_F(ParticleTest, FireAtOnAStoppedSystemSpawnsAtTheNewPlace) {
    tideParticleSystemInfo info = Still(&spr, 100, -1, 50);
    tideParticleSystem ps(&info);
    ps.MoveTo(0, 0);
    ps.Update(0.1f);
    ps.FireAt(300, 200);
    ps.Update(0.5f);
    ASSERT_EQ(ps.GetParticlesAlive(), 50);
    for (int k = 0; k < 50; k++) {
        EXPECT_NEAR(ps.particles[k].vecLocation.x, 300, 2.0f);
        EXPECT_NEAR(ps.particles[k].vecLocation.y, 200, 2.0f);
    }
}

TEST_F(ParticleTest, BoundingBoxIsTrackedAndScaled) {
    tideParticleSystemInfo info = Still(&spr, 100, -1, 50);
    tideParticleSystem ps(&info);
    ps.TrackBoundingBox(true);
    ps.FireAt(50, 60);
    ps.Update(0.2f);
    tideRect r;
    ps.GetBoundingBox(&r);
    EXPECT_FALSE(r.bClean);
    EXPECT_GE(r.x1, 48);
    EXPECT_LE(r.x2, 52);
    EXPECT_LT(r.x1, r.x2);
    ps.SetScale(2);
    ps.Transpose(1000, 1000); // the offset is not part of the box
    tideRect s;
    ps.GetBoundingBox(&s);
    EXPECT_FLOAT_EQ(s.x1, r.x1 * 2);
    EXPECT_FLOAT_EQ(s.y1, r.y1 * 2);
    EXPECT_FLOAT_EQ(s.x2, r.x2 * 2);
    EXPECT_FLOAT_EQ(s.y2, r.y2 * 2);

    tideParticleSystem off(&info);
    off.FireAt(5, 5);
    off.Update(0.2f);
    EXPECT_TRUE(off.GetBoundingBox(&r)->bClean);
}

class ParticleRenderTest : public ParticleTest {
protected:
    // One particle at (10, 20), size 1, spin 0, color (1, 0.5, 0, 0.5).
    void Place(tideParticleSystem& ps) {
        ps.nParticlesAlive = 1;
        tideParticle& p = ps.particles[0];
        p = tideParticle();
        p.vecLocation = tideVector(10, 20);
        p.fSize = 1;
        p.fTerminalAge = 5;
        p.colColor = tideColorRGB(1, 0.5f, 0, 0.5f);
    }
};

TEST_F(ParticleRenderTest, DrawsWithTheParticleColorScaleAndOffset) {
    spr.SetHotSpot(5, 5);
    spr.SetColor(0xFF336699);
    tideParticleSystemInfo info = Still(&spr, 0, -1, 5);
    tideParticleSystem ps(&info);
    Place(ps);
    ps.SetScale(2);
    ps.Transpose(100, 50);
    ps.Render();
    ASSERT_EQ(Quads().size(), 1u);
    const tideQuad& q = Quads()[0];
    EXPECT_POS(q.v[0], 110, 80);
    EXPECT_POS(q.v[2], 130, 100);
    EXPECT_EQ(q.v[0].col, 0x7FFF7F00u);
    EXPECT_EQ(q.v[3].col, 0x7FFF7F00u);
    EXPECT_EQ(spr.GetColor(2), 0xFF336699u); // the sprite gets its color back
}

TEST_F(ParticleRenderTest, NegativeStartRedKeepsTheSpriteColorWithTheParticleAlpha) {
    spr.SetColor(0xFF336699);
    tideParticleSystemInfo info = Still(&spr, 0, -1, 5);
    info.colColorStart.r = -1;
    tideParticleSystem ps(&info);
    Place(ps);
    ps.Render();
    ASSERT_EQ(Quads().size(), 1u);
    EXPECT_EQ(Quads()[0].v[1].col, 0x7F336699u);
    EXPECT_EQ(spr.GetColor(1), 0xFF336699u);
}

TEST_F(ParticleRenderTest, RotationIsSpinTimesAge) {
    tideParticleSystemInfo info = Still(&spr, 0, -1, 5);
    tideParticleSystem ps(&info);
    Place(ps);
    ps.particles[0].fSpin = 0.5f;
    ps.particles[0].fAge = 6.2831853f; // half a turn about the hot spot (0, 0)
    ps.Render();
    EXPECT_NEAR(Quads().at(0).v[2].x, 0, 1e-4f);
    EXPECT_NEAR(Quads().at(0).v[2].y, 10, 1e-4f);
}

TEST_F(ParticleRenderTest, WithoutASpriteUpdatesButDrawsNothing) {
    tideParticleSystemInfo info = Still(nullptr, 100, -1, 5);
    tideParticleSystem ps(&info);
    ps.FireAt(0, 0);
    ps.Update(0.5f);
    EXPECT_EQ(ps.GetParticlesAlive(), 50);
    ps.Render();
    EXPECT_TRUE(Quads().empty());
}

TEST_F(ParticleRenderTest, CopiesCarryTheirOwnParticles) {
    tideParticleSystemInfo info = Still(&spr, 100, -1, 5);
    tideParticleSystem ps(&info);
    ps.FireAt(0, 0);
    ps.Update(0.5f);
    tideParticleSystem* copy = new tideParticleSystem(ps);
    EXPECT_EQ(copy->GetParticlesAlive(), 50);
    copy->Stop(true);
    copy->Render();
    delete copy;
    EXPECT_EQ(ps.GetParticlesAlive(), 50);
    ps.Render();
    EXPECT_EQ(Quads().size(), 50u);
}
