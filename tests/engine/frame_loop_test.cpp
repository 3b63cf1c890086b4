// The real-time frame loop against a backend with a simulated clock: how
// often it wakes up, when frames start, and what it does while the window
// cannot be seen.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/headless_backend.h"
#include "engine/tide.h"

namespace {

// The simulated world: one clock (milliseconds) that every call moves on.
struct World {
    double clock = 1000;
    double pollCost = 0.005;  // one look at the event queue
    double overshoot = 0.08;  // how late a sleep wakes up
    double workCost = 3;      // the game's update
    bool visible = true;
    double vsync = 0;         // display refresh while swaps wait for it, Hz
    bool swapWaits = true;    // the swap really waits for the blank
    int pumps = 0, sleeps = 0, frames = 0, renders = 0, framesToRun = 0;
    std::vector<double> frameStarts;
};
World w;

class SimulatedBackend final : public tideHeadlessBackend {
public:
    bool PumpEvents() override {
        w.pumps++;
        w.clock += w.pollCost;
        return true;
    }
    void EndScene() override {
        if (w.vsync > 0 && w.swapWaits) {
            double period = 1000 / w.vsync;
            w.clock = (std::floor(w.clock / period) + 1) * period;
        }
    }
    double Now() override { return w.clock; }
    void Sleep(double seconds) override {
        w.sleeps++;
        w.clock += seconds * 1000 + w.overshoot;
    }
    bool Visible() override { return w.visible; }
    double VsyncRate() override { return w.vsync; }
};

Tide* tide = nullptr;

bool frame() {
    w.frames++;
    w.frameStarts.push_back(w.clock);
    w.clock += w.workCost;
    return w.frames >= w.framesToRun;
}

bool render() {
    w.renders++;
    tide->Gfx_BeginScene(0);
    tide->Gfx_EndScene();
    return false;
}

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override {
        w = World();
        tideBackendHook = [] { return static_cast<tideBackend*>(new SimulatedBackend()); };
        tide = tideCreate(TIDE_VERSION);
        tide->System_SetState(TIDE_FPS, 60);
        tide->System_SetState(TIDE_FRAMEFUNC, frame);
        tide->System_SetState(TIDE_RENDERFUNC, render);
        ASSERT_TRUE(tide->System_Initiate());
    }
    void TearDown() override {
        tide->System_Shutdown();
        tide->Release();
        tide = nullptr;
        tideBackendHook = nullptr;
    }
    void Run(int frames) {
        w.framesToRun = frames;
        ASSERT_TRUE(tide->System_Start());
        ASSERT_EQ(w.frames, frames);
    }
    // Largest distance of a frame start from the grid of `period` ms
    // through the first frame.
    static double OffGrid(double period) {
        double worst = 0;
        for (size_t i = 0; i < w.frameStarts.size(); i++)
            worst = std::max(worst, std::fabs(w.frameStarts[i] - w.frameStarts[0] - double(i) * period));
        return worst;
    }
};

// Waiting for the next frame is one sleep, not a poll loop: the time between
// frames costs no CPU, and frames still start within a millisecond of the grid.
TEST_F(FrameLoop, PacingSleepsOncePerFrameAndKeepsTheGrid) {
    Run(120);
    EXPECT_LE(w.sleeps, 120);
    EXPECT_LE(w.pumps, 2 * 120 + 1) << "the loop polled while waiting";
    EXPECT_LT(OffGrid(1000.0 / 60), 1.0);
    EXPECT_EQ(w.renders, 119); // the last frame quits instead
}

// Nobody sees a minimised or hidden window: the game runs on at the frame
// rate without drawing, one wake-up a frame.
TEST_F(FrameLoop, AHiddenWindowRunsTheGameWithoutDrawing) {
    w.visible = false;
    Run(60);
    EXPECT_EQ(w.renders, 0);
    EXPECT_LE(w.sleeps, 60);
    EXPECT_LE(w.pumps, 2 * 60 + 1);
    EXPECT_LT(OffGrid(1000.0 / 60), 1.0);
}

// With vsync the display sets the rate: the loop never sleeps against the
// swap. A swap that does not wait is still held near the display's rate.
TEST_F(FrameLoop, WithVsyncTheDisplaySetsTheRate) {
    w.vsync = 75;
    Run(150);
    EXPECT_EQ(w.sleeps, 0);
    EXPECT_LT(OffGrid(1000.0 / 75), 0.1);

    w = World();
    w.vsync = 75;
    w.swapWaits = false;
    Run(150);
    double span = w.frameStarts.back() - w.frameStarts.front();
    EXPECT_GE(span / 149, 1000.0 / 75 / 1.1);
    EXPECT_LE(span / 149, 1000.0 / 75 + 0.2);
}

}  // namespace
