// Writes the sound effects as 16-bit mono WAV files:
//   make_sounds <res folder>
// Short, soft-edged and each with its own character, so the player can tell
// by ear who acted.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "assets/common/rng.h"
#include "assets/sound/audio_file.h"
#include "assets/sound/synth.h"

using namespace synth;

namespace {

const int RATE = 22050;

// A burst of small bubbles: quick rising blips at seeded times.
void bubbles(Track& t, double start, double span, int count, double amp, uint64_t seed) {
    gen::Rng rng(seed);
    for (int i = 0; i < count; i++) {
        double f = rng.range(500, 900);
        double rise = rng.range(1.6, 2.4), len = rng.range(0.03, 0.06),
               level = amp * rng.range(0.6, 1.0);
        play(t, start + rng.range(0, span),
             Tone{.freq = f,
                  .freqEnd = f * rise,
                  .duration = len,
                  .amp = level,
                  .attack = 0.004,
                  .release = 0.02});
    }
}

void buttonOver(Track& t) {
    play(t, 0,
         Tone{.freq = 520,
              .freqEnd = 880,
              .duration = 0.12,
              .amp = 0.6,
              .decay = 18,
              .partials = {{1, 1}, {2, 0.25}}});
    bubbles(t, 0.03, 0.05, 2, 0.2, 11);
}

void aquaMove(Track& t) {
    play(t, 0,
         Noise{.duration = 0.55,
               .amp = 0.5,
               .attack = 0.18,
               .release = 0.3,
               .cutoff = 500,
               .cutoffEnd = 1400,
               .resonance = 1.0});
    bubbles(t, 0.05, 0.45, 7, 0.35, 21);
}

void aquaAttack(Track& t) {
    play(t, 0, Noise{.duration = 0.08, .amp = 0.45, .decay = 30, .cutoff = 3000, .cutoffEnd = 900});
    play(t, 0.005,
         Tone{.freq = 1200,
              .freqEnd = 320,
              .duration = 0.22,
              .amp = 0.35,
              .wave = Wave::Triangle,
              .decay = 12});
    play(t, 0, Tone{.freq = 150, .freqEnd = 90, .duration = 0.1, .amp = 0.5, .decay = 25});
}

void torpAttack(Track& t) {
    play(t, 0.02,
         Tone{.freq = 170,
              .freqEnd = 55,
              .duration = 0.25,
              .amp = 0.9,
              .decay = 14,
              .partials = {{1, 1}, {1.5, 0.2}}});
    play(t, 0.02,
         Noise{.duration = 0.06,
               .amp = 0.6,
               .decay = 40,
               .cutoff = 1800,
               .cutoffEnd = 600,
               .resonance = 1.2});
    play(t, 0,
         Noise{.duration = 0.05,
               .amp = 0.2,
               .attack = 0.04,
               .release = 0.01,
               .cutoff = 900});  // the lunge
}

void batiMove(Track& t) {
    Tone engine{.freq = 62,
                .duration = 1.0,
                .amp = 0.5,
                .wave = Wave::Saw,
                .attack = 0.2,
                .release = 0.35,
                .tremoloDepth = 0.5,
                .tremoloHz = 11};
    play(t, 0, engine);
    Tone hum = engine;  // the same throb an octave up
    hum.freq = 124;
    hum.wave = Wave::Sine;
    hum.amp = 0.25;
    play(t, 0, hum);
    play(t, 0, Noise{.duration = 1.0, .amp = 0.3, .attack = 0.3, .release = 0.4, .cutoff = 350});
    bubbles(t, 0.2, 0.7, 6, 0.25, 31);
}

void batiAttack(Track& t) {
    play(t, 0, Tone{.freq = 90, .freqEnd = 40, .duration = 0.45, .amp = 0.8, .decay = 6});
    play(t, 0.03,
         Noise{.duration = 0.7,
               .amp = 0.5,
               .attack = 0.02,
               .release = 0.4,
               .cutoff = 300,
               .cutoffEnd = 2200,
               .resonance = 0.9});
    bubbles(t, 0.1, 0.5, 9, 0.25, 41);
}

void mobsMove(Track& t) {
    play(t, 0,
         Tone{.freq = 170,
              .freqEnd = 120,
              .duration = 0.45,
              .amp = 0.35,
              .wave = Wave::Triangle,
              .attack = 0.06,
              .release = 0.2,
              .vibratoDepth = 2.5,
              .vibratoHz = 9});
    play(t, 0,
         Noise{.duration = 0.45,
               .amp = 0.35,
               .attack = 0.1,
               .release = 0.25,
               .cutoff = 700,
               .cutoffEnd = 350,
               .resonance = 0.4});
}

void paulAttack(Track& t) {
    play(t, 0, Noise{.duration = 0.07, .amp = 0.8, .decay = 35, .cutoff = 1500, .resonance = 0.6});
    play(t, 0.02,
         Tone{.freq = 320,
              .freqEnd = 110,
              .duration = 0.3,
              .amp = 0.45,
              .decay = 9,
              .fmRatio = 0.5,
              .fmIndex = 2.5});
}

void sharkAttack(Track& t) {
    for (int i = 0; i < 2; i++) {
        play(t, 0.02 + i * 0.13,
             Noise{.duration = 0.04,
                   .amp = 0.7,
                   .decay = 60,
                   .cutoff = 2600,
                   .resonance = 0.5,
                   .seed = uint64_t(51 + i)});
        play(t, 0.02 + i * 0.13,
             Tone{.freq = 420.0 - i * 60,
                  .freqEnd = 160,
                  .duration = 0.08,
                  .amp = 0.45,
                  .decay = 35});
    }
    play(t, 0,
         Tone{.freq = 85,
              .duration = 0.4,
              .amp = 0.45,
              .wave = Wave::Saw,
              .attack = 0.05,
              .release = 0.2,
              .tremoloDepth = 0.6,
              .tremoloHz = 23});
}

void meduAttack(Track& t) {
    play(t, 0,
         Tone{.freq = 620,
              .freqEnd = 380,
              .duration = 0.4,
              .amp = 0.35,
              .attack = 0.01,
              .release = 0.15,
              .tremoloDepth = 0.5,
              .tremoloHz = 30,
              .fmRatio = 0.06,
              .fmIndex = 6});
    play(t, 0.05, Tone{.freq = 1800, .freqEnd = 2600, .duration = 0.25, .amp = 0.12, .decay = 8});
    play(t, 0, Noise{.duration = 0.35, .amp = 0.25, .decay = 5, .cutoff = 3500, .resonance = 0.3});
}

struct Effect {
    const char* name;
    double seconds;
    std::function<void(Track&)> make;
};

}  // namespace

