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
        Tone b;
        b.freq = rng.range(500, 900);
        b.freqEnd = b.freq * rng.range(1.6, 2.4);
        b.duration = rng.range(0.03, 0.06);
        b.amp = amp * rng.range(0.6, 1.0);
        b.attack = 0.004;
        b.release = 0.02;
        play(t, start + rng.range(0, span), b);
    }
}

void buttonOver(Track& t) {
    Tone blip;
    blip.freq = 520;
    blip.freqEnd = 880;
    blip.duration = 0.12;
    blip.amp = 0.6;
    blip.decay = 18;
    blip.partials = {{1, 1}, {2, 0.25}};
    play(t, 0, blip);
    bubbles(t, 0.03, 0.05, 2, 0.2, 11);
}

void aquaMove(Track& t) {
    Noise swish;
    swish.duration = 0.55;
    swish.amp = 0.5;
    swish.attack = 0.18;
    swish.release = 0.3;
    swish.cutoff = 500;
    swish.cutoffEnd = 1400;
    swish.resonance = 1.0;
    play(t, 0, swish);
    bubbles(t, 0.05, 0.45, 7, 0.35, 21);
}

void aquaAttack(Track& t) {
    Noise air;
    air.duration = 0.08;
    air.amp = 0.45;
    air.decay = 30;
    air.cutoff = 3000;
    air.cutoffEnd = 900;
    play(t, 0, air);
    Tone twang;
    twang.freq = 1200;
    twang.freqEnd = 320;
    twang.duration = 0.22;
    twang.amp = 0.35;
    twang.wave = Wave::Triangle;
    twang.decay = 12;
    play(t, 0.005, twang);
    Tone thunk;
    thunk.freq = 150;
    thunk.freqEnd = 90;
    thunk.duration = 0.1;
    thunk.amp = 0.5;
    thunk.decay = 25;
    play(t, 0, thunk);
}

void torpAttack(Track& t) {
    Tone thump;
    thump.freq = 170;
    thump.freqEnd = 55;
    thump.duration = 0.25;
    thump.amp = 0.9;
    thump.decay = 14;
    thump.partials = {{1, 1}, {1.5, 0.2}};
    play(t, 0.02, thump);
    Noise smack;
    smack.duration = 0.06;
    smack.amp = 0.6;
    smack.decay = 40;
    smack.cutoff = 1800;
    smack.cutoffEnd = 600;
    smack.resonance = 1.2;
    play(t, 0.02, smack);
    Noise wind;  // the lunge before the hit
    wind.duration = 0.05;
    wind.amp = 0.2;
    wind.attack = 0.04;
    wind.release = 0.01;
    wind.cutoff = 900;
    play(t, 0, wind);
}

void batiMove(Track& t) {
    Tone engine;
    engine.freq = 62;
    engine.duration = 1.0;
    engine.amp = 0.5;
    engine.wave = Wave::Saw;
    engine.attack = 0.2;
    engine.release = 0.35;
    engine.tremoloDepth = 0.5;
    engine.tremoloHz = 11;
    play(t, 0, engine);
    Tone hum = engine;
    hum.freq = 124;
    hum.wave = Wave::Sine;
    hum.amp = 0.25;
    play(t, 0, hum);
    Noise wash;
    wash.duration = 1.0;
    wash.amp = 0.3;
    wash.attack = 0.3;
    wash.release = 0.4;
    wash.cutoff = 350;
    play(t, 0, wash);
    bubbles(t, 0.2, 0.7, 6, 0.25, 31);
}

void batiAttack(Track& t) {
    Tone boom;
    boom.freq = 90;
    boom.freqEnd = 40;
    boom.duration = 0.45;
    boom.amp = 0.8;
    boom.decay = 6;
    play(t, 0, boom);
    Noise rush;
    rush.duration = 0.7;
    rush.amp = 0.5;
    rush.attack = 0.02;
    rush.release = 0.4;
    rush.cutoff = 300;
    rush.cutoffEnd = 2200;
    rush.resonance = 0.9;
    play(t, 0.03, rush);
    bubbles(t, 0.1, 0.5, 9, 0.25, 41);
}

void mobsMove(Track& t) {
    Tone wobble;
    wobble.freq = 170;
    wobble.freqEnd = 120;
    wobble.duration = 0.45;
    wobble.amp = 0.35;
    wobble.wave = Wave::Triangle;
    wobble.attack = 0.06;
    wobble.release = 0.2;
    wobble.vibratoDepth = 2.5;
    wobble.vibratoHz = 9;
    play(t, 0, wobble);
    Noise squish;
    squish.duration = 0.45;
    squish.amp = 0.35;
    squish.attack = 0.1;
    squish.release = 0.25;
    squish.cutoff = 700;
    squish.cutoffEnd = 350;
    squish.resonance = 0.4;
    play(t, 0, squish);
}

void paulAttack(Track& t) {
    Noise slap;
    slap.duration = 0.07;
    slap.amp = 0.8;
    slap.decay = 35;
    slap.cutoff = 1500;
    slap.resonance = 0.6;
    play(t, 0, slap);
    Tone squelch;
    squelch.freq = 320;
    squelch.freqEnd = 110;
    squelch.duration = 0.3;
    squelch.amp = 0.45;
    squelch.decay = 9;
    squelch.fmRatio = 0.5;
    squelch.fmIndex = 2.5;
    play(t, 0.02, squelch);
}

void sharkAttack(Track& t) {
    for (int i = 0; i < 2; i++) {
        Noise clack;
        clack.duration = 0.04;
        clack.amp = 0.7;
        clack.decay = 60;
        clack.cutoff = 2600;
        clack.resonance = 0.5;
        clack.seed = 51 + i;
        play(t, 0.02 + i * 0.13, clack);
        Tone snap;
        snap.freq = 420 - i * 60;
        snap.freqEnd = 160;
        snap.duration = 0.08;
        snap.amp = 0.45;
        snap.decay = 35;
        play(t, 0.02 + i * 0.13, snap);
    }
    Tone growl;
    growl.freq = 85;
    growl.duration = 0.4;
    growl.amp = 0.45;
    growl.wave = Wave::Saw;
    growl.attack = 0.05;
    growl.release = 0.2;
    growl.tremoloDepth = 0.6;
    growl.tremoloHz = 23;
    play(t, 0, growl);
}

void meduAttack(Track& t) {
    Tone zap;
    zap.freq = 620;
    zap.freqEnd = 380;
    zap.duration = 0.4;
    zap.amp = 0.35;
    zap.attack = 0.01;
    zap.release = 0.15;
    zap.fmRatio = 0.06;
    zap.fmIndex = 6;
    zap.tremoloDepth = 0.5;
    zap.tremoloHz = 30;
    play(t, 0, zap);
    Tone sparkle;
    sparkle.freq = 1800;
    sparkle.freqEnd = 2600;
    sparkle.duration = 0.25;
    sparkle.amp = 0.12;
    sparkle.decay = 8;
    play(t, 0.05, sparkle);
    Noise crackle;
    crackle.duration = 0.35;
    crackle.amp = 0.25;
    crackle.decay = 5;
    crackle.cutoff = 3500;
    crackle.resonance = 0.3;
    play(t, 0, crackle);
}

struct Effect {
    const char* name;
    double seconds;
    std::function<void(Track&)> make;
};

}  // namespace

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
