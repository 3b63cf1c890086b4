// tideColorRGB: a float color, channels nominally 0..1.
#pragma once

#include "engine/tide.h"

class tideColorRGB {
public:
    float r, g, b, a;

    tideColorRGB() : r(0), g(0), b(0), a(0) {}
    tideColorRGB(float _r, float _g, float _b, float _a) : r(_r), g(_g), b(_b), a(_a) {}
    explicit tideColorRGB(DWORD col) { SetHWColor(col); }

    tideColorRGB operator-(const tideColorRGB& c) const {
        return tideColorRGB(r - c.r, g - c.g, b - c.b, a - c.a);
    }
    tideColorRGB operator+(const tideColorRGB& c) const {
        return tideColorRGB(r + c.r, g + c.g, b + c.b, a + c.a);
    }
    tideColorRGB& operator-=(const tideColorRGB& c) {
        r -= c.r; g -= c.g; b -= c.b; a -= c.a;
        return *this;
    }
    tideColorRGB& operator+=(const tideColorRGB& c) {
        r += c.r; g += c.g; b += c.b; a += c.a;
        return *this;
    }
    bool operator==(const tideColorRGB& c) const {
        return r == c.r && g == c.g && b == c.b && a == c.a;
    }
    bool operator!=(const tideColorRGB& c) const { return !(*this == c); }

    tideColorRGB operator*(float s) const { return tideColorRGB(r * s, g * s, b * s, a * s); }
    tideColorRGB& operator*=(float s) {
        r *= s; g *= s; b *= s; a *= s;
        return *this;
    }

    void SetHWColor(DWORD col);
    // Packed ARGB; channels are not clamped, each product is truncated first.
    DWORD GetHWColor() const;
};

inline tideColorRGB operator*(float s, const tideColorRGB& c) { return c * s; }
