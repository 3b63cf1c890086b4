// Sound through SDL2_mixer. Machines without a sound card fall back to
// SDL's dummy driver, which still mixes in real time.
#include "engine/sdl/sdl_audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "tests/engine_gl/gl_engine.h"
#include "tests/support/test_support.h"

namespace {

// A silent 16-bit mono WAV of the given length.
std::vector<uint8_t> SilentWav(int samples) {
    struct Header {
        char riff[4];
        uint32_t size;
        char wavefmt[8];
        uint32_t fmtSize;
        uint16_t format, channels;
        uint32_t rate, byteRate;
        uint16_t align, bits;
        char data[4];
        uint32_t dataSize;
    } h = {{'R', 'I', 'F', 'F'}, 0, {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '},
           16, 1, 1, 22050, 44100, 2, 16, {'d', 'a', 't', 'a'}, 0};
    static_assert(sizeof(Header) == 44);
    h.dataSize = uint32_t(samples) * 2;
    h.size = 36 + h.dataSize;
    std::vector<uint8_t> bytes(sizeof(h) + h.dataSize, 0);
    std::memcpy(bytes.data(), &h, sizeof(h));
    return bytes;
}

class SdlAudio : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (!audio.Open(22050, &why)) GTEST_SKIP() << "no audio, not even SDL's dummy driver: " << why;
    }
    void TearDown() override { audio.Close(); }
    tideSdlAudio audio;
};

} // namespace

TEST_F(SdlAudio, EffectPlaysOnAMixerChannelUntilStopped) {
    std::vector<uint8_t> wav = SilentWav(22050);
    void* fx = audio.Load(TIDE_SOUND_EFFECT, wav.data(), wav.size());
    ASSERT_NE(fx, nullptr);
    int ch = audio.Play(TIDE_SOUND_EFFECT, fx, true, 50);
    ASSERT_GE(ch, 0);
    EXPECT_TRUE(audio.Playing(ch, TIDE_SOUND_EFFECT));
    audio.SetVolume(ch, TIDE_SOUND_EFFECT, 100);
    audio.Stop(ch, TIDE_SOUND_EFFECT);
    EXPECT_FALSE(audio.Playing(ch, TIDE_SOUND_EFFECT));
    audio.Free(TIDE_SOUND_EFFECT, fx);
}

TEST_F(SdlAudio, ManyEffectsAtOnceAllGetAChannel) {
    std::vector<uint8_t> wav = SilentWav(22050);
    void* fx = audio.Load(TIDE_SOUND_EFFECT, wav.data(), wav.size());
    ASSERT_NE(fx, nullptr);
    for (int i = 0; i < 40; i++) EXPECT_GE(audio.Play(TIDE_SOUND_EFFECT, fx, true, 10), 0) << i;
    audio.Free(TIDE_SOUND_EFFECT, fx); // stops them first
}

TEST_F(SdlAudio, MusicKeepsItsOwnCopyOfTheBytes) {
    std::vector<uint8_t> wav = SilentWav(22050);
    void* mus = audio.Load(TIDE_SOUND_STREAM, wav.data(), wav.size());
    ASSERT_NE(mus, nullptr);
    // The caller's buffer goes away right after loading.
    std::fill(wav.begin(), wav.end(), 0xAB);
    wav.clear();
    wav.shrink_to_fit();
    EXPECT_EQ(audio.Play(TIDE_SOUND_STREAM, mus, true, 80), tideSdlAudio::kMusicChannel);
    EXPECT_TRUE(audio.Playing(tideSdlAudio::kMusicChannel, TIDE_SOUND_STREAM));
    SDL_Delay(30);
    audio.Stop(tideSdlAudio::kMusicChannel, TIDE_SOUND_STREAM);
    EXPECT_FALSE(audio.Playing(tideSdlAudio::kMusicChannel, TIDE_SOUND_STREAM));
    audio.Free(TIDE_SOUND_STREAM, mus);
}

TEST_F(SdlAudio, DataThatIsNoSoundLoadsAsNull) {
    const char junk[] = "this is not a sound file at all, just some text";
    EXPECT_EQ(audio.Load(TIDE_SOUND_EFFECT, junk, sizeof(junk)), nullptr);
    EXPECT_EQ(audio.Load(TIDE_SOUND_MUSIC, junk, sizeof(junk)), nullptr);
    EXPECT_EQ(audio.Load(TIDE_SOUND_EFFECT, nullptr, 0), nullptr);
    std::vector<uint8_t> cut = SilentWav(100);
    cut.resize(30); // header cut short
    EXPECT_EQ(audio.Load(TIDE_SOUND_EFFECT, cut.data(), cut.size()), nullptr);
}

TEST(SdlAudioClosed, EveryCallIsAQuietNoOp) {
    tideSdlAudio audio;
    std::vector<uint8_t> wav = SilentWav(100);
    void* fx = audio.Load(TIDE_SOUND_EFFECT, wav.data(), wav.size());
    EXPECT_NE(fx, nullptr) << "loads succeed so the game carries on";
    EXPECT_EQ(audio.Play(TIDE_SOUND_EFFECT, fx, false, 100), -1);
    EXPECT_FALSE(audio.Playing(0, TIDE_SOUND_EFFECT));
    audio.SetVolume(0, TIDE_SOUND_MUSIC, 50);
    audio.Stop(0, TIDE_SOUND_MUSIC);
    audio.Free(TIDE_SOUND_EFFECT, fx);
}

// The whole road: an engine asked for sound opens a device (or the dummy
// driver) and plays an effect loaded from its data folder.
TEST(SdlAudioEngine, EngineWithSoundPlaysEffects) {
    std::string dir = MakeTempDir();
    std::vector<uint8_t> wav = SilentWav(22050);
    {
        std::FILE* f = std::fopen((dir + "/beep.wav").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(wav.data(), 1, wav.size(), f);
        std::fclose(f);
    }
    std::string why;
    Tide* tide = StartTestEngine(dir, true, true, &why);
    const bool started = tide != nullptr;
    if (started) {
        HEFFECT fx = tide->Effect_Load("beep.wav");
        EXPECT_NE(fx, 0u);
        HCHANNEL ch = tide->Effect_PlayEx(fx, 100, 0, 1.0f, true);
        EXPECT_NE(ch, 0u);
        EXPECT_TRUE(tide->Channel_IsPlaying(ch));
        tide->Channel_Stop(ch);
        EXPECT_FALSE(tide->Channel_IsPlaying(ch));
        tide->System_Shutdown();
        tide->Release();
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    if (!started) GTEST_SKIP() << "no SDL window on this machine: " << why;
}
