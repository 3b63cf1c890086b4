// Writes the two looping music streams as Ogg Vorbis:
//   make_music <res folder>
// main_theme.ogg: a sunny C major piece for the menus (16 bars at 96 BPM, 40 s);
// game_music.ogg: a driving A minor piece for battles (24 bars at 112 BPM, 51 s).
// Both render into looping tracks, so notes, echoes and filters that run
// past the end continue at the start and the loop point has no click.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/common/rng.h"
#include "assets/sound/audio_file.h"
#include "assets/sound/synth.h"

using namespace synth;

namespace {

const int RATE = 44100;
const int HOLD = -1;  // melody step: keep the previous note sounding
const int REST = 0;

using Chord = std::vector<int>;  // MIDI notes, root first

struct Song {
    double bpm;
    std::vector<Chord> bars;               // one chord per bar
    std::vector<std::vector<int>> melody;  // eight steps per bar, from `melodyFrom`
    int melodyFrom;
    bool driving;  // battle groove: 16th arpeggios, drums
    int serial;
};

double beat(const Song& s) {
    return 60.0 / s.bpm;
}

void pad(Track& t, double start, double dur, const Chord& c, double amp) {
    for (size_t i = 0; i < c.size(); i++)
        for (int v = -1; v <= 1; v++) {  // three slightly detuned voices
            play(t, start,
                 Tone{.freq = noteHz(c[i] + v * 0.08),
                      .duration = dur + 0.6,
                      .amp = amp / 3,
                      .wave = Wave::Triangle,
                      .attack = 0.35,
                      .release = 0.6,
                      .pan = v * 0.5});
        }
}

void pluck(Track& t, double start, int midi, double amp, double pan) {
    // Marimba-like: a woody fundamental and a fast-fading overtone
    play(t, start,
         Tone{.freq = noteHz(midi),
              .duration = 0.5,
              .amp = amp,
              .attack = 0.002,
              .release = 0.1,
              .decay = 9,
              .pan = pan,
              .partials = {{1, 1}, {4, 0.25}, {10, 0.05}}});
}

void bass(Track& t, double start, int midi, double dur, double amp) {
    play(t, start,
         Tone{.freq = noteHz(midi),
              .duration = dur,
              .amp = amp,
              .attack = 0.01,
              .release = 0.06,
              .decay = 2.5,
              .partials = {{1, 1}, {2, 0.3}, {3, 0.08}}});
}

void bell(Track& t, double start, int midi, double dur, double amp) {
    play(t, start,
         Tone{.freq = noteHz(midi),
              .duration = dur + 0.25,
              .amp = amp,
              .attack = 0.02,
              .release = 0.25,
              .decay = 1.2,
              .vibratoDepth = 0.12,
              .vibratoHz = 5.5,
              .pan = 0.15,
              .partials = {{1, 1}, {2, 0.3}, {3, 0.1}}});
}

void kick(Track& t, double start, double amp) {
    play(t, start, Tone{.freq = 95, .freqEnd = 42, .duration = 0.3, .amp = amp, .decay = 11});
}

void shaker(Track& t, double start, double amp, uint64_t seed) {
    play(t, start,
         Noise{.duration = 0.06,
               .amp = amp,
               .attack = 0.01,
               .decay = 45,
               .cutoff = 7000,
               .resonance = 0.8,
               .pan = 0.3,
               .seed = seed});
}

void snare(Track& t, double start, double amp, uint64_t seed) {
    play(t, start,
         Noise{.duration = 0.16,
               .amp = amp,
               .decay = 22,
               .cutoff = 1900,
               .resonance = 1.1,
               .pan = -0.1,
               .seed = seed});
    play(t, start,
         Tone{.freq = 190, .freqEnd = 150, .duration = 0.1, .amp = amp * 0.6, .decay = 30});
}

void render(const Song& s, Track& t) {
    double b = beat(s);
    double bar = 4 * b;
    uint64_t seed = 1;
    for (size_t i = 0; i < s.bars.size(); i++) {
        const Chord& c = s.bars[i];
        double t0 = i * bar;
        pad(t, t0, bar, c, s.driving ? 0.08 : 0.11);
        // Arpeggio over the chord an octave up.
        const int pattern[] = {0, 2, 1, 2, 3, 2, 1, 2};
        int steps = s.driving ? 16 : 8;
        for (int k = 0; k < steps; k++) {
            int idx = pattern[k % 8];
            int note = idx == 3 ? c[0] + 24 : c[size_t(idx)] + 12;
            double accent = k % 4 == 0 ? 1.0 : 0.7;
            pluck(t, t0 + k * bar / steps, note, (s.driving ? 0.12 : 0.16) * accent,
                  (k % 2 ? 0.35 : -0.35));
        }
        // Bass: the root on every beat (eighths with octave jumps in battle).
        int root = c[0] - 24;
        if (s.driving) {
            for (int k = 0; k < 8; k++)
                bass(t, t0 + k * b / 2, root + (k % 2 ? 12 : 0), b / 2, 0.28);
        } else {
            for (int k = 0; k < 4; k++) bass(t, t0 + k * b, k == 2 ? root + 7 : root, b, 0.3);
        }
        // Percussion.
        for (int k = 0; k < (s.driving ? 16 : 8); k++) {
            double at = t0 + k * bar / (s.driving ? 16 : 8);
            if (i >= 4 || s.driving) shaker(t, at, k % 2 ? 0.05 : 0.08, seed++);
        }
        if (s.driving) {
            kick(t, t0, 0.55);
            kick(t, t0 + 2 * b, 0.55);
            if (i >= 4) {
                snare(t, t0 + b, 0.2, seed++);
                snare(t, t0 + 3 * b, 0.2, seed++);
            }
        } else if (i >= 12) {
            kick(t, t0, 0.35);
        }
    }
    // Melody in eighth notes; HOLD lengthens the sounding note.
    for (size_t m = 0; m < s.melody.size(); m++) {
        const std::vector<int>& steps = s.melody[m];
        double t0 = (s.melodyFrom + m) * 4 * b;
        for (size_t k = 0; k < steps.size(); k++) {
            if (steps[k] <= REST) continue;
            size_t len = 1;
            while (k + len < steps.size() && steps[k + len] == HOLD) len++;
            bell(t, t0 + k * b / 2, steps[k], len * b / 2, 0.2);
        }
    }
}

bool writeSong(const std::string& path, const Song& s) {
    long frames = std::lround(double(s.bars.size()) * 4 * 60.0 * RATE / s.bpm);
    Track t(RATE, frames, 2, true);
    render(s, t);
    echo(t, beat(s) * 0.75, 0.3, 0.22);
    lowpass(t, 9000);
    highpass(t, 25);
    normalize(t, 0.8);
    return audio::writeOgg(path, t, 0.3f, s.serial);
}

const Chord C = {60, 64, 67}, Am = {57, 60, 64}, F = {53, 57, 60}, G = {55, 59, 62},
            Em = {52, 55, 59}, Dm = {50, 53, 57}, E = {52, 56, 59};

Song mainTheme() {
    Song s;
    s.bpm = 96;
    s.bars = {C, Am, F, G, C, Am, F, G, F, G, Em, Am, Dm, F, G, G};
    s.melodyFrom = 4;
    const int H = HOLD;
    s.melody = {
        {76, H, 79, H, 81, 79, 76, H}, {84, H, 83, 81, 79, H, 76, H}, {77, H, 81, H, 84, H, 81, 79},
        {79, H, H, H, 74, H, H, H},    {81, H, 79, 77, 76, H, 77, H}, {79, H, 83, H, 86, H, 83, H},
        {83, H, 79, H, 76, H, 79, H},  {81, H, H, H, 84, H, 88, H},   {86, H, 84, 81, 77, H, 81, H},
        {84, H, 81, H, 77, H, 72, H},  {74, H, 79, H, 83, H, 86, H},  {86, H, H, H, H, H, H, H},
    };
    s.driving = false;
    s.serial = 0x54484D31;
    return s;
}

Song gameMusic() {
    Song s;
    s.bpm = 112;
    s.bars = {Am, Am, F, G, Am, Am, F, E, Dm, F, C, G, Am, F, G, E, F, G, Am, Am, Dm, E, Am, E};
    s.melodyFrom = 8;
    const int H = HOLD;
    s.melody = {
        {74, H, 77, H, 81, H, 77, 74}, {72, H, 77, H, 81, H, 84, H},  {76, H, 79, H, 84, H, 79, 76},
        {74, H, H, 71, 74, H, 79, H},  {81, H, H, H, 76, H, 81, H},   {84, H, 81, H, 77, H, 81, H},
        {83, H, 79, H, 74, H, 79, 83}, {80, H, H, H, 83, H, H, H},    {81, H, 84, H, 81, H, 77, H},
        {83, H, 86, H, 83, H, 79, H},  {84, H, 83, 81, 76, H, 81, H}, {81, H, H, H, H, H, H, H},
        {77, H, 76, 74, 81, H, H, H},  {80, H, 83, H, 88, H, 86, H},  {84, H, 83, H, 81, H, 76, H},
        {76, H, H, H, 80, H, 83, H},
    };
    s.driving = true;
    s.serial = 0x54484D32;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_music <res folder> main_theme|game_music\n");
        return 2;
    }
    std::string dir = argv[1], which = argv[2];
    if (which == "main_theme") return writeSong(dir + "/main_theme.ogg", mainTheme()) ? 0 : 1;
    if (which == "game_music") return writeSong(dir + "/game_music.ogg", gameMusic()) ? 0 : 1;
    std::fprintf(stderr, "unknown piece %s\n", which.c_str());
    return 2;
}
