#include <gtest/gtest.h>

#include <set>

#include "tests/support/test_support.h"

namespace {

// What the frame callback saw, frame by frame.
struct Seen {
    bool down, up, held;
    int key, chr, wheel;
    float mx, my;
};
std::vector<Seen> seen;
Tide* frameTide = nullptr;
int quitAfter = -1;

bool RecordInput() {
    Tide* t = frameTide;
    Seen s{t->Input_KeyDown('A'), t->Input_KeyUp('A'), t->Input_GetKeyState('A'), t->Input_GetKey(),
           t->Input_GetChar(), t->Input_GetMouseWheel(), 0, 0};
    t->Input_GetMousePos(&s.mx, &s.my);
    seen.push_back(s);
    return int(seen.size()) == quitAfter;
}

class Core : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        frameTide = e.tide;
        quitAfter = -1;
        e.tide->System_SetState(TIDE_FRAMEFUNC, RecordInput);
    }
    HeadlessEngine e;
};

TEST_F(Core, KeyEdgesAreSeenForOneFrameAndHeldStateInBetween) {
    e.hl->Key('A', true);
    e.hl->Char('a');
    e.hl->Frame(0.016f); // pressed
    e.hl->Frame(0.016f); // held
    e.hl->Key('A', true); // auto-repeat: the frame's key, but no new press
    e.hl->Frame(0.016f);
    e.hl->Key('A', false);
    e.hl->Frame(0.016f); // released
    e.hl->Frame(0.016f); // nothing
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_TRUE(seen[0].down && seen[0].held && !seen[0].up);
    EXPECT_EQ(seen[0].key, 'A');
    EXPECT_EQ(seen[0].chr, 'a');
    for (int i : {1, 2}) {
        EXPECT_TRUE(!seen[i].down && seen[i].held && !seen[i].up) << i;
        EXPECT_EQ(seen[i].key, i == 2 ? 'A' : 0) << i;
        EXPECT_EQ(seen[i].chr, 0) << i;
    }
    EXPECT_TRUE(!seen[3].down && !seen[3].held && seen[3].up);
    EXPECT_TRUE(!seen[4].down && !seen[4].held && !seen[4].up);
}

// A tap (press and release within one frame) is a press in that frame and a
// release in the next, so controls that act while the button is held see it.
TEST_F(Core, PressAndReleaseWithinOneFrameArriveInTwoFrames) {
    e.hl->Key('A', true);
    e.hl->Key('A', false);
    e.hl->Wheel(2);
    e.hl->Wheel(-1);
    e.hl->SetMouse(100.5f, 200.25f);
    e.hl->Frame(0.016f);
    e.hl->Frame(0.016f);
    e.hl->Frame(0.016f);
    EXPECT_TRUE(seen[0].down && !seen[0].up && seen[0].held);
    EXPECT_EQ(seen[0].key, 'A');
    EXPECT_TRUE(!seen[1].down && seen[1].up && !seen[1].held);
    EXPECT_EQ(seen[1].key, 0);
    EXPECT_TRUE(!seen[2].down && !seen[2].up && !seen[2].held);
    EXPECT_EQ(seen[0].wheel, 1);
    EXPECT_EQ(seen[1].wheel, 0);
    EXPECT_FLOAT_EQ(seen[1].mx, 100.5f); // the pointer stays where it was
    EXPECT_FLOAT_EQ(seen[1].my, 200.25f);

    // Two taps in one frame: four edges, one a frame, in order.
    seen.clear();
    for (int i = 0; i < 2; i++) {
        e.hl->Key('A', true);
        e.hl->Key('A', false);
    }
    for (int i = 0; i < 5; i++) e.hl->Frame(0.016f);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(seen[size_t(i)].down, i % 2 == 0) << i;
        EXPECT_EQ(seen[size_t(i)].up, i % 2 == 1) << i;
        EXPECT_EQ(seen[size_t(i)].held, i % 2 == 0) << i;
    }
    EXPECT_TRUE(!seen[4].down && !seen[4].up && !seen[4].held);
}

TEST_F(Core, FrameReturnsTheFrameCallbacksResultAndAdvancesTheManualClock) {
    quitAfter = 3;
    EXPECT_FALSE(e.hl->Frame(0.25f));
    EXPECT_FALSE(e.hl->Frame(0.5f));
    EXPECT_FLOAT_EQ(e.tide->Timer_GetDelta(), 0.5f);
    EXPECT_TRUE(e.hl->Frame(0.25f));
    EXPECT_FLOAT_EQ(e.tide->Timer_GetTime(), 1.0f);
    // System_Start on a manual clock runs frames until the callback asks to quit.
    seen.clear();
    quitAfter = 10;
    EXPECT_TRUE(e.tide->System_Start());
    EXPECT_EQ(seen.size(), 10u);
}

