// Deterministic random numbers for generated assets. The standard library's
// distributions differ between implementations, so values are derived from
// the raw bits of a fixed-seed SplitMix64 generator instead.
#pragma once

#include <cstdint>

namespace gen {

class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}

    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), 53 bits.
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    // Uniform integer in [lo, hi].
    int integer(int lo, int hi) { return lo + int(next() % uint64_t(hi - lo + 1)); }
    // Uniform in [-1, 1).
    double signedUnit() { return unit() * 2.0 - 1.0; }

private:
    uint64_t state;
};

}  // namespace gen
