#include <cmath>
#include <vector>

#include "gfx/animation.h"
#include "tests/gfx/gfx_fixture.h"

class AnimationTest : public GfxTest {
protected:
    HTEXTURE strip = tide->Texture_Create(256, 64); // four 64x64 frames in a row

    // Texel position of the current frame's top-left corner (vertex 0).
    static void FramePos(const tideAnimation& a, float* x, float* y) {
        *x = a.quad.v[0].tx * a.tex_width;
        *y = a.quad.v[0].ty * a.tex_height;
    }
    static void ExpectFrameAt(const tideAnimation& a, float x, float y) {
        float fx, fy;
        FramePos(a, &fx, &fy);
        EXPECT_FLOAT_EQ(fx, x);
        EXPECT_FLOAT_EQ(fy, y);
        EXPECT_FLOAT_EQ(a.quad.v[2].tx * a.tex_width, x + a.width);
        EXPECT_FLOAT_EQ(a.quad.v[2].ty * a.tex_height, y + a.height);
    }
};

TEST_F(AnimationTest, FramesContinueOnTheFollowingRows) {
    HTEXTURE tex = tide->Texture_Create(256, 128);
    tideAnimation a(tex, 6, 10, 128, 0, 64, 64);
    EXPECT_FALSE(a.IsPlaying());
    EXPECT_EQ(a.GetFrame(), 0);
    ExpectFrameAt(a, 128, 0);
    a.SetFrame(1);
    ExpectFrameAt(a, 192, 0);
    a.SetFrame(2);
    ExpectFrameAt(a, 0, 64);
    a.SetFrame(3);
    ExpectFrameAt(a, 64, 64);
    a.SetFrame(5);
    ExpectFrameAt(a, 192, 64);
    a.SetFrame(6);
    EXPECT_EQ(a.GetFrame(), 0);
    ExpectFrameAt(a, 128, 0);
    a.SetFrame(-1);
    EXPECT_EQ(a.GetFrame(), 5);
    ExpectFrameAt(a, 192, 64);
}

TEST_F(AnimationTest, RowsWrapAtTheImageWidthNotThePaddedTextureWidth) {
    // A padded texture: the image is 256 wide inside a 512-wide texture.
    HTEXTURE tex = tide->Texture_Create(512, 256);
    tideAnimation a(tex, 8, 10, 0, 0, 64, 64);
    a.orig_width = 256;
    a.SetFrame(3);
    ExpectFrameAt(a, 192, 0);
    a.SetFrame(4);
    ExpectFrameAt(a, 0, 64);
    EXPECT_FLOAT_EQ(a.quad.v[0].tx, 0.0f);
    EXPECT_FLOAT_EQ(a.quad.v[0].ty, 0.25f);
    a.SetFrame(7);
    ExpectFrameAt(a, 192, 64);
    EXPECT_FLOAT_EQ(a.quad.v[1].tx, 0.5f);
}

TEST_F(AnimationTest, FlippedAnimationStaysFlippedOnEveryFrame) {
    tideAnimation a(strip, 4, 10, 0, 0, 64, 64);
    a.SetFlip(true, false);
    a.SetFrame(2);
    EXPECT_FLOAT_EQ(a.quad.v[0].tx, 0.75f);
    EXPECT_FLOAT_EQ(a.quad.v[1].tx, 0.5f);
}

// Frames shown after Play, then after each step of one frame time, until the
// animation stops or `steps` steps were made.
static std::vector<int> PlayFrames(tideAnimation& a, int steps, int* stoppedAfter) {
    a.Play();
    a.Update(0.7f); // starts the clock only
    std::vector<int> shown{a.GetFrame()};
    *stoppedAfter = -1;
    for (int i = 1; i <= steps; i++) {
        a.Update(0.25f);
        if (!a.IsPlaying()) {
            *stoppedAfter = i;
            break;
        }
        shown.push_back(a.GetFrame());
    }
    return shown;
}

struct ModeCase {
    int mode;
    std::vector<int> frames;
    int stoppedAfter; // step at which IsPlaying turns false, -1: never
};

