#include "game/ai_reach.h"

#include <algorithm>
#include <cmath>

namespace reach {

namespace {

const int kMaxGap = 16;

// Distances by column and row gap, rounded as the rules round them.
struct DistanceTable {
    float d[kMaxGap][kMaxGap];
    DistanceTable() {
        for (int x = 0; x < kMaxGap; ++x)
            for (int y = 0; y < kMaxGap; ++y) d[x][y] = static_cast<float>(std::sqrt(double(x * x + y * y)));
    }
};
const DistanceTable kDistances;

int Gap(int a, int as, int b, int bs) { return std::max({0, b - (a + as - 1), a - (b + bs - 1)}); }

}  // namespace

float BlockDistance(int ax, int ay, int as, int bx, int by, int bs) {
    int gx = Gap(ax, as, bx, bs), gy = Gap(ay, as, by, bs);
    if (gx < kMaxGap && gy < kMaxGap) return kDistances.d[gx][gy];
    return static_cast<float>(std::sqrt(double(gx) * gx + double(gy) * gy));
}

bool StrikesAfterStep(int x, int y, int size, float range, int tx, int ty, int tsize) {
    // One step in any direction grows the block by a cell on every side.
    return BlockDistance(x - 1, y - 1, size + 2, tx, ty, tsize) <= range;
}

}  // namespace reach
