// tideRect: an axis-aligned rectangle that can also grow around points.
#pragma once

class tideRect {
public:
    float x1, y1, x2, y2;
    bool bClean; // true: holds no point yet

    tideRect() : x1(0), y1(0), x2(0), y2(0), bClean(true) {}
    tideRect(float _x1, float _y1, float _x2, float _y2)
        : x1(_x1), y1(_y1), x2(_x2), y2(_y2), bClean(false) {}

    void Clear() { bClean = true; }
    bool IsClean() const { return bClean; }
    void Set(float _x1, float _y1, float _x2, float _y2);
    void Encapsulate(float x, float y);
    bool TestPoint(float x, float y) const; // right and bottom edges are outside
    bool Intersect(const tideRect* rect) const; // touching edges do not count
};