class AnimationModeTest : public AnimationTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(AnimationModeTest, ModeTableOnFourFrames) {
    const ModeCase& c = GetParam();
    tideAnimation a(strip, 4, 4, 0, 0, 64, 64); // 0.25 s a frame, exact in binary
    a.SetMode(c.mode);
    int stoppedAfter;
    // Looping modes run exactly the listed frames; the others one step past the stop.
    int steps = int(c.frames.size()) + (c.stoppedAfter < 0 ? -1 : 1);
    std::vector<int> shown = PlayFrames(a, steps, &stoppedAfter);
    EXPECT_EQ(shown, c.frames);
    EXPECT_EQ(stoppedAfter, c.stoppedAfter);
    // A stopped animation keeps showing its last frame.
    EXPECT_EQ(a.GetFrame(), c.frames.back());
    ExpectFrameAt(a, 64.0f * float(c.frames.back()), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AnimationModeTest,
    ::testing::Values(ModeCase{0, {0, 1, 2, 3}, 4}, ModeCase{1, {3, 2, 1, 0}, 4},
                      ModeCase{2, {0, 1, 2, 3, 2, 1, 0}, 7}, ModeCase{3, {3, 2, 1, 0, 1, 2, 3}, 7},
                      ModeCase{4, {0, 1, 2, 3, 0, 1, 2, 3, 0}, -1},
                      ModeCase{5, {3, 2, 1, 0, 3, 2, 1, 0, 3}, -1},
                      ModeCase{6, {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2}, -1},
                      ModeCase{7, {3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1}, -1}));

TEST_F(AnimationTest, StopsOnTheLastFrameWhenTheNextStepIsDue) {
    tideAnimation a(strip, 4, 10, 0, 0, 64, 64);
    a.SetMode(0);
    a.Play();
    a.Update(3.0f); // any size: only starts the clock
    EXPECT_EQ(a.GetFrame(), 0);
    for (int f = 1; f <= 3; f++) {
        a.Update(0.1f);
        EXPECT_EQ(a.GetFrame(), f);
        EXPECT_TRUE(a.IsPlaying());
    }
    a.Update(0.05f); // not yet time for the next step
    EXPECT_TRUE(a.IsPlaying());
    a.Update(0.05f);
    EXPECT_FALSE(a.IsPlaying());
    EXPECT_EQ(a.GetFrame(), 3);
    a.Update(1.0f); // stopped: nothing moves
    EXPECT_EQ(a.GetFrame(), 3);
}

TEST_F(AnimationTest, OneLargeUpdateStepsSeveralFrames) {
    tideAnimation a(strip, 4, 10, 0, 0, 64, 64);
    a.Play();
    a.Update(0);
    a.Update(0.35f);
    EXPECT_EQ(a.GetFrame(), 3);
    EXPECT_NEAR(a.fSinceLastFrame, 0.05f, 1e-5f);
    a.Update(0.06f);
    EXPECT_EQ(a.GetFrame(), 0); // looped
}

TEST_F(AnimationTest, SetModeShowsTheStartFrameWithoutStarting) {
    tideAnimation a(strip, 4, 10, 0, 0, 64, 64);
    a.SetMode(1);
    EXPECT_FALSE(a.IsPlaying());
    EXPECT_EQ(a.GetFrame(), 3);
    EXPECT_EQ(a.nDelta, -1);
    a.Update(1.0f);
    EXPECT_EQ(a.GetFrame(), 3);
}

TEST_F(AnimationTest, CopyOfAPlayingAnimationRunsOnIndependently) {
    tideAnimation a(strip, 4, 4, 0, 0, 64, 64);
    a.Play();
    a.Update(0);
    a.Update(0.5f);
    ASSERT_EQ(a.GetFrame(), 2);

    tideAnimation* copy = new tideAnimation(a);
    EXPECT_TRUE(copy->IsPlaying());
    EXPECT_EQ(copy->GetFrame(), 2);
    copy->Update(0.25f);
    EXPECT_EQ(copy->GetFrame(), 3);
    EXPECT_EQ(a.GetFrame(), 2);
    ExpectFrameAt(a, 128, 0);
    copy->SetColor(0xFF000000);
    delete copy;
    EXPECT_EQ(a.GetColor(0), 0xFFFFFFFFu);
    a.Update(0.25f);
    EXPECT_EQ(a.GetFrame(), 3);
}

TEST_F(AnimationTest, DegenerateParametersAreHarmless) {
    HTEXTURE tex = tide->Texture_Create(64, 64);
    tideAnimation none(tex, 0, 10, 0, 0, 64, 64); // no frames
    none.Play();
    none.Update(0);
    none.Update(1);
    EXPECT_EQ(none.GetFrame(), 0);

    tideAnimation thin(tex, 4, -5, 0, 0, 0, 64); // zero width, negative rate
    thin.Play();
    thin.Update(0);
    thin.Update(1); // must return
    thin.SetFrame(3);
    EXPECT_EQ(thin.GetFrame(), 3);
}

// Found by fuzzing resource scripts: a NaN width and a far-off rectangle
// overflowed int conversions, and an absurd rate never left Update.
TEST_F(AnimationTest, AbsurdRectanglesAndRatesStayBounded) {
    HTEXTURE tex = tide->Texture_Create(64, 64);
    tideAnimation nan(tex, 4, 10, 0, 0, std::nanf(""), 64);
    nan.SetFrame(2);
    EXPECT_EQ(nan.GetFrame(), 2);

    tideAnimation far(tex, 4, 10, 3e9f, 0, 16, 16);
    far.SetFrame(3);
    EXPECT_EQ(far.GetFrame(), 3);

    // One texel wide, so the start column saturated to INT_MIN is not divided
    // down and subtracting it overflowed int. Frames past the edge go down.
    tideAnimation farThin(tex, 4, 10, 3e9f, 0, 1, 16);
    farThin.SetFrame(0);
    float x, y;
    FramePos(farThin, &x, &y);
    EXPECT_GT(y, 0.0f);

    tideAnimation fast(tex, 4, 1e30f, 0, 0, 16, 16);
    fast.Play();
    fast.Update(0);
    fast.Update(0.1f);  // must return
    EXPECT_TRUE(fast.IsPlaying());
}

TEST_F(AnimationTest, ExtraOperationsKeepTheFrameConsistent) {
    tideAnimation a(strip, 4, 10, 0, 0, 64, 64);
    a.SetFrame(3);
    a.SetFrames(2); // frame 3 no longer exists: wraps to 1
    EXPECT_EQ(a.GetFrame(), 1);
    ExpectFrameAt(a, 64, 0);

    HTEXTURE wide = tide->Texture_Create(512, 64);
    a.SetTexture(wide);
    EXPECT_EQ(a.orig_width, 512);
    ExpectFrameAt(a, 64, 0);
}

// One long update lands where as many single steps would, in every mode and
// past any step limit (1024 steps used to be the most one update made).
TEST_F(AnimationTest, LongUpdateLandsWhereSingleStepsDo) {
    const long long checkpoints[] = {1, 2, 3, 5, 8, 13, 100, 1023, 1024, 1025, 1031, 2000, 2047, 2103};
    for (int mode = 0; mode <= 8; mode++) {
        for (int frames = 1; frames <= 5; frames++) {
            // 8 frames a second: 0.125 s a frame and every multiple are exact.
            tideAnimation single(strip, frames, 8, 0, 0, 64, 64);
            single.SetMode(mode);
            single.Play();
            single.Update(0);
            long long done = 0;
            for (long long r : checkpoints) {
                for (; done < r; done++) single.Update(0.125f);
                tideAnimation once(strip, frames, 8, 0, 0, 64, 64);
                once.SetMode(mode);
                once.Play();
                once.Update(0);
                once.Update(0.125f * float(r));
                SCOPED_TRACE(::testing::Message() << "mode " << mode << ", " << frames
                                                  << " frames, " << r << " steps");
                EXPECT_EQ(once.GetFrame(), single.GetFrame());
                EXPECT_EQ(once.IsPlaying(), single.IsPlaying());
                EXPECT_EQ(once.nDelta, single.nDelta);
                EXPECT_LT(once.fSinceLastFrame, once.fSpeed);
            }
        }
    }
    tideAnimation three(strip, 3, 8, 0, 0, 64, 64);
    three.Play();
    three.Update(0);
    three.Update(250); // 2000 steps
    EXPECT_EQ(three.GetFrame(), 2);
}

// The time past a stop is used up: resuming later starts a fresh frame time.
TEST_F(AnimationTest, StoppingUsesUpTheTimeLeft) {
    tideAnimation a(strip, 4, 8, 0, 0, 64, 64);
    a.SetMode(0);
    a.Play();
    a.Update(0);
    a.Update(10.0f); // stops on frame 3 after four steps, 76 more were due
    ASSERT_FALSE(a.IsPlaying());
    EXPECT_EQ(a.GetFrame(), 3);
    EXPECT_LT(a.fSinceLastFrame, a.fSpeed);
    a.SetFrame(0);
    a.Resume();
    a.Update(0.1f);
    EXPECT_EQ(a.GetFrame(), 0) << "a resumed animation jumped at once";
    a.Update(0.03f);
    EXPECT_EQ(a.GetFrame(), 1);
}
