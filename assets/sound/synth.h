// A small additive/subtractive synthesizer for the game's sounds and music.
// Everything renders into a Track of float samples; a looping track wraps
// notes, noise and echoes that run past its end around to its start, so the
// loop point is seamless.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace synth {

enum class Wave { Sine, Triangle, Square, Saw };

// One period of `w` at `phase` (in cycles), soft-edged so it never buzzes.
double waveAt(Wave w, double phase);
// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double noteHz(double midi);

class Track {
public:
    Track(int rate, double seconds, int channels, bool loop);
    Track(int rate, long frames, int channels, bool loop);

    int rate() const { return sampleRate; }
    int channels() const { return chans; }
    long frames() const { return long(samples.size()) / chans; }
    bool looping() const { return loop; }
    std::vector<float>& data() { return samples; }
    const std::vector<float>& data() const { return samples; }

    // Adds to one frame; `pan` -1 (left) .. 1 (right) on stereo tracks.
    void add(long frame, double value, double pan = 0);

private:
    int sampleRate, chans;
    bool loop;
    std::vector<float> samples;  // interleaved
};

struct Tone {
    double freq = 440;
    double freqEnd = 0;  // glide target (0: none), exponential
    double duration = 0.2;
    double amp = 0.5;
    Wave wave = Wave::Sine;
    double attack = 0.005, release = 0.05;
    double decay = 0;                        // exponential decay rate per second after the attack
    double vibratoDepth = 0, vibratoHz = 5;  // depth in semitones
    double tremoloDepth = 0, tremoloHz = 8;
    double fmRatio = 0, fmIndex = 0;  // frequency modulation (0: none)
    double pan = 0;
    std::vector<std::pair<double, double>> partials{};  // (ratio, gain); empty: the fundamental alone
};

struct Noise {
    double duration = 0.2;
    double amp = 0.3;
    double attack = 0.005, release = 0.05, decay = 0;
    double cutoff = 2000, cutoffEnd = 0;  // band centre in Hz and its glide target
    double resonance = 0.7;               // 0.1 (sharp) .. 1.4 (broad)
    double pan = 0;
    uint64_t seed = 1;
};

void play(Track& t, double start, const Tone& tone);
void play(Track& t, double start, const Noise& noise);

// In-place filters and level tools.
void lowpass(Track& t, double hz);
void highpass(Track& t, double hz);
void echo(Track& t, double delay, double feedback, double wet);
void normalize(Track& t, double peak);
void fadeEdges(Track& t, double seconds);

}  // namespace synth
