// Fixture for tests of the real renderer: a fresh engine per test on the
// SDL/OpenGL backend (offscreen when there is no display) with a manual
// clock, a small frame and its own data folder. Skips when no OpenGL
// context can be made on this machine.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/tide.h"

class GlEngineTest : public ::testing::Test {
public:
    static constexpr int kW = 64, kH = 48; // the frame StartTestEngine opens

protected:
    // Scripted runs (manual clock) record every quad in the engine; real-time
    // ones copy quads continuing a run straight into the renderer's batch.
    virtual bool ManualClock() const { return true; }
    // Linear texture filtering, as the game has it (pixel checks mostly want exact texels).
    virtual bool Filtered() const { return false; }
    void SetUp() override;
    void TearDown() override;

    // Opens a screen scene cleared to `background`.
    void Begin(DWORD background);

    // A texture of w x h pixels, all `argb`, or the given pixels row by row.
    HTEXTURE Texture(int w, int h, DWORD argb);
    HTEXTURE Texture(int w, int h, const std::vector<DWORD>& argb);
    void Fill(HTEXTURE tex, const std::vector<DWORD>& argb);

    // An axis-aligned quad over [x0,x1) x [y0,y1) with one color and depth.
    static tideQuad Rect(float x0, float y0, float x1, float y1, DWORD col, HTEXTURE tex,
                         int blend, float z = 0.5f);
    void Draw(float x0, float y0, float x1, float y1, DWORD col, HTEXTURE tex, int blend,
              float z = 0.5f);

    // The last finished frame, read back through a PNG snapshot (ARGB).
    std::vector<DWORD> Shot();
    // Ends the scene and reads the frame back.
    std::vector<DWORD> Finish() {
        tide->Gfx_EndScene();
        return Shot();
    }
    // A pixel of a frame from Shot; 0 when the frame could not be read.
    static DWORD At(const std::vector<DWORD>& frame, int x, int y) {
        return frame.size() == size_t(kW * kH) ? frame[size_t(y * kW + x)] : 0;
    }

    Tide* tide = nullptr;
    std::string dir;
};

// A real engine on a 64x48 frame with its data in `dir`, initiated; null
// (and `why` set) when no window or OpenGL context can be made here.
Tide* StartTestEngine(const std::string& dir, bool manualClock, bool sound, std::string* why,
                      bool filtered = false);

// The last finished frame of w x h pixels (ARGB, top row first), read back
// through a PNG snapshot written to `path`; empty when it cannot be read.
std::vector<DWORD> ReadSnapshot(Tide* tide, const std::string& path, int w, int h);

// True when each channel of two colors differs by at most `tol`.
::testing::AssertionResult ColorNear(DWORD actual, DWORD expected, int tol = 1);