TEST_F(Core, SeededSequencesRepeatAndIntCoversBothEnds) {
    e.tide->Random_Seed(1234);
    std::vector<int> a;
    for (int i = 0; i < 20; i++) a.push_back(e.tide->Random_Int(0, 1000));
    e.tide->Random_Seed(1234);
    for (int i = 0; i < 20; i++) EXPECT_EQ(e.tide->Random_Int(0, 1000), a[size_t(i)]);

    std::set<int> values;
    for (int i = 0; i < 2000; i++) {
        int v = e.tide->Random_Int(-2, 2);
        ASSERT_GE(v, -2);
        ASSERT_LE(v, 2);
        values.insert(v);
    }
    EXPECT_EQ(values.size(), 5u);
    EXPECT_EQ(e.tide->Random_Int(7, 7), 7);
    EXPECT_EQ(e.tide->Random_Int(INT32_MIN, INT32_MAX) >= INT32_MIN, true);
    for (int i = 0; i < 1000; i++) {
        float f = e.tide->Random_Float(-1.5f, 2.5f);
        ASSERT_GE(f, -1.5f);
        ASSERT_LE(f, 2.5f);
    }
}

TEST_F(Core, SeedingFromTheClockFollowsTheManualClock) {
    e.hl->Frame(1.0f);
    e.tide->Random_Seed(0);
    int a = e.tide->Random_Int(0, 1 << 30);
    e.tide->Random_Seed(0);
    EXPECT_EQ(e.tide->Random_Int(0, 1 << 30), a); // same clock, same sequence
    e.hl->Frame(0.016f);
    e.tide->Random_Seed(0);
    EXPECT_NE(e.tide->Random_Int(0, 1 << 30), a);
}

TEST_F(Core, QuadsOfTheLastSceneAreRecordedInOrder) {
    tideQuad q{};
    q.blend = BLEND_DEFAULT;
    e.tide->Gfx_BeginScene(0);
    e.tide->Gfx_Clear(0xFF000000);
    for (int i = 0; i < 3; i++) {
        q.v[0].x = float(i);
        e.tide->Gfx_RenderQuad(&q);
    }
    e.tide->Gfx_EndScene();
    ASSERT_EQ(e.hl->Quads().size(), 3u);
    EXPECT_EQ(e.hl->Quads()[2].v[0].x, 2.0f);
    EXPECT_EQ(e.hl->Clears(), std::vector<DWORD>{0xFF000000});
    e.tide->Gfx_BeginScene(0);
    e.tide->Gfx_EndScene();
    EXPECT_TRUE(e.hl->Quads().empty());
}

TEST_F(Core, TexturesLoadFromPngAndBrokenImagesGiveZeroAndALogLine) {
    e.WritePng("res/two.png", 2, 1, {0x80FF0000, 0xFF00FF00});
    HTEXTURE t = e.tide->Texture_Load("Res\\Two.png", 0, false);
    ASSERT_NE(t, 0u);
    EXPECT_EQ(e.tide->Texture_GetWidth(t, false), 2);
    EXPECT_EQ(e.tide->Texture_GetHeight(t, false), 1);
    EXPECT_EQ(e.tide->Texture_GetWidth(t, true), 2);
    DWORD* p = e.tide->Texture_Lock(t, true, 0, 0, 0, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0x80FF0000u);
    EXPECT_EQ(p[1], 0xFF00FF00u);
    e.tide->Texture_Unlock(t);
    EXPECT_EQ(e.tide->Texture_Lock(t, true, 2, 0, 1, 1), nullptr); // outside the texture
    e.tide->Texture_Free(t);
    EXPECT_EQ(e.tide->Texture_GetWidth(t, false), 0);

    e.WriteFile("res/bad.png", "\x89PNG garbage garbage");
    EXPECT_EQ(e.tide->Texture_Load("res\\bad.png", 0, false), 0u);
    EXPECT_TRUE(e.LogHas("res\\bad.png"));
    EXPECT_EQ(e.tide->Texture_Load("res\\none.png", 0, false), 0u);
    EXPECT_EQ(e.LogCount("res\\none.png"), 1);
    // Found by fuzzing: SDL_image's SVG reader leaked on this; only raster
    // formats are read.
    e.WriteFile("res/vector.png", "<svg width='2' height='2'><rect/></svg>");
    EXPECT_EQ(e.tide->Texture_Load("res\\vector.png", 0, false), 0u);
    EXPECT_TRUE(e.LogHas("res\\vector.png (not a PNG, JPEG, BMP or GIF image)"));

    HTEXTURE c = e.tide->Texture_Create(4, 3);
    ASSERT_NE(c, 0u);
    DWORD* w = e.tide->Texture_Lock(c, false, 0, 0, 0, 0);
    EXPECT_EQ(w[11], 0u);
    EXPECT_EQ(e.tide->Texture_Create(0, 5), 0u);
    EXPECT_EQ(e.tide->Texture_Create(100000, 5), 0u);
}

