#include "tests/engine_gl/gl_engine.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tests/support/test_support.h"

Tide* StartTestEngine(const std::string& dir, bool manualClock, bool sound, std::string* why,
                      bool filtered) {
    Tide* tide = tideCreate(TIDE_VERSION);
    tide->System_SetState(TIDE_MANUALCLOCK, manualClock);
    tide->System_SetState(TIDE_DATAPATH, dir.c_str());
    tide->System_SetState(TIDE_SCREENWIDTH, GlEngineTest::kW);
    tide->System_SetState(TIDE_SCREENHEIGHT, GlEngineTest::kH);
    tide->System_SetState(TIDE_USESOUND, sound);
    tide->System_SetState(TIDE_FPS, 0);
    tide->System_SetState(TIDE_TEXTUREFILTER, filtered);
    if (tide->System_Initiate()) return tide;
    *why = tide->System_GetErrorMessage();
    tide->Release();
    return nullptr;
}

void GlEngineTest::SetUp() {
    dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    std::string why;
    tide = StartTestEngine(dir, ManualClock(), false, &why, Filtered());
    if (!tide) GTEST_SKIP() << "no OpenGL context on this machine: " << why;
}

void GlEngineTest::TearDown() {
    if (tide) {
        tide->System_Shutdown();
        tide->Release();
    }
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
}

void GlEngineTest::Begin(DWORD background) {
    tide->Gfx_BeginScene(0);
    tide->Gfx_Clear(background);
}

HTEXTURE GlEngineTest::Texture(int w, int h, DWORD argb) {
    return Texture(w, h, std::vector<DWORD>(size_t(w) * size_t(h), argb));
}

HTEXTURE GlEngineTest::Texture(int w, int h, const std::vector<DWORD>& argb) {
    HTEXTURE tex = tide->Texture_Create(w, h);
    EXPECT_NE(tex, 0u);
    Fill(tex, argb);
    return tex;
}

void GlEngineTest::Fill(HTEXTURE tex, const std::vector<DWORD>& argb) {
    DWORD* p = tide->Texture_Lock(tex, false);
    ASSERT_NE(p, nullptr);
    std::memcpy(p, argb.data(), argb.size() * sizeof(DWORD));
    tide->Texture_Unlock(tex);
}

tideQuad GlEngineTest::Rect(float x0, float y0, float x1, float y1, DWORD col, HTEXTURE tex,
                            int blend, float z) {
    tideQuad q;
    const float xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
    const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
    for (int i = 0; i < 4; i++) q.v[i] = tideVertex{xs[i], ys[i], z, col, us[i], vs[i]};
    q.tex = tex;
    q.blend = blend;
    return q;
}

void GlEngineTest::Draw(float x0, float y0, float x1, float y1, DWORD col, HTEXTURE tex,
                        int blend, float z) {
    tideQuad q = Rect(x0, y0, x1, y1, col, tex, blend, z);
    tide->Gfx_RenderQuad(&q);
}

std::vector<DWORD> GlEngineTest::Shot() { return ReadSnapshot(tide, dir + "/shot.png", kW, kH); }

std::vector<DWORD> ReadSnapshot(Tide* tide, const std::string& path, int w, int h) {
    std::vector<DWORD> out;
    EXPECT_TRUE(tide->Gfx_Snapshot(path.c_str()));
    SDL_Surface* img = IMG_Load(path.c_str());
    EXPECT_NE(img, nullptr) << IMG_GetError();
    if (!img) return out;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(img);
    EXPECT_EQ(argb->w, w);
    EXPECT_EQ(argb->h, h);
    if (argb->w == w && argb->h == h) {
        out.resize(size_t(w) * size_t(h));
        for (int y = 0; y < h; y++)
            std::memcpy(&out[size_t(y) * size_t(w)], static_cast<char*>(argb->pixels) + y * argb->pitch,
                        size_t(w) * 4);
    }
    SDL_FreeSurface(argb);
    return out;
}

::testing::AssertionResult ColorNear(DWORD actual, DWORD expected, int tol) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tol) {
            char buf[64];
            std::snprintf(buf, sizeof(buf), "0x%08X, expected 0x%08X", actual, expected);
            return ::testing::AssertionFailure() << buf;
        }
    }
    return ::testing::AssertionSuccess();
}
