#include "gfx/rect.h"

#include <cmath>

void tideRect::Set(float _x1, float _y1, float _x2, float _y2) {
    x1 = _x1;
    y1 = _y1;
    x2 = _x2;
    y2 = _y2;
    bClean = false;
}

void tideRect::Encapsulate(float x, float y) {
    if (bClean) {
        x1 = x2 = x;
        y1 = y2 = y;
        bClean = false;
        return;
    }
    if (x < x1) x1 = x;
    if (x > x2) x2 = x;
    if (y < y1) y1 = y;
    if (y > y2) y2 = y;
}

bool tideRect::TestPoint(float x, float y) const {
    return x >= x1 && x < x2 && y >= y1 && y < y2;
}

bool tideRect::Intersect(const tideRect* rect) const {
    // Compares centre distances with summed extents (both doubled).
    return std::fabs(x1 + x2 - rect->x1 - rect->x2) < (x2 - x1 + rect->x2 - rect->x1) &&
           std::fabs(y1 + y2 - rect->y1 - rect->y2) < (y2 - y1 + rect->y2 - rect->y1);
}
