// The engine's random number generator: a small, fast, fully reproducible
// generator (xorshift32 with a splitmix seeding step), independent of the C
// library so that a seed gives the same sequence on every platform.
#pragma once

#include <cstdint>

class tideRandom {
public:
    void Seed(uint32_t seed);
    uint32_t Next();
    int Int(int min, int max);         // both ends included
    float Float(float min, float max); // min + (max - min) * [0, 1]

    // The whole generator, to keep it elsewhere and go on from it later.
    uint32_t GetState() const { return state; }
    void SetState(uint32_t s) { state = s ? s : 0x9E3779B9u; }

private:
    uint32_t state = 0x9E3779B9u;
};
