#include "assets/sound/synth.h"

#include <algorithm>
#include <cmath>

#include "assets/common/rng.h"

namespace synth {

namespace {
const double TAU = 2 * M_PI;

// Attack-release envelope with an optional exponential decay.
double envelope(double t, double dur, double attack, double release, double decay) {
    if (t < 0 || t >= dur) return 0;
    double e = attack > 0 && t < attack ? t / attack : 1.0;
    if (decay > 0 && t > attack) e *= std::exp(-(t - attack) * decay);
    if (release > 0 && t > dur - release) e *= (dur - t) / release;
    return e;
}

double glide(double from, double to, double f) {
    return to > 0 ? from * std::pow(to / from, f) : from;
}

// Runs a one-pole filter over each channel; a looping track is filtered twice
// around so the filter state at the start matches the end.
template <typename Step>
void perChannel(Track& t, Step step) {
    auto& s = t.data();
    int ch = t.channels();
    long n = t.frames();
    for (int c = 0; c < ch; c++) {
        double state = 0;
        int passes = t.looping() ? 2 : 1;
        for (int p = 0; p < passes; p++)
            for (long i = 0; i < n; i++) {
                float& v = s[size_t(i) * ch + c];
                double out = step(state, v);
                if (p == passes - 1) v = float(out);
            }
    }
}
}  // namespace

double waveAt(Wave w, double phase) {
    double p = phase - std::floor(phase);
    switch (w) {
        case Wave::Sine:
            return std::sin(p * TAU);
        case Wave::Triangle:
            return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
        case Wave::Square:
            // A few odd harmonics only: round, not buzzy.
            return (std::sin(p * TAU) + std::sin(3 * p * TAU) / 3 + std::sin(5 * p * TAU) / 5) *
                   0.9;
        case Wave::Saw:
            return (std::sin(p * TAU) - std::sin(2 * p * TAU) / 2 + std::sin(3 * p * TAU) / 3 -
                    std::sin(4 * p * TAU) / 4) *
                   0.6;
    }
    return 0;
}

double noteHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Track::Track(int rate, double seconds, int channels, bool looping)
    : Track(rate, long(std::lround(seconds * rate)), channels, looping) {}

Track::Track(int rate, long frames, int channels, bool looping)
    : sampleRate(rate), chans(channels), loop(looping), samples(size_t(frames) * channels, 0.0f) {}

void Track::add(long frame, double value, double pan) {
    long n = frames();
    if (loop) {
        frame %= n;
        if (frame < 0) frame += n;
    } else if (frame < 0 || frame >= n) {
        return;
    }
    if (chans == 1) {
        samples[size_t(frame)] += float(value);
        return;
    }
    // Constant-power pan.
    double a = (pan + 1) * M_PI / 4;
    samples[size_t(frame) * 2] += float(value * std::cos(a));
    samples[size_t(frame) * 2 + 1] += float(value * std::sin(a));
}

void play(Track& t, double start, const Tone& tone) {
    long first = long(std::lround(start * t.rate()));
    long count = long(tone.duration * t.rate());
    double phase = 0, modPhase = 0;
    for (long i = 0; i < count; i++) {
        double time = double(i) / t.rate();
        double f = glide(tone.freq, tone.freqEnd, time / tone.duration);
        if (tone.vibratoDepth > 0)
            f *= std::pow(2.0, tone.vibratoDepth * std::sin(time * tone.vibratoHz * TAU) / 12.0);
        double fmod = 0;
        if (tone.fmRatio > 0) {
            modPhase += f * tone.fmRatio / t.rate();
            fmod = tone.fmIndex * std::sin(modPhase * TAU);
        }
        phase += f / t.rate();
        double v = 0;
        if (tone.partials.empty()) v = waveAt(tone.wave, phase + fmod / TAU);
        for (const auto& [ratio, gain] : tone.partials)
            v += gain * waveAt(tone.wave, phase * ratio + fmod / TAU);
        double env = envelope(time, tone.duration, tone.attack, tone.release, tone.decay);
        if (tone.tremoloDepth > 0)
            env *= 1 - tone.tremoloDepth * (0.5 + 0.5 * std::sin(time * tone.tremoloHz * TAU));
        t.add(first + i, v * env * tone.amp, tone.pan);
    }
}

void play(Track& t, double start, const Noise& n) {
    gen::Rng rng(n.seed);
    long first = long(std::lround(start * t.rate()));
    long count = long(n.duration * t.rate());
    // State-variable band-pass filter over white noise.
    double low = 0, band = 0;
    for (long i = 0; i < count; i++) {
        double time = double(i) / t.rate();
        double fc = std::min(glide(n.cutoff, n.cutoffEnd, time / n.duration), t.rate() * 0.2);
        double f = 2 * std::sin(M_PI * fc / t.rate());
        double in = rng.signedUnit();
        low += f * band;
        double high = in - low - n.resonance * band;
        band += f * high;
        double env = envelope(time, n.duration, n.attack, n.release, n.decay);
        t.add(first + i, band * env * n.amp, n.pan);
    }
}

void lowpass(Track& t, double hz) {
    double a = 1 - std::exp(-TAU * hz / t.rate());
    perChannel(t, [a](double& state, double in) { return state += a * (in - state); });
}

void highpass(Track& t, double hz) {
    double a = 1 - std::exp(-TAU * hz / t.rate());
    perChannel(t, [a](double& state, double in) {
        state += a * (in - state);
        return in - state;
    });
}

void echo(Track& t, double delay, double feedback, double wet) {
    auto& s = t.data();
    int ch = t.channels();
    long n = t.frames();
    long d = long(std::lround(delay * t.rate()));
    if (d <= 0 || d >= n) return;
    std::vector<float> line(s.size(), 0.0f);
    // Enough passes for the feedback tail to settle around a loop.
    int passes = t.looping() ? 4 : 1;
    for (int p = 0; p < passes; p++)
        for (long i = 0; i < n; i++) {
            long j = i - d;
            if (j < 0 && !t.looping()) continue;
            j = (j + n) % n;
            for (int c = 0; c < ch; c++) {
                // Stereo echoes swap sides for a gentle ping-pong.
                int from = ch == 2 ? 1 - c : c;
                line[size_t(i) * ch + c] =
                    float(s[size_t(j) * ch + from] + feedback * line[size_t(j) * ch + from]);
            }
        }
    for (size_t i = 0; i < s.size(); i++) s[i] += float(wet * line[i]);
}

void normalize(Track& t, double peak) {
    float m = 0;
    for (float v : t.data()) m = std::max(m, std::fabs(v));
    if (m <= 0) return;
    for (float& v : t.data()) v = float(v * peak / m);
}

void fadeEdges(Track& t, double seconds) {
    long k = std::max(1L, long(seconds * t.rate()));
    long n = t.frames();
    int ch = t.channels();
    for (long i = 0; i < std::min(k, n); i++) {
        double g = double(i) / k;
        for (int c = 0; c < ch; c++) {
            t.data()[size_t(i) * ch + c] *= float(g);
            t.data()[size_t(n - 1 - i) * ch + c] *= float(g);
        }
    }
}

}  // namespace synth
