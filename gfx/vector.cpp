#include "gfx/vector.h"

#include <cmath>
#include <cstdint>
#include <cstring>

float tideInvSqrt(float x) {
    int32_t i;
    std::memcpy(&i, &x, sizeof i);
    i = 0x5F3759DF - (i >> 1);
    float y;
    std::memcpy(&y, &i, sizeof y);
    return y * (1.5f + (x * -0.4999f) * y * y);
}

float tideVector::Length() const { return std::sqrt(Dot(this)); }

float tideVector::Angle(const tideVector* v) const {
    if (!v) return std::atan2(y, x);
    tideVector s = *this, t = *v;
    s.Normalize();
    t.Normalize();
    // The approximate normalisation can push the product just past +-1.
    float d = s.Dot(&t);
    if (d > 1.0f) d = 1.0f;
    if (d < -1.0f) d = -1.0f;
    return std::acos(d);
}

tideVector* tideVector::Normalize() {
    float d = Dot(this);
    if (d != 0.0f) {
        float k = tideInvSqrt(d);
        x *= k;
        y *= k;
    }
    return this;
}

tideVector* tideVector::Rotate(float a) {
    float c = std::cos(a), s = std::sin(a);
    float nx = x * c - y * s;
    float ny = x * s + y * c;
    x = nx;
    y = ny;
    return this;
}
