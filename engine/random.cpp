#include "engine/random.h"

void tideRandom::Seed(uint32_t seed) {
    // splitmix32 step: spreads nearby seeds (consecutive clock values) apart.
    uint32_t z = seed + 0x9E3779B9u;
    z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
    z = (z ^ (z >> 13)) * 0xC2B2AE35u;
    z ^= z >> 16;
    state = z ? z : 0x9E3779B9u; // xorshift must never hold 0
}

uint32_t tideRandom::Next() {
    uint32_t x = state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state = x;
    return x;
}

int tideRandom::Int(int min, int max) {
    if (max < min) {
        int t = min;
        min = max;
        max = t;
    }
    uint64_t span = uint64_t(int64_t(max) - int64_t(min)) + 1;
    return int(int64_t(min) + int64_t(Next() % span));
}

float tideRandom::Float(float min, float max) {
    // 24 random bits give every float step of [0, 1] evenly.
    float unit = float(Next() >> 8) * (1.0f / 16777215.0f);
    return min + (max - min) * unit;
}
