// The generated sounds and music as a player hears them: decoded from the
// shipped files, checked for length, level, clicks and the loop seam.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/assets/shipped_data.h"

namespace {

struct Pcm {
    int rate = 0, channels = 0;
    std::vector<float> samples;  // interleaved, -1..1
    double seconds() const { return channels ? double(samples.size()) / channels / rate : 0; }
};

std::vector<char> Bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A 16-bit PCM WAV with the canonical 44-byte header, as the generator writes.
bool ReadWav(const std::string& path, Pcm& out) {
    std::vector<char> b = Bytes(path);
    auto u16 = [&](size_t at) {
        return unsigned(uint8_t(b[at])) | unsigned(uint8_t(b[at + 1])) << 8;
    };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4) ||
        std::memcmp(b.data() + 36, "data", 4) || u16(20) != 1 || u16(34) != 16)
        return false;
    if (u32(4) != b.size() - 8 || u32(40) != b.size() - 44) return false;
    out.channels = int(u16(22));
    out.rate = int(u32(24));
    for (size_t i = 44; i + 1 < b.size(); i += 2) out.samples.push_back(int16_t(u16(i)) / 32768.0f);
    return true;
}

bool ReadOgg(const std::string& path, Pcm& out) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return false;
    vorbis_info* vi = ov_info(&vf, -1);
    out.rate = int(vi->rate);
    out.channels = vi->channels;
    for (;;) {
        float** pcm;
        int section;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n <= 0) break;
        for (long i = 0; i < n; i++)
            for (int c = 0; c < out.channels; c++) out.samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return true;
}

float Peak(const Pcm& p) {
    float m = 0;
    for (float v : p.samples) m = std::max(m, std::fabs(v));
    return m;
}

const char* const EFFECTS[] = {"button_over",  "aquasnd_move", "aqua_attack",  "torpman_attack",
                               "batisnd_move", "bati_attack",  "mobssnd_move", "paul_attack",
                               "shark_attack", "medu_attack"};

TEST(GeneratedAudio, EffectsAreShortSoftEdgedAndDistinct) {
    std::set<std::vector<float>> seen;
    for (const char* name : EFFECTS) {
        SCOPED_TRACE(name);
        Pcm p;
        ASSERT_TRUE(ReadWav(ShippedDataDir() + "/res/" + name + ".wav", p));
        EXPECT_EQ(p.channels, 1);
        EXPECT_GE(p.seconds(), 0.05);
        EXPECT_LE(p.seconds(), 1.5);
        float peak = Peak(p);
        EXPECT_GT(peak, 0.3f) << "too quiet to hear";
        EXPECT_LT(peak, 0.95f) << "clipping";
        // No click at either end.
        EXPECT_LT(std::fabs(p.samples.front()), 0.01f);
        EXPECT_LT(std::fabs(p.samples.back()), 0.01f);
        EXPECT_TRUE(seen.insert(p.samples).second) << "same as another effect";
    }
}

TEST(GeneratedAudio, MusicLoopsForHalfAMinuteOrSoWithoutAClick) {
    for (const char* name : {"main_theme", "game_music"}) {
        SCOPED_TRACE(name);
        Pcm p;
        ASSERT_TRUE(ReadOgg(ShippedDataDir() + "/res/" + std::string(name) + ".ogg", p));
        ASSERT_EQ(p.channels, 2);
        EXPECT_GE(p.seconds(), 30.0);
        EXPECT_LE(p.seconds(), 60.0);
        EXPECT_LT(Peak(p), 0.99f);
        // The step from the last frame to the first must be no bigger than the
        // music's ordinary steps from one frame to the next.
        std::vector<float> steps;
        size_t frames = p.samples.size() / 2;
        for (size_t i = 1; i < frames; i++)
            steps.push_back(std::fabs(p.samples[i * 2] - p.samples[(i - 1) * 2]));
        std::sort(steps.begin(), steps.end());
        float typical = steps[steps.size() * 999 / 1000];
        for (int c = 0; c < 2; c++) {
            float seam = std::fabs(p.samples[size_t(c)] - p.samples[(frames - 1) * 2 + c]);
            EXPECT_LE(seam, typical) << "channel " << c;
        }
        // And the ends are not silent: the piece plays through the seam.
        float edge = 0;
        for (size_t i = 0; i < 4410; i++) edge = std::max(edge, std::fabs(p.samples[i]));
        EXPECT_GT(edge, 0.02f);
    }
}

}  // namespace