// A short fanfare up a major triad, with bubbles fizzing after it.
void victory(Track& t) {
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int i = 0; i < 4; i++)
        play(t, i * 0.12,
             Tone{.freq = notes[i],
                  .duration = i == 3 ? 0.7 : 0.2,
                  .amp = 0.5,
                  .attack = 0.01,
                  .release = i == 3 ? 0.4 : 0.08,
                  .decay = i == 3 ? 2.5 : 6,
                  .vibratoDepth = i == 3 ? 0.15 : 0,
                  .partials = {{1, 1}, {2, 0.35}, {3, 0.15}}});
    bubbles(t, 0.4, 0.6, 9, 0.3, 61);
}

// Three falling notes sinking into a low, muffled hum.
void defeat(Track& t) {
    const double notes[] = {392.0, 329.63, 261.63};
    for (int i = 0; i < 3; i++)
        play(t, i * 0.22,
             Tone{.freq = notes[i],
                  .freqEnd = i == 2 ? notes[i] * 0.85 : 0,
                  .duration = i == 2 ? 0.9 : 0.26,
                  .amp = 0.5,
                  .wave = Wave::Triangle,
                  .attack = 0.02,
                  .release = i == 2 ? 0.5 : 0.1,
                  .decay = i == 2 ? 1.8 : 4});
    play(t, 0.44,
         Noise{.duration = 0.8, .amp = 0.25, .attack = 0.1, .release = 0.5, .cutoff = 300,
               .cutoffEnd = 120, .resonance = 1.0});
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <res folder>\n");
        return 2;
    }
    std::string dir = argv[1];
    const std::vector<Effect> effects = {
        {"button_over", 0.16, buttonOver},   {"aquasnd_move", 0.6, aquaMove},
        {"aqua_attack", 0.3, aquaAttack},    {"torpman_attack", 0.3, torpAttack},
        {"batisnd_move", 1.05, batiMove},    {"bati_attack", 0.8, batiAttack},
        {"mobssnd_move", 0.5, mobsMove},     {"paul_attack", 0.35, paulAttack},
        {"shark_attack", 0.45, sharkAttack}, {"medu_attack", 0.45, meduAttack},
        {"victory", 1.4, victory},           {"defeat", 1.5, defeat},
    };
    bool ok = true;
    for (const Effect& e : effects) {
        Track t(RATE, e.seconds, 1, false);
        e.make(t);
        lowpass(t, 6000);  // takes the edge off every effect
        highpass(t, 35);
        normalize(t, 0.7);
        fadeEdges(t, 0.004);
        ok = audio::writeWav(dir + "/" + e.name + ".wav", t) && ok;
    }
    return ok ? 0 : 1;
}