// Found by fuzzing: three render targets of 16384 x 16384 in a resource
// script took 3 GiB. Textures share a budget of 64 Mi pixels.
TEST_F(Core, TexturesAndTargetsShareAMemoryBudget) {
    EXPECT_EQ(e.tide->Target_Create(16384, 16384, false), 0u);
    HTARGET a = e.tide->Target_Create(8192, 4096, false);
    HTEXTURE b = e.tide->Texture_Create(8192, 4096);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_EQ(e.tide->Texture_Create(1, 1), 0u);
    EXPECT_TRUE(e.LogHas("Can't create texture of 1 x 1 pixels"));
    e.tide->Target_Free(a);
    HTEXTURE c = e.tide->Texture_Create(1, 1);
    EXPECT_NE(c, 0u);
    e.tide->Texture_Free(b);
    e.tide->Texture_Free(c);
}

TEST_F(Core, SoundsArePlayedOnChannelsAndRecorded) {
    e.WriteWav("res/ping.wav");
    e.WriteFile("res/noise.ogg", "this is no sound");
    HEFFECT fx = e.tide->Effect_Load("Res\\PING.wav", 0);
    ASSERT_NE(fx, 0u);
    EXPECT_EQ(e.tide->Effect_Load("res\\noise.ogg", 0), 0u);
    EXPECT_TRUE(e.LogHas("res\\noise.ogg"));
    EXPECT_EQ(e.tide->Stream_Load("res\\nofile.ogg", 0), 0u);
    EXPECT_EQ(e.tide->Stream_Play(0, true, 50), 0u); // handle 0 plays nothing

    HSTREAM st = e.tide->Stream_Load("res\\ping.wav", 0);
    HCHANNEL ch = e.tide->Stream_Play(st, true, 40);
    ASSERT_NE(ch, 0u);
    EXPECT_TRUE(e.tide->Channel_IsPlaying(ch));
    e.tide->Channel_SetVolume(ch, 130);
    EXPECT_EQ(e.hl->ChannelVolume(ch), 100);
    e.tide->Effect_Play(fx);
    e.tide->Channel_Stop(ch);
    EXPECT_FALSE(e.tide->Channel_IsPlaying(ch));
    EXPECT_EQ(e.hl->ChannelVolume(ch), -1);

    const auto& s = e.hl->Sounds();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].kind, TIDE_SND_STREAM);
    EXPECT_EQ(s[0].volume, 40);
    EXPECT_TRUE(s[0].loop);
    EXPECT_EQ(s[0].name, "res\\ping.wav");
    EXPECT_EQ(s[1].kind, TIDE_SND_VOLUME);
    EXPECT_EQ(s[1].volume, 100);
    EXPECT_EQ(s[2].kind, TIDE_SND_EFFECT);
    EXPECT_EQ(s[2].handle, fx);
    EXPECT_EQ(s[3].kind, TIDE_SND_STOP);
    EXPECT_EQ(s[3].channel, ch);
}

TEST_F(Core, LogLinesAreRecordedAndWrittenToTheLogFile) {
    std::string logPath = e.Path("test-log.txt");
    e.tide->System_SetState(TIDE_LOGFILE, logPath.c_str());
    e.tide->System_Log("change music volume: %i", 7);
    e.tide->System_Log("%s", std::string(3000, 'x').c_str()); // longer than any fixed buffer
    ASSERT_GE(e.hl->Log().size(), 2u);
    EXPECT_EQ(e.hl->Log()[e.hl->Log().size() - 2], "change music volume: 7");
    EXPECT_EQ(e.hl->Log().back().size(), 3000u);
    e.tide->System_SetState(TIDE_LOGFILE, (const char*)nullptr); // closes the file
    EXPECT_EQ(e.ReadFile("test-log.txt").substr(0, 23), "change music volume: 7\n");
}

TEST(Engine, IsOneSharedReferenceCountedInstance) {
    Tide* a = tideCreate(TIDE_VERSION);
    Tide* b = tideCreate(TIDE_VERSION);
    EXPECT_EQ(a, b);
    EXPECT_EQ(tideCreate(0x100), nullptr);
    b->Release();
    a->Release();
    EXPECT_EQ(tideGetHeadless(), nullptr);
}

}  // namespace
