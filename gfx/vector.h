// tideVector: a 2D float vector.
#pragma once

// Fast approximate 1/sqrt(x): one Newton step, with -0.4999 rather than -0.5.
float tideInvSqrt(float x);

class tideVector {
public:
    float x, y;

    tideVector() : x(0), y(0) {}
    tideVector(float _x, float _y) : x(_x), y(_y) {}

    tideVector operator-() const { return tideVector(-x, -y); }
    tideVector operator-(const tideVector& v) const { return tideVector(x - v.x, y - v.y); }
    tideVector operator+(const tideVector& v) const { return tideVector(x + v.x, y + v.y); }
    tideVector& operator-=(const tideVector& v) { x -= v.x; y -= v.y; return *this; }
    tideVector& operator+=(const tideVector& v) { x += v.x; y += v.y; return *this; }
    bool operator==(const tideVector& v) const { return x == v.x && y == v.y; }
    bool operator!=(const tideVector& v) const { return !(*this == v); }

    tideVector operator/(float s) const { return tideVector(x / s, y / s); }
    tideVector operator*(float s) const { return tideVector(x * s, y * s); }
    tideVector& operator*=(float s) { x *= s; y *= s; return *this; }

    float Dot(const tideVector* v) const { return x * v->x + y * v->y; }
    float Dot(const tideVector& v) const { return Dot(&v); }
    float Length() const;
    // Without a vector: atan2(y, x), -pi..pi. With one: the unsigned angle
    // between the two, 0..pi.
    float Angle(const tideVector* v = nullptr) const;

    tideVector* Normalize(); // a zero vector stays zero
    tideVector* Rotate(float a);
};

inline tideVector operator*(float s, const tideVector& v) { return v * s; }
